#include "profile/profile_file.h"

#include <array>
#include <filesystem>
#include <string>
#include <system_error>

#include "foundation/file_helpers.h"
#include "foundation/messages.h"
#include "foundation/program_info.h"
#include "foundation/registry.h"
#include "foundation/string_helpers.h"
#include "foundation/text_codec.h"
#include "profile/border.h"
#include "profile/image_stamp.h"
#include "profile/number_text.h"
#include "profile/picture_effect.h"
#include "profile/profile_hooks.h"
#include "profile/profile_lists.h"
#include "profile/profiles.h"
#include "profile/text_stamp.h"

namespace galvora {

namespace {

constexpr long kTypeMismatch = 13;
constexpr long kOverflow = 6;
constexpr long kSubscript = 9;
constexpr const char* kCrLf = "\r\n";

// A failure inside one line; the line number and text are added by the reader.
struct ConversionFailure {
    long error_number;
};

int32_t to_int32(const std::string& text) {
    double value = 0;
    if (!text_to_number(text, value)) throw ConversionFailure{kTypeMismatch};
    int32_t result = 0;
    if (!text_to_int32(text, result)) throw ConversionFailure{kOverflow};
    return result;
}

double to_double(const std::string& text) {
    double value = 0;
    if (!text_to_number(text, value)) throw ConversionFailure{kTypeMismatch};
    return value;
}

// Old profiles carry Windows paths; POSIX paths use "/".
std::string posix_path(std::string text) {
    for (char& c : text) {
        if (c == '\\') c = '/';
    }
    return text;
}

bool is_path_entry(size_t index) {
    return index == 53 || index == 79 || index == 89 || index == 90;
}

// ---------------------------------------------------------------- effect keys

template <class Effect>
struct IntField {
    const char* key;
    int32_t (Effect::*get)() const;
    void (Effect::*set)(int32_t);
};

#define GALVORA_INT_FIELD(Class, key, Name) \
    IntField<Class> { key, static_cast<int32_t (Class::*)() const>(&Class::Name), static_cast<void (Class::*)(int32_t)>(&Class::Name) }

// Integer lines of each group in the order the writer puts them.
const IntField<CTextStamp> kTextStampFields[] = {
    GALVORA_INT_FIELD(CTextStamp, "STAMP_TEXT_COLOR", Color),
    GALVORA_INT_FIELD(CTextStamp, "STAMP_TEXT_COLORREADABLE", ColorReadable),
    GALVORA_INT_FIELD(CTextStamp, "STAMP_TEXT_HEIGHT", Height),
    GALVORA_INT_FIELD(CTextStamp, "STAMP_TEXT_POSITION", Position),
    GALVORA_INT_FIELD(CTextStamp, "STAMP_TEXT_OFFSETX", OffsetX),
    GALVORA_INT_FIELD(CTextStamp, "STAMP_TEXT_OFFSETY", OffsetY),
    GALVORA_INT_FIELD(CTextStamp, "STAMP_TEXT_DIRECTION", Direction),
    GALVORA_INT_FIELD(CTextStamp, "STAMP_TEXT_ALIGNMENT", Alignment),
    GALVORA_INT_FIELD(CTextStamp, "STAMP_TEXT_WEIGHT", Weight),
    GALVORA_INT_FIELD(CTextStamp, "STAMP_TEXT_ITALIC", Italic),
    GALVORA_INT_FIELD(CTextStamp, "STAMP_TEXT_UNDERLINE", Underline),
    GALVORA_INT_FIELD(CTextStamp, "STAMP_TEXT_STRIKEOUT", Strikeout),
    GALVORA_INT_FIELD(CTextStamp, "STAMP_TEXT_OPACITY", Opacity),
    GALVORA_INT_FIELD(CTextStamp, "STAMP_TEXT_BACKGROUND", Background),
    GALVORA_INT_FIELD(CTextStamp, "STAMP_TEXT_BACKGROUND_COLOR", BackgroundColor),
    GALVORA_INT_FIELD(CTextStamp, "STAMP_TEXT_BACKGROUND_OPACITY", BackgroundOpacity),
    GALVORA_INT_FIELD(CTextStamp, "STAMP_TEXT_BORDER", Border),
    GALVORA_INT_FIELD(CTextStamp, "STAMP_TEXT_BORDER_COLOR", BorderColor),
    GALVORA_INT_FIELD(CTextStamp, "STAMP_TEXT_BORDER_WIDTH", BorderWidth),
};

const IntField<CImageStamp> kImageStampFields[] = {
    GALVORA_INT_FIELD(CImageStamp, "STAMP_IMAGE_POSITION", Position),
    GALVORA_INT_FIELD(CImageStamp, "STAMP_IMAGE_OFFSETX", OffsetX),
    GALVORA_INT_FIELD(CImageStamp, "STAMP_IMAGE_OFFSETY", OffsetY),
    GALVORA_INT_FIELD(CImageStamp, "STAMP_IMAGE_OPACITY", deckkraft),
    GALVORA_INT_FIELD(CImageStamp, "STAMP_IMAGE_USE_TRANSPARENTCOLOR", TransparenteFarbeNutzen),
    GALVORA_INT_FIELD(CImageStamp, "STAMP_IMAGE_TRANSPARENTCOLOR", TransparenteFarbe),
    GALVORA_INT_FIELD(CImageStamp, "STAMP_IMAGE_COLORTOLERANCE", TransparenzFarbtoleranz),
    GALVORA_INT_FIELD(CImageStamp, "STAMP_IMAGE_STRETCH", Strecken),
};

// BORDER_IMAGE_NAME (text) stands between BORDER_COLOR_FROM_IMAGE and
// BORDER_IMAGE_ARRANGEMENT; the writer puts it there.
const IntField<CBorder> kBorderFields[] = {
    GALVORA_INT_FIELD(CBorder, "BORDER_TYPE", RahmenArt),
    GALVORA_INT_FIELD(CBorder, "BORDER_INSIDETYPE", InnenrahmenArt),
    GALVORA_INT_FIELD(CBorder, "BORDER_POSITION", Position),
    GALVORA_INT_FIELD(CBorder, "BORDER_OFFSET_TOP", OffsetOben),
    GALVORA_INT_FIELD(CBorder, "BORDER_OFFSET_RIGHT", OffsetRechts),
    GALVORA_INT_FIELD(CBorder, "BORDER_OFFSET_BOTTOM", OffsetUnten),
    GALVORA_INT_FIELD(CBorder, "BORDER_OFFSET_LEFT", OffsetLinks),
    GALVORA_INT_FIELD(CBorder, "BORDER_COLOR", Farbe),
    GALVORA_INT_FIELD(CBorder, "BORDER_WIDTH", Breite),
    GALVORA_INT_FIELD(CBorder, "BORDER_OPACITY", deckkraft),
    GALVORA_INT_FIELD(CBorder, "BORDER_COLOR_FROM_IMAGE", FarbePassend),
    GALVORA_INT_FIELD(CBorder, "BORDER_IMAGE_ARRANGEMENT", Bildverteilung),
};

#undef GALVORA_INT_FIELD

template <class Effect, size_t N>
bool set_int_field(const IntField<Effect> (&fields)[N], Effect& effect, const std::string& key,
                   const std::string& value) {
    for (const auto& field : fields) {
        if (key == field.key) {
            (effect.*field.set)(to_int32(value));
            return true;
        }
    }
    return false;
}

constexpr std::string_view kLongPrefix = "IMAGE_EFFECT_LONGVALUE_";
constexpr std::string_view kDoublePrefix = "IMAGE_EFFECT_DOUBLEVALUE_";

std::string two_digits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// ---------------------------------------------------------------- writing

// A value spread over continuation lines: every line break is followed by the
// marker. A lone CR or LF becomes CR LF first, since every one of them ends a
// line when the file is read.
std::string with_continuations(std::string_view value, std::string_view marker) {
    std::string out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
            out += kCrLf;
            out += marker;
        } else {
            out += c;
        }
    }
    return out;
}

