// dbread: the first record of a query through unixODBC, on a read-only connection.
#include <sql.h>
#include <sqlext.h>

#include <filesystem>
#include <string>
#include <vector>

#include "foundation/log.h"
#include "foundation/ole_date.h"
#include "foundation/string_helpers.h"
#include "foundation/text_codec.h"
#include "script/builtins/builtin_frame.h"

namespace galvora::builtins {

namespace {

constexpr int32_t DB_KEIN_EINTRAG = 5;
constexpr int32_t DB_FELDTYP = 6;
// The number a provider failure carries when the driver gives none of its own
// (or one that would read as one of the script's own error codes).
constexpr int32_t DB_ALLGEMEIN = -2147467259;
// A provider that does not exist.
constexpr int32_t DB_PROVIDER_FEHLT = 3706;
// A field value that does not fit its script type.
constexpr int32_t DB_UEBERLAUF = 6;
// Longest text read from one field.
constexpr size_t DB_TEXT_GRENZE = 64u << 20;

// A database failure: the provider's number.
struct DbFehler {
    int32_t nummer;
};

int32_t nummer_fuer(SQLINTEGER native) {
    if (native == 0 || (native > 0 && native <= 25)) return DB_ALLGEMEIN;
    return static_cast<int32_t>(native);
}

[[noreturn]] void odbc_fehler(SQLSMALLINT art, SQLHANDLE h, const char* wo) {
    SQLCHAR zustand[6] = {0};
    SQLCHAR text[1024] = {0};
    SQLINTEGER native = 0;
    SQLSMALLINT laenge = 0;
    std::string meldung;
    if (h && SQL_SUCCEEDED(SQLGetDiagRec(art, h, 1, zustand, &native, text, sizeof text, &laenge)))
        meldung = std::string(reinterpret_cast<char*>(zustand)) + " " + reinterpret_cast<char*>(text);
    log_line(std::string("dbread: ") + wo + ": " + meldung);
    throw DbFehler{nummer_fuer(native)};
}

// Environment, connection and statement, released in reverse order.
class Verbindung {
public:
    ~Verbindung() {
        if (stmt_) {
            SQLFreeStmt(stmt_, SQL_CLOSE);
            SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
        }
        if (dbc_) {
            if (verbunden_) SQLDisconnect(dbc_);
            SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
        }
        if (env_) SQLFreeHandle(SQL_HANDLE_ENV, env_);
    }

    void oeffnen(const std::string& verbindungstext) {
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_))) throw DbFehler{DB_ALLGEMEIN};
        SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_))) odbc_fehler(SQL_HANDLE_ENV, env_, "connect");
        SQLSetConnectAttr(dbc_, SQL_ATTR_ACCESS_MODE, reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_ONLY), 0);
        SQLSetConnectAttr(dbc_, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(15), 0);
        std::vector<SQLCHAR> text(verbindungstext.begin(), verbindungstext.end());
        text.push_back(0);
        SQLRETURN rc = SQLDriverConnect(dbc_, nullptr, text.data(), SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
        if (!SQL_SUCCEEDED(rc)) odbc_fehler(SQL_HANDLE_DBC, dbc_, "connect");
        verbunden_ = true;
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &stmt_))) odbc_fehler(SQL_HANDLE_DBC, dbc_, "statement");
    }

    // Runs a statement whose outcome does not matter.
    void versuchen(const std::string& sql) {
        std::vector<SQLCHAR> t(sql.begin(), sql.end());
        t.push_back(0);
        SQLExecDirect(stmt_, t.data(), SQL_NTS);
        SQLFreeStmt(stmt_, SQL_CLOSE);
    }

    void abfragen(const std::string& sql) {
        std::vector<SQLCHAR> t(sql.begin(), sql.end());
        t.push_back(0);
        SQLRETURN rc = SQLExecDirect(stmt_, t.data(), SQL_NTS);
        if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) odbc_fehler(SQL_HANDLE_STMT, stmt_, "query");
    }

    SQLHSTMT stmt() const { return stmt_; }

