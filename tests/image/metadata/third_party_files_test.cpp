// Third-party pictures (fetched by scripts/fetch-testdata.sh): the values we
// read must equal what exiftool reports for the same EXIF data, run now on
// the same bytes, and broken files must end cleanly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "exif_test_support.h"
#include "image/metadata/metadata_definition.h"
#include "image/metadata/picture_metadata.h"
#include "image/metadata/read_image_metadata.h"
#include "image/picture_type.h"

using namespace galvora;
using namespace galvora::testing;
namespace fs = std::filesystem;

namespace {

const fs::path kData = GALVORA_TESTDATA_DIR;

// The columns compared, as exiftool names them (numbers printed plainly with -n).
const std::vector<std::string> kColumns = {"Make",     "Model",       "DateTimeOriginal", "ExposureTime",
                                           "FNumber",  "FocalLength", "ISO",              "Orientation",
                                           "GPSLatitude", "GPSLongitude"};

std::string run(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char buf[4096];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, pipe)) out.append(buf, n);
    ::pclose(pipe);
    return out;
}

std::string quoted(const fs::path& p) {
    std::string s = "'";
    for (char c : p.string()) s += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return s + "'";
}

// exiftool's values per file: column name -> every value it found (the same
// tag may stand in several directories; we report the first we meet).
std::map<std::string, std::map<std::string, std::vector<std::string>>> exiftool_values(
    const std::vector<fs::path>& files) {
    std::string cmd = "exiftool -q -q -m -a -n -s -G0 -FilePath";
    for (const auto& c : kColumns) cmd += " -EXIF:" + c;
    for (const auto& f : files) cmd += " " + quoted(f);
    std::map<std::string, std::map<std::string, std::vector<std::string>>> result;
    std::istringstream lines(run(cmd + " 2>/dev/null"));
    std::string current;
    for (std::string line; std::getline(lines, line);) {
        // "[Group]  Name  : value"
        auto close = line.find(']');
        auto colon = line.find(" : ");
        if (close == std::string::npos || colon == std::string::npos) continue;
        std::string name = line.substr(close + 1, colon - close - 1);
        name.erase(0, name.find_first_not_of(' '));
        name.erase(name.find_last_not_of(' ') + 1);
        std::string value = line.substr(colon + 3);
        if (name == "FilePath") {
            current = value;
            result[current];
        } else {
            result[current][name].push_back(value);
        }
    }
    return result;
}

std::string trimmed(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
    return s;
}

double rational(const std::string& text) {
    auto slash = text.find('/');
    double num = std::stod(text.substr(0, slash));
    double den = slash == std::string::npos ? 1 : std::stod(text.substr(slash + 1));
    return num / den;
}

// Our value of a column in exiftool's plain form; "-" when we have none.
std::string ours(PictureMetadata& pm, const std::string& column, double& number, bool& numeric) {
    numeric = false;
    auto entry = [&](int section, int tag) { return pm.ExifTag(section, tag); };
    auto first_text = [](const ZNExif* e) { return std::get<std::string>(e->inhalt.at(0)); };
    const std::map<std::string, std::pair<int, int>> where = {
        {"Make", {1, 271}},        {"Model", {1, 272}},       {"DateTimeOriginal", {1, 36867}},
        {"ExposureTime", {1, 33434}}, {"FNumber", {1, 33437}}, {"FocalLength", {1, 37386}},
        {"ISO", {1, 34855}},       {"Orientation", {1, 274}}, {"GPSLatitude", {4, 2}},
        {"GPSLongitude", {4, 4}}};
    auto [section, tag] = where.at(column);
    const ZNExif* e = entry(section, tag);
    if (!e || e->inhalt.empty()) return "-";
    if (column == "Make" || column == "Model" || column == "DateTimeOriginal") return trimmed(first_text(e));
    numeric = true;
    if (column == "ISO" || column == "Orientation") {
        number = static_cast<double>(std::get<std::int64_t>(e->inhalt[0]));
    } else if (column == "GPSLatitude" || column == "GPSLongitude") {
        if (e->typ == kExifTypText && e->inhalt.size() == 1) return "text:" + first_text(e);
        if (e->inhalt.size() != 3) return "?";
        number = rational(first_text(e)) + rational(std::get<std::string>(e->inhalt[1])) / 60 +
                 rational(std::get<std::string>(e->inhalt[2])) / 3600;
    } else {
        number = rational(first_text(e));
    }
    return "number";
}

struct Checked {
    int files = 0;
    int values = 0;
};