// A value that must stay on one line (descriptions, fonts, picture names):
// a line break in it would start a line of its own when read back.
std::string single_line(std::string_view value) {
    std::string out(value);
    for (char& c : out) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return out;
}

void put_line(std::string& out, std::string_view key, std::string_view value) {
    out += key;
    out += '=';
    out += value;
    out += kCrLf;
}

void put_int(std::string& out, std::string_view key, int32_t value) { put_line(out, key, std::to_string(value)); }

template <class Effect, size_t N>
void put_int_fields(std::string& out, const IntField<Effect> (&fields)[N], const Effect& effect) {
    for (const auto& field : fields) put_int(out, field.key, (effect.*field.get)());
}

void put_effect(std::string& out, const CCloneEffekt& effect) {
    switch (effect.art()) {
        case CCloneEffekt::Art::TextStamp: {
            const auto& s = static_cast<const CTextStamp&>(effect);
            put_line(out, "STAMP_TEXT_DESCRIPTION", single_line(s.Description()));
            put_line(out, "STAMP_TEXT", with_continuations(s.Text(), "+"));
            put_line(out, "STAMP_TEXT_FONT", single_line(s.Font()));
            put_int_fields(out, kTextStampFields, s);
            break;
        }
        case CCloneEffekt::Art::ImageStamp: {
            const auto& s = static_cast<const CImageStamp&>(effect);
            put_line(out, "STAMP_IMAGE_DESCRIPTION", single_line(s.Description()));
            put_line(out, "STAMP_IMAGE", single_line(s.Name()));
            put_int_fields(out, kImageStampFields, s);
            break;
        }
        case CCloneEffekt::Art::Border: {
            const auto& b = static_cast<const CBorder&>(effect);
            put_line(out, "BORDER_DESCRIPTION", single_line(b.Description()));
            for (const auto& field : kBorderFields) {
                if (std::string_view(field.key) == "BORDER_IMAGE_ARRANGEMENT") {
                    put_line(out, "BORDER_IMAGE_NAME", single_line(b.Bildname()));
                }
                put_int(out, field.key, (b.*field.get)());
            }
            break;
        }
        case CCloneEffekt::Art::BildEffekt: {
            const auto& e = static_cast<const CBildEffekt&>(effect);
            put_line(out, "IMAGE_EFFECT_DESCRIPTION", single_line(e.Description()));
            put_int(out, "IMAGE_EFFECT_TYPE", e.Bildeffektart());
            for (int i = 1; i <= 10; ++i) put_int(out, std::string(kLongPrefix) + two_digits(i), e.LongArray(i));
            for (int i = 1; i <= 10; ++i) {
                put_line(out, std::string(kDoublePrefix) + two_digits(i), number_to_text(e.DoubleArray(i)));
            }
            break;
        }
    }
}

