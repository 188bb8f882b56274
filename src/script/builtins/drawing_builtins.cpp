// rgb, rotate, flip, drawline, drawrectangle, drawellipse and inqcolor.
#include <algorithm>
#include <cctype>
#include <climits>

#include "script/builtins/host_access.h"

namespace galvora::builtins {

namespace {

int32_t hex_paar(std::string_view text, size_t von) {
    int32_t v = 0;
    for (size_t i = von; i < von + 2 && i < text.size(); ++i) {
        char c = text[i];
        int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (d < 0) melden(QIM_ARGUMENT);
        v = v * 16 + d;
    }
    return v;
}

void rgb_(Aufruf& a) {
    if (a.anzahl() != 1 && a.anzahl() != 3) melden(QIM_ARGUMENTANZAHL);
    int32_t r = 0, g = 0, b = 0;
    if (a.anzahl() == 3) {
        r = a.integer_arg(1);
        g = a.integer_arg(2);
        b = a.integer_arg(3);
    } else {
        const std::string& text = a.string_arg(1);
        if (text.empty() || text[0] != '#') melden(QIM_ARGUMENT);
        // Everything after "#" must read as one hexadecimal number that fits 32 bits.
        const std::string_view ziffern = std::string_view(text).substr(1);
        if (ziffern.empty() || ziffern.size() > 8) melden(QIM_ARGUMENT);
        for (char c : ziffern)
            if (!std::isxdigit(static_cast<unsigned char>(c))) melden(QIM_ARGUMENT);
        r = hex_paar(text, 1);
        g = hex_paar(text, 3);
        b = hex_paar(text, 5);
    }
    for (int32_t k : {r, g, b})
        if (k < 0 || k > 255) melden(QIM_ARGUMENT);
    a.result().set_integer(r + 256 * g + 65536 * b);
}

void rotate_(Aufruf& a) {
    a.anzahl_pruefen(1, 1);
    const int32_t winkel = a.integer_arg(1);
    if (winkel != 90 && winkel != 180 && winkel != 270) melden(QIM_ARGUMENT);
    host().bild_drehen(winkel / 90);
    a.leer();
}

void flip_(Aufruf& a) {
    a.anzahl_pruefen(1, 1);
    a.symbol_arg(1);
    ZNS& e = a.engine();
    int32_t richtung = 0;
    if (a.ist_symbol(1, e.sym_horizontal)) richtung = 1;
    else if (a.ist_symbol(1, e.sym_vertical)) richtung = 2;
    else melden(QIM_ARGUMENT);
    host().bild_spiegeln(richtung);
    a.leer();
}

struct Rahmen {
    int32_t farbe, x1, y1, x2, y2;
};

Rahmen koordinaten(Aufruf& a) {
    Rahmen r{};
    r.farbe = a.integer_arg(1);
    r.x1 = a.zahl_als_integer(2);
    r.y1 = a.zahl_als_integer(3);
    r.x2 = a.zahl_als_integer(4);
    r.y2 = a.zahl_als_integer(5);
    if (r.x1 < 0 || r.y1 < 0 || r.x2 < 0 || r.y2 < 1) melden(QIM_ARGUMENT);
    return r;
}

int32_t deckkraft(Aufruf& a) {
    const int32_t d = a.zahl_als_integer(6);
    if (d < 0 || d > 100) melden(QIM_ARGUMENT);
    return d;
}

void aussen_pruefen(Aufruf& a) {
    a.symbol_arg(7);
    if (!a.ist_symbol(7, a.engine().sym_outside)) melden(QIM_ARGUMENT);
}

void drawline_(Aufruf& a) {
    a.anzahl_pruefen(5, 5);
    Rahmen r = koordinaten(a);
    // Without a picture a line draws nothing.
    if (BuiltinHost* h = builtin_host()) h->linie_zeichnen(r.farbe, r.x1, r.y1, r.x2, r.y2);
    a.leer();
}

void drawrectangle_(Aufruf& a) {
    a.anzahl_pruefen(5, 7);
    Rahmen r = koordinaten(a);
    if (a.anzahl() == 5) {
        if (BuiltinHost* h = builtin_host()) {
            h->linie_zeichnen(r.farbe, r.x1, r.y1, r.x2, r.y1);
            h->linie_zeichnen(r.farbe, r.x2, r.y1, r.x2, r.y2);
            h->linie_zeichnen(r.farbe, r.x2, r.y2, r.x1, r.y2);
            h->linie_zeichnen(r.farbe, r.x1, r.y2, r.x1, r.y1);
        }
        return a.leer();
    }
    const int32_t d = deckkraft(a);
    if (a.anzahl() == 6) {
        host().rechteck_fuellen(r.farbe, r.x1, r.y1, r.x2, r.y2, d);
        return a.leer();
    }
    aussen_pruefen(a);
    // The area outside: bands above and below the rectangle across the whole
    // width, and the parts left and right of it between them. The host clips
    // them to the picture.
    BuiltinHost& h = host();
    const int32_t links = std::min(r.x1, r.x2), rechts = std::max(r.x1, r.x2);
    const int32_t oben = std::min(r.y1, r.y2), unten = std::max(r.y1, r.y2);
    constexpr int32_t weit = INT32_MAX / 2;
    h.rechteck_fuellen(r.farbe, 0, 0, weit, oben, d);
    h.rechteck_fuellen(r.farbe, 0, unten, weit, weit, d);
    h.rechteck_fuellen(r.farbe, 0, oben, links, unten, d);
    h.rechteck_fuellen(r.farbe, rechts, oben, weit, unten, d);
    a.leer();
}

void drawellipse_(Aufruf& a) {
    a.anzahl_pruefen(5, 7);
    Rahmen r = koordinaten(a);
    int32_t d = 100, modus = 0;
    if (a.anzahl() >= 6) {
        d = deckkraft(a);
        modus = 1;
    }
    if (a.anzahl() == 7) {
        aussen_pruefen(a);
        modus = -1;
    }
    host().ellipse_zeichnen(r.farbe, r.x1, r.y1, r.x2, r.y2, d, modus);
    a.leer();
}

void inqcolor_(Aufruf& a) {
    a.anzahl_pruefen(0, 0);
    a.result().set_integer(host().durchschnittsfarbe());
}

}  // namespace

void zeichnen_builtins_registrieren() {
    eingebaut("rgb", rgb_);
    eingebaut("rotate", rotate_);
    eingebaut("flip", flip_);
    eingebaut("drawline", drawline_);
    eingebaut("drawrectangle", drawrectangle_);
    eingebaut("drawellipse", drawellipse_);
    eingebaut("inqcolor", inqcolor_);
}

}  // namespace galvora::builtins
