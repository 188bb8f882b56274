#include "generation/run_statistics.h"

#include <clocale>
#include <vector>

#include "foundation/language.h"
#include "foundation/messages.h"
#include "image/image_file_record.h"
#include "script/date_text.h"

namespace galvora {

namespace {

std::string thousands_separator() {
    const std::lconv* conv = std::localeconv();
    if (conv != nullptr && conv->thousands_sep != nullptr && conv->thousands_sep[0] != '\0') return conv->thousands_sep;
    // Without a grouping of its own the locale still gets a readable number.
    const std::string decimal = conv != nullptr && conv->decimal_point != nullptr ? conv->decimal_point : ".";
    return decimal == "," ? "." : ",";
}

std::string decimal_sign() {
    const std::lconv* conv = std::localeconv();
    if (conv != nullptr && conv->decimal_point != nullptr && conv->decimal_point[0] != '\0') return conv->decimal_point;
    return ".";
}

}  // namespace

std::string zahl_gruppiert(int64_t number) {
    const bool negative = number < 0;
    // Works on the unsigned magnitude, so the smallest value has one too.
    uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(number) : static_cast<uint64_t>(number);
    const std::string digits = std::to_string(magnitude);
    const std::string separator = thousands_separator();
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
        out += digits[i];
    }
    return negative ? "-" + out : out;
}

std::string sekunden_text(int64_t milliseconds) {
    // Rounded to tenths, halves away from zero.
    const int64_t tenths = (milliseconds >= 0 ? milliseconds + 50 : milliseconds - 50) / 100;
    const int64_t whole = tenths / 10;
    const int64_t fraction = tenths % 10;
    std::string text = std::to_string(whole < 0 ? -whole : whole) + decimal_sign() +
                       std::to_string(fraction < 0 ? -fraction : fraction);
    return tenths < 0 ? "-" + text : text;
}

std::string bildprotokoll_text(const std::string& pattern, const ZNImageFile& record) {
    return platzhalter_ersetzen(pattern, {record.ODateiname, ole_datum_formatieren(record.ODatum, inq("Global", "FormatDateTime")),
                                          std::to_string(record.ODimX) + " x " + std::to_string(record.ODimY),
                                          zahl_gruppiert(record.OBytes)});
}

std::string statistik_text(const std::string& pattern, const Laufstatistik& values) {
    return platzhalter_ersetzen(pattern, {sekunden_text(values.millisekunden), std::to_string(values.verzeichnisse),
                                          std::to_string(values.bilder), zahl_gruppiert(values.bytes),
                                          std::to_string(values.clones), std::to_string(values.thumbnails),
                                          std::to_string(values.seiten)});
}

}  // namespace galvora