// Reads every file's markers as a JPEG picture and compares with exiftool,
// which reads `exiftool_input[i]` (the file itself or its EXIF data alone).
Checked compare_with_exiftool(const std::vector<fs::path>& files, const std::vector<fs::path>& exiftool_input) {
    Checked checked;
    auto expected = exiftool_values(exiftool_input);
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i].filename().string());
        auto found = expected.find(exiftool_input[i].string());
        if (found == expected.end()) {
            ADD_FAILURE() << "exiftool gave nothing for " << exiftool_input[i];
            continue;
        }
        PictureMetadata pm;
        pm.set_source(std::make_shared<CapturedMetadata>(jpeg_markers(read_file(files[i]))), picture_type::jpeg);
        ++checked.files;
        for (const auto& column : kColumns) {
            SCOPED_TRACE(column);
            auto theirs_it = found->second.find(column);
            double number = 0;
            bool numeric = false;
            std::string mine = ours(pm, column, number, numeric);
            if (theirs_it == found->second.end()) {
                EXPECT_EQ(mine, "-");
                continue;
            }
            const std::vector<std::string>& theirs = theirs_it->second;
            ++checked.values;
            std::string all;
            for (const auto& t : theirs) all += "[" + t + "]";
            bool match = false;
            for (const auto& t : theirs) {
                if (!numeric) {
                    match = match || mine == trimmed(t);
                } else if (mine == "number") {
                    // exiftool prints the first of several values; its rounding differs slightly.
                    double reference = std::stod(t.substr(0, t.find(' ')));
                    match = match || std::fabs(number - reference) <= 1e-6 * std::max(1.0, std::fabs(reference));
                } else if (mine.rfind("text:", 0) == 0) {
                    // A coordinate written as text: exiftool reads its leading degrees.
                    match = match || std::stoi(mine.substr(5)) == static_cast<int>(std::stod(t));
                }
            }
            EXPECT_TRUE(match) << "ours: " << (mine == "number" ? std::to_string(number) : mine)
                               << ", exiftool: " << all;
        }
    }
    return checked;
}

std::vector<fs::path> jpegs_in(const fs::path& dir) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().extension() == ".jpg") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

TEST(ThirdPartyFiles, ExifOnlySamplesOfManyMakersEqualExiftool) {
    const fs::path dir = kData / "goexif" / "samples";
    ASSERT_TRUE(fs::is_directory(dir)) << "test data missing: run scripts/fetch-testdata.sh";
    // These files hold an APP1 segment and no picture, which exiftool refuses
    // as a JPEG; it reads the same EXIF bytes given alone as a TIFF structure.
    TempDir tmp;
    std::vector<fs::path> files = jpegs_in(dir), exif_alone;
    for (const auto& f : files) {
        CapturedMetadata captured = jpeg_markers(read_file(f));
        std::string tiff;
        for (const auto& [code, payload] : captured.jpeg_markers)
            if (code == 0xE1 && payload.rfind(std::string("Exif\0\0", 6), 0) == 0) tiff = payload.substr(6);
        exif_alone.push_back(tmp.path() / (f.filename().string() + ".exif"));
        std::ofstream(exif_alone.back(), std::ios::binary) << tiff;
    }
    Checked checked = compare_with_exiftool(files, exif_alone);
    EXPECT_GE(checked.files, 50);
    EXPECT_GE(checked.values, 300);
}

TEST(ThirdPartyFiles, CameraAndPhoneFilesWithMakerNotesAndGpsEqualExiftool) {
    const fs::path dir = kData / "exif-npm";
    ASSERT_TRUE(fs::is_directory(dir)) << "test data missing: run scripts/fetch-testdata.sh";
    std::vector<fs::path> files = jpegs_in(dir);
    files.push_back(kData / "goexif" / "sample1.jpg");
    Checked checked = compare_with_exiftool(files, files);
    EXPECT_GE(checked.files, 10);
    EXPECT_GE(checked.values, 40);
}