private:
    SQLHENV env_ = nullptr;
    SQLHDBC dbc_ = nullptr;
    SQLHSTMT stmt_ = nullptr;
    bool verbunden_ = false;
};

// A connection-string value, braced when it holds characters that would end or
// change the attribute.
std::string wert_im_verbindungstext(const std::string& v) {
    if (v.find_first_of(";{}=") == std::string::npos && trim_blanks(v) == v) return v;
    std::string out = "{";
    for (char c : v) {
        out += c;
        if (c == '}') out += '}';
    }
    return out + "}";
}

// True when the query holds a ";" outside quotes that is followed by more text.
bool mehrere_anweisungen(const std::string& sql) {
    char in = 0;
    for (size_t i = 0; i < sql.size(); ++i) {
        char c = sql[i];
        if (in) {
            if (c == in) in = 0;
        } else if (c == '\'' || c == '"' || c == '[' || c == '`') {
            in = c == '[' ? ']' : c;
        } else if (c == ';') {
            if (sql.find_first_not_of(" \t\r\n;", i) != std::string::npos) return true;
        }
    }
    return false;
}

// Reads column i of the current row into v; false when its type cannot be returned.
bool feld_lesen(SQLHSTMT st, SQLUSMALLINT i, SQLSMALLINT typ, ZNSVariable& v, ZNS& e) {
    SQLLEN ind = 0;
    auto pruefen = [st](SQLRETURN rc) {
        if (!SQL_SUCCEEDED(rc)) odbc_fehler(SQL_HANDLE_STMT, st, "field");
    };
    switch (typ) {
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_TINYINT: {
        SQLBIGINT z = 0;
        pruefen(SQLGetData(st, i, SQL_C_SBIGINT, &z, sizeof z, &ind));
        if (ind == SQL_NULL_DATA) break;
        if (z < INT32_MIN || z > INT32_MAX) throw DbFehler{DB_UEBERLAUF};
        v.set_integer(static_cast<int32_t>(z));
        return true;
    }
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE: {
        double d = 0;
        pruefen(SQLGetData(st, i, SQL_C_DOUBLE, &d, sizeof d, &ind));
        if (ind == SQL_NULL_DATA) break;
        v.set_double(d);
        return true;
    }
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
    case SQL_TYPE_TIMESTAMP:
    case SQL_DATE:
    case SQL_TIME:
    case SQL_TIMESTAMP: {
        SQL_TIMESTAMP_STRUCT ts{};
        pruefen(SQLGetData(st, i, SQL_C_TYPE_TIMESTAMP, &ts, sizeof ts, &ind));
        if (ind == SQL_NULL_DATA) break;
        DateParts p{ts.year, ts.month, ts.day, ts.hour, ts.minute, ts.second, 0};
        if (typ == SQL_TYPE_TIME || typ == SQL_TIME) p.year = 1899, p.month = 12, p.day = 30;
        v.set_datum(ole_from_parts(p));
        return true;
    }
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR: {
        std::string text;
        char puffer[4096];
        while (true) {
            SQLRETURN rc = SQLGetData(st, i, SQL_C_CHAR, puffer, sizeof puffer, &ind);
            if (rc == SQL_NO_DATA) break;
            pruefen(rc);
            if (ind == SQL_NULL_DATA) break;
            size_t n = (ind == SQL_NO_TOTAL || ind >= static_cast<SQLLEN>(sizeof puffer)) ? sizeof puffer - 1
                                                                                          : static_cast<size_t>(ind);
            text.append(puffer, n);
            if (text.size() > DB_TEXT_GRENZE) throw DbFehler{DB_UEBERLAUF};
            if (rc == SQL_SUCCESS) break;
        }
        if (ind == SQL_NULL_DATA) break;
        v.set_string(decode_text(text));
        return true;
    }
    default: return false;
    }
    e.sym_empty->copy(v);  // a null value, whatever the type
    return true;
}