// ---------------------------------------------------------------- reading

class ProfileReader {
public:
    ProfileReader(Profiltabelle& table, CCloneEffekte& effects, ZNModule& modules)
        : table_(table), effects_(effects), modules_(modules) {
        for (size_t i = 0; i < table.size(); ++i) upper_keys_[i] = utf8_to_upper(table[i].key);
    }

    void line(std::string_view raw) {
        size_t start = raw.find_first_not_of(' ');
        if (start == std::string_view::npos) return;
        std::string_view text = raw.substr(start);
        if (text[0] == '*') return;
        if (text[0] == '+') {
            continuation(text.substr(1));
        } else if (text.starts_with("!*")) {
            std::string name(trim_blanks(text).substr(2));
            module_.start(modules_.add(name, "", kModuleNotCompiled));
        } else if (text.starts_with("!+")) {
            module_.line(text.substr(2));
        } else if (size_t eq = text.find('='); eq != std::string_view::npos) {
            setting(utf8_to_upper(trim_blanks(text.substr(0, eq))), std::string(text.substr(eq + 1)));
        }
    }

private:
    void continuation(std::string_view rest) {
        if (last_index_ >= 0) {
            auto& value = table_[static_cast<size_t>(last_index_)].value;
            value += kCrLf;
            value += rest;
        } else if (auto* stamp = dynamic_cast<CTextStamp*>(effect_.get())) {
            stamp->Text(stamp->Text() + kCrLf + std::string(rest));
        }
    }

