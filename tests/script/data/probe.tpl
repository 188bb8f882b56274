Summe: {summe(3, 4)} {unbekannt()}
