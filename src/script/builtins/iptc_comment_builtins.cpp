// iptc, iptccount, iptctag, iptctagname, imagecomment, imagecommentcount and
// imagecommentkey.
#include "script/builtins/host_access.h"

namespace galvora::builtins {

namespace {

constexpr int32_t IPTC_NAME_UNBEKANNT = 15;
constexpr int32_t IPTC_POSITION = 16;
constexpr int32_t IPTC_NUMMER_UNBEKANNT = 17;
constexpr int32_t IPTC_FEHLT = 18;
constexpr int32_t KOMMENTAR_FEHLT = 19;

int32_t iptc_nummer_zum_namen(const std::string& name) {
    int32_t n = host().iptc_tag_suchen(name);
    if (n == -1) melden(IPTC_NAME_UNBEKANNT);
    return n;
}

void iptc_(Aufruf& a) {
    a.anzahl_pruefen(0, 1);
    if (a.anzahl() == 0) return a.wahrheit(host().bild_iptc_anzahl() > 0);
    const ZNSVariable& x = a.arg(1);
    int32_t nummer = 0;
    if (x.typ == TYP_INTEGER) nummer = x.als_integer();
    else if (x.typ == TYP_STRING) nummer = iptc_nummer_zum_namen(x.als_text());
    else melden(QIM_ARGUMENTTYP);
    std::string text;
    if (!host().bild_iptc_wert(nummer, text)) melden(IPTC_FEHLT);
    a.result().set_string(std::move(text));
}

void iptccount_(Aufruf& a) {
    a.anzahl_pruefen(0, 0);
    a.result().set_integer(static_cast<int32_t>(host().bild_iptc_anzahl()));
}

void iptctag_(Aufruf& a) {
    a.anzahl_pruefen(1, 1);
    const ZNSVariable& x = a.arg(1);
    if (x.typ == TYP_INTEGER) {
        int64_t nummer = 0;
        if (!host().bild_iptc_nummer(x.als_integer(), nummer)) melden(IPTC_POSITION);
        return a.result().set_integer(static_cast<int32_t>(nummer));
    }
    if (x.typ != TYP_STRING) melden(QIM_ARGUMENTTYP);
    a.result().set_integer(iptc_nummer_zum_namen(x.als_text()));
}

void iptctagname_(Aufruf& a) {
    a.anzahl_pruefen(1, 1);
    const int32_t nummer = a.integer_arg(1);
    std::string name;
    if (!host().iptc_tagname(nummer, name) || name.empty()) melden(IPTC_NUMMER_UNBEKANNT);
    a.result().set_string(std::move(name));
}

void imagecomment_(Aufruf& a) {
    a.anzahl_pruefen(0, 1);
    if (a.anzahl() == 0) return a.wahrheit(host().bild_kommentar_anzahl() > 0);
    const ZNSVariable& x = a.arg(1);
    std::string text;
    bool gefunden = false;
    if (x.typ == TYP_INTEGER) gefunden = host().bild_kommentar_pos_text(x.als_integer(), text);
    else if (x.typ == TYP_STRING) gefunden = host().bild_kommentar_text(x.als_text(), text);
    else melden(QIM_ARGUMENTTYP);
    if (!gefunden) melden(KOMMENTAR_FEHLT);
    a.result().set_string(std::move(text));
}

void imagecommentcount_(Aufruf& a) {
    a.anzahl_pruefen(0, 0);
    a.result().set_integer(static_cast<int32_t>(host().bild_kommentar_anzahl()));
}

void imagecommentkey_(Aufruf& a) {
    a.anzahl_pruefen(1, 1);
    const int32_t position = a.integer_arg(1);
    std::string schluessel;
    if (!host().bild_kommentar_schluessel(position, schluessel)) melden(KOMMENTAR_FEHLT);
    a.result().set_string(std::move(schluessel));
}

}  // namespace

void iptc_kommentar_builtins_registrieren() {
    eingebaut("iptc", iptc_);
    eingebaut("iptccount", iptccount_);
    eingebaut("iptctag", iptctag_);
    eingebaut("iptctagname", iptctagname_);
    eingebaut("imagecomment", imagecomment_);
    eingebaut("imagecommentcount", imagecommentcount_);
    eingebaut("imagecommentkey", imagecommentkey_);
}

}  // namespace galvora::builtins