    void setting(const std::string& key, const std::string& value) {
        last_index_ = -1;
        for (size_t i = 0; i < table_.size(); ++i) {
            if (upper_keys_[i] == key) {
                table_[i].value = is_path_entry(i) ? posix_path(value) : value;
                last_index_ = static_cast<int>(i);
                return;
            }
        }
        if (key.starts_with("STAMP_TEXT")) {
            text_stamp(key, value);
        } else if (key.starts_with("STAMP_IMAGE")) {
            image_stamp(key, value);
        } else if (key.starts_with("BORDER")) {
            border(key, value);
        } else if (key.starts_with("IMAGE_EFFECT")) {
            picture_effect(key, value);
        } else if (key == "ENUM_PIC_POST_PIC") {
            table_[193].value = value;
            last_index_ = 193;
        }
    }

    template <class Effect>
    Effect* start_or_current(const std::string& key, const std::string& value) {
        if (key.ends_with("_DESCRIPTION")) {
            auto effect = std::make_shared<Effect>();
            effects_.add(effect);
            effect_ = effect;
            effect->Description(value);
            return nullptr;
        }
        return dynamic_cast<Effect*>(effect_.get());
    }

    void text_stamp(const std::string& key, const std::string& value) {
        auto* s = start_or_current<CTextStamp>(key, value);
        if (s == nullptr) return;
        if (key == "STAMP_TEXT") {
            s->Text(value);
        } else if (key == "STAMP_TEXT_FONT") {
            s->Font(value);
        } else {
            set_int_field(kTextStampFields, *s, key, value);
        }
    }

    void image_stamp(const std::string& key, const std::string& value) {
        auto* s = start_or_current<CImageStamp>(key, value);
        if (s == nullptr) return;
        if (key == "STAMP_IMAGE") {
            s->Name(posix_path(value));
        } else {
            set_int_field(kImageStampFields, *s, key, value);
        }
    }

    void border(const std::string& key, const std::string& value) {
        auto* b = start_or_current<CBorder>(key, value);
        if (b == nullptr) return;
        if (key == "BORDER_IMAGE_NAME") {
            b->Bildname(posix_path(value));
        } else {
            set_int_field(kBorderFields, *b, key, value);
        }
    }

    void picture_effect(const std::string& key, const std::string& value) {
        auto* e = start_or_current<CBildEffekt>(key, value);
        if (e == nullptr) return;
        if (key == "IMAGE_EFFECT_TYPE") {
            e->Bildeffektart(to_int32(value));
        } else if (key.starts_with(kLongPrefix)) {
            e->LongArray(element(key.substr(kLongPrefix.size())), to_int32(value));
        } else if (key.starts_with(kDoublePrefix)) {
            e->DoubleArray(element(key.substr(kDoublePrefix.size())), to_double(value));
        }
    }

    static int element(const std::string& digits) {
        int32_t n = to_int32(digits);
        if (n < 0 || n > 10) throw ConversionFailure{kSubscript};
        return n;
    }

    Profiltabelle& table_;
    std::array<std::string, kProfileEntryCount> upper_keys_;
    CCloneEffekte& effects_;
    ZNModule& modules_;
    int last_index_ = 0;
    std::shared_ptr<CCloneEffekt> effect_;
    ModuleTextLines module_;
};

// ---------------------------------------------------------------- upgrades

const char* const kMetaLines =
    "<meta name=\"generator\" content=\"Galvora\">\r\n<meta name=\"keywords\" content=\"Galvora\">";

