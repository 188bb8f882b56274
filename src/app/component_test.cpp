#include "app/component_test.h"

#include <unistd.h>

#include <filesystem>
#include <random>
#include <system_error>

#include "foundation/log.h"
#include "foundation/messages.h"
#include "foundation/program_info.h"
#include "foundation/string_helpers.h"
#include "image/picture_buffer.h"
#include "image/picture_io.h"
#include "platform/fonts.h"

namespace galvora {

namespace {

namespace fs = std::filesystem;

// A folder of its own below the temporary folder, removed with the object.
class ScratchFolder {
public:
    ScratchFolder() {
        std::random_device device;
        path_ = fs::temp_directory_path() /
                ("galvora-start-" + std::to_string(::getpid()) + "-" + std::to_string(device()));
        fs::create_directories(path_, ec_);
    }
    ~ScratchFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    bool ok() const { return !ec_; }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
    std::error_code ec_;
};

// Writes a small picture with the codec and reads its size back.
bool codec_works(int32_t type_code, const char* extension) {
    try {
        ScratchFolder folder;
        if (!folder.ok()) return false;
        PictureBuffer buffer = PictureBuffer::allocate(8, 6);
        for (int32_t y = 0; y < 6; ++y)
            for (int32_t x = 0; x < 8; ++x) {
                uint8_t* p = buffer.pixel(x, y);
                p[0] = static_cast<uint8_t>(x * 30);
                p[1] = static_cast<uint8_t>(y * 40);
                p[2] = 128;
            }
        const std::string file = (folder.path() / (std::string("probe.") + extension)).string();
        int32_t used = 0;
        WriteImage(file, type_code, buffer, 90, 0, false, 1, used);
        int32_t width = 0;
        int32_t height = 0;
        GetImageDims(file, type_code, width, height);
        return width == 8 && height == 6;
    } catch (const std::exception&) {
        return false;
    }
}

bool metadata_definition_present(const fs::path& file) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(file.parent_path(), ec)) {
        if (!utf8_equal_nocase(entry.path().filename().string(), file.filename().string())) continue;
        if (entry.is_regular_file(ec)) return true;
    }
    return false;
}

}  // namespace

std::vector<Komponente> programmkomponenten() {
    const fs::path definition = program_folder() / "metadata.def";
    return {
        {"JPEG codec (libjpeg-turbo)", [] { return codec_works(6, "jpg"); }},
        {"PNG codec (libpng)", [] { return codec_works(10, "png"); }},
        {"TIFF codec (libtiff)", [] { return codec_works(14, "tif"); }},
        {"GIF codec (giflib)", [] { return codec_works(5, "gif"); }},
        {"fonts (fontconfig)", [] { return !list_font_families().empty(); }},
        {definition.string(), [definition] { return metadata_definition_present(definition); }},
    };
}

bool startbedingungen_pruefen(const std::vector<Komponente>& components) {
    log_line("Testing Startup Conditions START");
    for (const Komponente& component : components) {
        log_line("Testing file " + component.path + " START");
        bool present = false;
        try {
            present = component.present && component.present();
        } catch (const std::exception&) {
            present = false;
        }
        if (!present) {
            log_line("Testing file " + component.path + " FAILED");
            meldung(program_title(), MB_ICON_STOP, "ErrComponentMissing", {component.path});
            return false;
        }
        log_line("Testing file " + component.path + " OK");
    }
    log_line("Testing Startup Conditions END");
    return true;
}

bool startbedingungen_pruefen() { return startbedingungen_pruefen(programmkomponenten()); }

}  // namespace galvora