// The maker-note directory we walk holds as many entries as exiftool counts in it.
TEST(ThirdPartyFiles, MakerNotesOfRealCamerasAreWalked) {
    struct Case {
        std::string file;
        int camera_id;
    };
    const fs::path samples = kData / "goexif" / "samples";
    const std::vector<Case> cases = {
        {"2012-12-21-11-15-19-sep-IMG_0001.jpg", 4},                            // Canon EOS
        {"2006-08-03-16-29-38-sep-2006-08-03-16-29-38a.jpg", 4},                // Canon PowerShot
        {"2099-08-12-19-59-29-sep-2099-08-12-19-59-29a.jpg", 17},               // NIKON D70s, big-endian
        {"2009-04-11-03-01-38-sep-2009-04-11-03-01-38a.jpg", 17},               // NIKON COOLPIX
        {"2006-12-17-07-09-14-sep-2006-12-17-07-09-14a.jpg", 3},                // PENTAX "AOC"
        {"2007-05-12-08-19-07-sep-2007-05-12-08-19-07a.jpg", 6},                // CASIO "QVC"
        {"2007-11-07-11-40-44-sep-2007-11-07-11-40-44a.jpg", 8},                // FUJIFILM
        {"2012-06-02-10-12-28-sep-2012-06-02-10-12-28.jpg", 19},                // Panasonic
    };
    TempDir tmp;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string bytes = read_file(samples / c.file);
        CapturedMetadata captured = jpeg_markers(bytes);
        ASSERT_FALSE(captured.jpeg_markers.empty());
        const fs::path exif_alone = tmp.path() / "alone.exif";
        std::ofstream(exif_alone, std::ios::binary) << captured.jpeg_markers.front().second.substr(6);
        std::string verbose = run("exiftool -v2 " + quoted(exif_alone) + " 2>/dev/null");
        const std::string marker = "[MakerNotes directory with ";
        auto at = verbose.find(marker);
        ASSERT_NE(at, std::string::npos) << "exiftool sees no maker note";
        const int entries = std::stoi(verbose.substr(at + marker.size()));

        PictureMetadata pm;
        pm.set_source(std::make_shared<CapturedMetadata>(captured), picture_type::jpeg);
        EXPECT_GT(pm.ExifCount(kSectionMain), 5);
        EXPECT_EQ(pm.camera_id, c.camera_id);
        EXPECT_EQ(pm.ExifCount(kSectionMakernote), entries);
    }
}

TEST(ThirdPartyFiles, CorruptFilesEndCleanly) {
    const fs::path dir = kData / "goexif" / "corrupt";
    ASSERT_TRUE(fs::is_directory(dir)) << "test data missing: run scripts/fetch-testdata.sh";
    int files = 0;
    for (const auto& f : jpegs_in(dir)) {
        SCOPED_TRACE(f.filename().string());
        ++files;
        PictureMetadata pm;
        MetadataReadReport report = ReadImageMetadata(pm, jpeg_markers(read_file(f)), picture_type::jpeg);
        EXPECT_TRUE(report.damaged);
        EXPECT_LT(pm.ExifCount(), 1000);
    }
    EXPECT_EQ(files, 3);
}

// The component positions metadata.def gives Canon's camera settings match
// what the camera wrote: each named component holds exiftool's value.
TEST(ThirdPartyFiles, CanonCameraSettingsPositionsOfTheDefinitionFile) {
    const fs::path file = kData / "goexif" / "samples" / "2006-08-03-16-29-38-sep-2006-08-03-16-29-38a.jpg";
    CapturedMetadata captured = jpeg_markers(read_file(file));
    ASSERT_FALSE(captured.jpeg_markers.empty());
    TempDir tmp;
    const fs::path exif_alone = tmp.path() / "canon.exif";
    std::ofstream(exif_alone, std::ios::binary) << captured.jpeg_markers.front().second.substr(6);

    MetadataDefinition defs;
    ASSERT_TRUE(defs.load(fs::path(GALVORA_SOURCE_DIR) / "resources" / "metadata.def",
                          [](const std::string&, const std::string& text) { ADD_FAILURE() << text; }));
    PictureMetadata pm;
    pm.set_source(std::make_shared<CapturedMetadata>(captured), picture_type::jpeg);
    const ZNExif* settings = pm.ExifTag(kSectionMakernote, 1);
    ASSERT_NE(settings, nullptr);
    ASSERT_EQ(pm.camera_id, 4);

    const std::vector<std::pair<int, std::string>> positions = {
        {2, "MacroMode"}, {4, "Quality"}, {5, "CanonFlashMode"}, {8, "FocusMode"},
        {18, "MeteringMode"}, {19, "FocusRange"}, {20, "AFPoint"}};
    for (const auto& [position, exiftool_name] : positions) {
        SCOPED_TRACE(exiftool_name);
        EXPECT_NE(defs.ExifTagName(4, kSectionMakernote, 1, position), "");
        std::string theirs = run("exiftool -n -s3 -Canon:" + exiftool_name + " " + quoted(exif_alone));
        ASSERT_FALSE(theirs.empty());
        EXPECT_EQ(std::get<std::int64_t>(settings->inhalt.at(static_cast<std::size_t>(position - 1))),
                  std::stoll(theirs));
    }
}