class Upgrader {
public:
    Upgrader(Profiltabelle& table, long line_count) : table_(table), line_count_(line_count) {}

    std::string& at(size_t index) { return table_[index].value; }

    double number(size_t index) {
        double value = 0;
        if (!text_to_number(at(index), value)) {
            throw ProfileLineFailure{kTypeMismatch, line_count_, table_[index].key + "=" + at(index)};
        }
        return value;
    }

    bool equals_one(size_t index) { return number(index) == 1; }

    void increment(size_t index) { at(index) = number_to_text(number(index) + 1); }

private:
    Profiltabelle& table_;
    long line_count_;
};

void map_sort_code(std::string& value, std::initializer_list<std::pair<const char*, const char*>> codes) {
    const std::string upper = utf8_to_upper(value);
    for (const auto& [code, number] : codes) {
        if (upper == code) {
            value = number;
            return;
        }
    }
    double ignored = 0;
    if (!text_to_number(value, ignored)) value = "1";
}

void map_direction(std::string& value) {
    const std::string upper = utf8_to_upper(value);
    if (upper == "DOWN") value = "1";
    else if (upper == "UP") value = "0";
}

}  // namespace

std::string profile_text(const Profiltabelle& table, const CCloneEffekte& effects, const ZNModule& modules) {
    std::string out;
    for (const auto& entry : table) {
        if (entry.key.empty()) continue;
        put_line(out, entry.key, with_continuations(entry.value, "+"));
    }
    for (const auto& effect : effects) put_effect(out, *effect);
    for (const auto& module : modules) {
        out += "!*";
        out += single_line(module->Name());
        out += kCrLf;
        out += "!+";
        out += with_continuations(module->inhalt(), "!+");
        out += kCrLf;
    }
    return out;
}

void profile_lines_einlesen(const std::vector<std::string>& lines, Profiltabelle& table, CCloneEffekte& effects,
                            ZNModule& modules) {
    ProfileReader reader(table, effects, modules);
    long number = 0;
    for (const auto& line : lines) {
        ++number;
        try {
            reader.line(line);
        } catch (const ConversionFailure& f) {
            throw ProfileLineFailure{f.error_number, number, line};
        } catch (const GalvoraError& e) {
            throw ProfileLineFailure{e.number(), number, line};
        }
    }
}

void profil_aktualisieren(Profiltabelle& table, const std::string& version, long line_count) {
    Upgrader u(table, line_count);
    if (version < "2.09.02") {
        u.at(130) = "<table " + u.at(132) + ">" + kCrLf;
        u.at(133) = "<td " + u.at(134) + ">";
        u.at(163) = "<table " + u.at(164) + ">" + kCrLf;
        u.at(166) = "<td " + u.at(167) + ">";
    }
    if (version < "2.09.05") {
        if (!u.at(89).empty()) u.at(90) = u.at(89) + "/" + u.at(90);
        if (u.equals_one(55)) {
            u.at(56) = "False";
            u.at(61) = "0";
        }
    }
    if (version < "2.09.08") {
        for (size_t index : {144, 125, 149, 176}) {
            std::string& head = u.at(index);
            head = head.empty() ? std::string(kMetaLines) : kMetaLines + std::string(kCrLf) + head;
        }
    }
    if (version < "2.10.00") {
        if (u.equals_one(55)) u.at(56) = "0";
        u.increment(61);
        u.increment(40);
        if (u.equals_one(57)) u.at(61) = "0";
    }
    map_sort_code(u.at(28), {{"NAME", "1"}, {"DATUM", "2"}, {"ZUFALL", "5"}, {"ANZAHL", "6"}});
    map_sort_code(u.at(84), {{"KEINE", "0"},
                             {"NAME", "1"},
                             {"DATUM", "2"},
                             {"BYTES", "3"},
                             {"DIMENSION", "4"},
                             {"ZUFALL", "5"},
                             {"ANZAHL", "6"},
                             {"NUMNAME", "7"}});
    map_direction(u.at(29));
    map_direction(u.at(85));
}

