#pragma once
// Shared set-up of the page and loop tests: chosen directories made of small
// JPEGs, the page writers installed as the run's later phases, a stand-in
// decoration set, and a checker that every reference of every page reaches
// a file.
#include <fstream>
#include <regex>
#include <set>

#include "foundation/messages.h"
#include "foundation/temp_folder.h"
#include "generation/generation_run.h"
#include "generation/generation_test_support.h"
#include "generation/picture_scanner.h"
#include "generation/run_completion.h"
#include "generation/browser_launch.h"
#include "generation/settings_access.h"
#include "image/image_file_record.h"

namespace galvora::testing {

inline const std::vector<std::string>& decoration_names() {
    static const std::vector<std::string> names{"gesamtanfang", "pfadanfang", "seitenanfang", "links",    "home",
                                                "index",        "rechts",     "seitenende",   "pfadende", "gesamtende"};
    return names;
}

inline size_t occurrences(const std::string& text, const std::string& what) {
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++count;
    return count;
}

inline std::string url_decoded(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Every href and src of every page below root that does not reach an
// existing file, as "page -> reference".
inline std::vector<std::string> broken_references(const fs::path& root) {
    std::vector<std::string> broken;
    const std::regex reference(R"re((?:href|src)="([^"]*)")re");
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.path().extension() != ".html") continue;
        const std::string page = read_file(entry.path());
        for (std::sregex_iterator it(page.begin(), page.end(), reference), end; it != end; ++it) {
            const std::string ref = (*it)[1];
            const fs::path target = entry.path().parent_path() / url_decoded(ref);
            if (ref.empty() || !fs::is_regular_file(target))
                broken.push_back(fs::relative(entry.path(), root).string() + " -> " + ref);
        }
    }
    return broken;
}

class GalleryTest : public GenerationTest {
protected:
    void SetUp() override {
        GenerationTest::SetUp();
        seitenerzeugung_anmelden();
        lauf_auftrag().auswertelevel = 1;
        set(kSetGenerateClones, "1");
        // A fixture may be set up again inside a test: start from empty folders.
        for (const fs::path& folder : {base, out}) {
            fs::remove_all(folder);
            fs::create_directories(folder);
        }
        set_browser_opener([this](const std::string& page) { opened.push_back(page); });
        for (const std::string& name : decoration_names())
            write_file(tmp.path() / "program" / "decopool" / "standard" / (name + ".gif"), "GIF89a");
    }
    void TearDown() override {
        set_browser_opener(nullptr);
        laufabschnitte() = Laufabschnitte{};
        batchmodus = false;
        batch_unterbrochen = false;
        CancelRequested = false;
        GenerationTest::TearDown();
    }

    // A chosen directory below the base folder with JPEGs of 8 x 6 pixels.
    void add_directory(const std::string& relative, const std::string& group, const std::vector<std::string>& pictures) {
        Verzeichnissatz d;
        d.relativer_pfad = relative;
        d.name = fs::path(relative).filename().string();
        d.gruppe = group;
        fs::create_directories(base / relative);
        for (const std::string& name : pictures) write_jpeg(base / relative / (name + ".jpg"), 8, 6);
        bilddateien_einlesen((base / relative).string(), {{"*.JPG", 6}}, false, d.bildanzahl, d.bilddateien,
                             d.bildbytes);
        lauf_auftrag().bildbytes_gesamt += d.bildbytes;
        lauf_auftrag().verzeichnisse.push_back(std::move(d));
    }

    static std::vector<std::string> numbered(const std::string& stem, int count) {
        std::vector<std::string> names;
        for (int i = 1; i <= count; ++i) names.push_back(stem + (i < 10 ? "0" : "") + std::to_string(i));
        return names;
    }

    std::string page(const std::string& relative) { return read_file(out / "html" / relative); }

    std::vector<std::string> opened;
};

}  // namespace galvora::testing