void dbread_(Aufruf& a) {
    ZNS& e = a.engine();
    if (a.anzahl() == 0) melden(QIM_ARGUMENTANZAHL);
    const bool dsn = a.arg(1).typ == TYP_SYMBOL;
    int32_t erstes = 1;
    if (dsn) {
        if (!a.ist_symbol(1, e.sym_dsn)) melden(QIM_ARGUMENT);
        a.anzahl_pruefen(5, 5);
        erstes = 2;
    } else {
        a.anzahl_pruefen(4, 5);
    }
    const std::string& quelle = a.string_arg(erstes);
    const std::string& tabelle = a.string_arg(erstes + 1);
    const std::string& bedingung = a.string_arg(erstes + 2);
    const std::string& felder = a.string_arg(erstes + 3);
    std::string provider;
    if (!dsn && a.anzahl() == 5) provider = a.string_arg(5);

    try {
        std::string verbindungstext;
        bool sqlite = false;
        if (dsn) {
            verbindungstext = "DSN=" + wert_im_verbindungstext(quelle);
        } else {
            // A database file that is not there is never created by reading it.
            std::error_code ec;
            if (!std::filesystem::is_regular_file(std::filesystem::path(quelle), ec)) {
                log_line("dbread: no database file " + quelle);
                throw DbFehler{DB_ALLGEMEIN};
            }
            if (provider.empty() || utf8_equal_nocase(provider, "Microsoft.Jet.OLEDB.4.0")) {
                verbindungstext = "DRIVER={MDBTools};DBQ=" + wert_im_verbindungstext(quelle);
            } else if (utf8_equal_nocase(provider, "SQLite")) {
                verbindungstext = "DRIVER={SQLite3};Database=" + wert_im_verbindungstext(quelle) + ";NoCreat=1";
                sqlite = true;
            } else {
                log_line("dbread: unknown provider " + provider);
                throw DbFehler{DB_PROVIDER_FEHLT};
            }
        }
        const std::string sql = "Select " + felder + " From " + tabelle + " WHERE " + bedingung;
        if (mehrere_anweisungen(sql)) {
            log_line("dbread: only one statement is run: " + sql);
            throw DbFehler{DB_ALLGEMEIN};
        }
        Verbindung v;
        v.oeffnen(verbindungstext);
        if (sqlite) v.versuchen("PRAGMA query_only = 1");
        v.abfragen(sql);
        SQLHSTMT st = v.stmt();
        SQLRETURN rc = SQLFetch(st);
        if (rc == SQL_NO_DATA) melden(DB_KEIN_EINTRAG);
        if (!SQL_SUCCEEDED(rc)) odbc_fehler(SQL_HANDLE_STMT, st, "fetch");
        SQLSMALLINT spalten = 0;
        if (!SQL_SUCCEEDED(SQLNumResultCols(st, &spalten))) odbc_fehler(SQL_HANDLE_STMT, st, "columns");
        if (spalten < 1) melden(DB_KEIN_EINTRAG);

        std::vector<ZNSWertRef> werte;
        for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(spalten); ++i) {
            SQLCHAR name[512] = {0};
            SQLSMALLINT namelaenge = 0, typ = 0, stellen = 0, nullbar = 0;
            SQLULEN groesse = 0;
            if (!SQL_SUCCEEDED(SQLDescribeCol(st, i, name, sizeof name, &namelaenge, &typ, &groesse, &stellen, &nullbar)))
                odbc_fehler(SQL_HANDLE_STMT, st, "columns");
            auto w = neuer_wert();
            w->bezeichner = decode_text(reinterpret_cast<char*>(name));
            if (!feld_lesen(st, i, typ, *w, e)) melden(DB_FELDTYP);
            werte.push_back(std::move(w));
        }
        if (werte.size() == 1) return werte[0]->copy(a.result());
        auto feld = a.result().set_array();
        for (auto& w : werte) feld->add(w);
    } catch (const DbFehler& f) {
        melden(f.nummer);
    }
}

}  // namespace

void datenbank_builtin_registrieren() { eingebaut("dbread", dbread_); }

}  // namespace galvora::builtins