// ---------------------------------------------------------------- file operations

std::string profildatei(std::string_view folder, std::string_view name) {
    return (std::filesystem::path(folder) / (std::string(name) + ".qvp")).string();
}

int profil_speichern() {
    auto profile = aktuelles_profil();
    const std::string& title = profil_titel_speichern();
    if (!profile || profile->art() == kProfileDefault) {
        meldung(title, MB_ICON_EXCLAMATION, "ErrProfileDefaultReadonly");
        return 2;
    }
    // The folder must exist: saving makes no folder, not even when none is
    // set (the main window sets and makes the default one at its start).
    const std::string folder = benutzerprofilordner();
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_directory(folder, ec)) {
        meldung(title, MB_ICON_EXCLAMATION, "ErrUserProfileDirNotExist", {folder});
        return 2;
    }
    const std::string file = profildatei(folder, profile->Name());

    const std::string version = programmversion();
    Profileinstellungen()[1].value = version;
    geladene_Profileinstellungen()[1].value = version;

    // The file is written beside the old one and renamed into place, so a
    // failed write leaves the previous profile untouched.
    const std::string text = profile_text(geladene_Profileinstellungen(), WorkingCloneEffects(), LoadedProfileModules());
    bool failed_writing = false;
    if (!write_file_atomic(file, text, ec, &failed_writing)) {
        const long number = error_number_from_system(ec);
        meldung(title, MB_ICON_EXCLAMATION, failed_writing ? "ErrProfileFileWrite" : "ErrProfileFileCreate",
                {std::to_string(number), file});
        return 2;
    }

    profil_ungespeichert = false;
    profil_geaendert = false;
    LoadedProfileModules().verändert_reset();
    ProfileModules().verändert_reset();

    registry_schreiben("LastSession", "profile", utf8_to_lower(profile->Name()));
    profile->path(folder);
    profile->art(kProfileUser);
    return 1;
}

void profil_lesen() {
    profil_schluessel_definieren();
    auto profile = aktuelles_profil();
    auto& table = geladene_Profileinstellungen();
    if (!profile || profile->art() == kProfileDefault) {
        table[1].value = programmversion();
    } else {
        const std::string file = profildatei(profile->path(), profile->Name());
        const std::string& title = profil_titel_laden();
        std::error_code ec;
        auto lines = read_text_lines(file, ec);
        if (!lines) {
            meldung(title, MB_ICON_EXCLAMATION, "ErrProfileFileOpen",
                    {std::to_string(error_number_from_system(ec)), file});
            profil_laden(nullptr);
            return;
        }
        try {
            profile_lines_einlesen(*lines, table, LoadedCloneEffects(), LoadedProfileModules());
            const std::string version = table[1].value;
            if (version < "2.09.00") {
                meldung(title, MB_ICON_EXCLAMATION, "ErrProfileVersion", {version, file});
                profil_laden(nullptr);
                return;
            }
            profil_aktualisieren(table, version, static_cast<long>(lines->size()));
        } catch (const ProfileLineFailure& f) {
            meldung(title, MB_ICON_EXCLAMATION, "ErrProfileFileRead",
                    {std::to_string(f.error_number), file, std::to_string(f.line_number), f.line});
            profil_laden(nullptr);
            return;
        }
    }
    table[7].value = "0";

    const auto& hooks = profile_hooks();
    if (hooks.show_current_profile) {
        hooks.show_current_profile(product_name() + " - " + (profile ? profile->Name() : std::string()));
    }

    profil_ungespeichert = false;
    profil_geaendert = false;
    LoadedProfileModules().verändert_reset();
    ProfileModules().verändert_reset();
    LoadedCloneEffects().verändert_reset();

    if (profile) {
        const std::string last = registry_lesen("ProfilesLastData", profile->Name(), "");
        if (size_t bar = last.find('|'); bar != std::string::npos) {
            registry_schreiben("ProfilesLastData", profile->Name(), last.substr(0, bar));
        }
    }
}

}  // namespace galvora
