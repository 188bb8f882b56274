#pragma once
// Set-up of the picture-object tests: a temporary gallery (originals, clones,
// thumbnails folders), originals written in the test, a fresh script engine,
// and a fake picture box.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "foundation/file_helpers.h"
#include "foundation/ole_date.h"
#include "image/image_file_record.h"
#include "image/image_test_support.h"
#include "image/picture/picture_box_port.h"
#include "image/picture/zn_image.h"
#include "image/picture_io.h"
#include "image/picture_type.h"
#include "profile/clone_effect_list.h"
#include "script/compiler.h"
#include "script/engine.h"
#include "script/script_test_support.h"

namespace galvora::test {

// A picture box that records what is drawn into it.
class FakePictureBox : public PictureBoxPort {
public:
    FakePictureBox(float width, float height) : width_(width), height_(height) {}
    float scale_width() const override { return width_; }
    float scale_height() const override { return height_; }
    void clear() override { ++clears; }
    bool draw_rgb(const PictureBuffer& picture, int32_t x, int32_t y, int32_t w, int32_t h) override {
        drawn_x = x, drawn_y = y, drawn_w = w, drawn_h = h;
        drawn_buffer_w = picture.width(), drawn_buffer_h = picture.height();
        return draw_succeeds;
    }
    void copy_content(PictureBuffer& target) const override {
        for (int32_t y = 0; y < target.height(); ++y)
            for (int32_t x = 0; x < target.width(); ++x) {
                uint8_t* p = target.pixel(x, y);
                p[0] = 200, p[1] = 100, p[2] = 50;
            }
    }

    bool draw_succeeds = true;
    int clears = 0;
    int32_t drawn_x = -1, drawn_y = -1, drawn_w = -1, drawn_h = -1;
    int32_t drawn_buffer_w = -1, drawn_buffer_h = -1;

private:
    float width_;
    float height_;
};

class PictureTest : public ::testing::Test {
public:
    void SetUp() override {
        galvora::testing::deutsch_waehlen();
        script_objekt_anlegen();
        originals = dir.path() / "pics";
        clones = dir.path() / "out";
        thumbs = dir.path() / "out" / "thumbs";
        std::filesystem::create_directories(originals);
        std::filesystem::create_directories(thumbs);
        image.OriginalPfad(originals.string());
        image.ClonePfad(clones.string());
        image.ThumbPfad(thumbs.string());
        image.CloneEffekte(&effects);
    }

    // Writes an original of the given type into the originals folder.
    std::string write_original(const std::string& file, const PictureBuffer& picture, int32_t type,
                               const CapturedMetadata* markers = nullptr) {
        const std::string path = (originals / file).string();
        int32_t used = 0;
        WriteImage(path, type, picture, 90, 0, false, 1, used, markers);
        return path;
    }

    // A record for original name.ext, clone and thumbnail of the given types.
    std::shared_ptr<ZNImageFile> record(const std::string& name, const std::string& ext, int32_t type,
                                        const std::string& clone_ext = "jpg",
                                        int32_t clone_type = picture_type::jpeg,
                                        const std::string& thumb_ext = "png",
                                        int32_t thumb_type = picture_type::png) {
        auto r = std::make_shared<ZNImageFile>();
        r->ODateiname = name, r->ODateiart = ext, r->OBildtyp = type;
        r->CDateiart = clone_ext, r->CBildtyp = clone_type;
        r->TDateiname = "t_" + name, r->TDateiart = thumb_ext, r->TBildtyp = thumb_type;
        image.ImageFile(r);
        return r;
    }

    std::string clone_path(const ZNImageFile& r) const { return (clones / (r.CDateiname + "." + r.CDateiart)).string(); }
    std::string thumb_path(const ZNImageFile& r) const { return (thumbs / (r.TDateiname + "." + r.TDateiart)).string(); }

    static void set_date(const std::string& path, double date) { ASSERT_TRUE(dateizeit_setzen(path, date)); }
    // A whole-second date some time ago, so that "now" is always later.
    static double past(int seconds_more = 0) { return std::floor(ole_now() * 86400.0 - 3600 - seconds_more) / 86400.0; }

    static void compile(const std::string& name, const std::string& source) {
        ASSERT_EQ(uebersetze(0, 0, name, source), 0) << fehlermeldung();
    }

    TempDir dir;
    std::filesystem::path originals, clones, thumbs;
    CCloneEffekte effects;
    ZNImage image;
};

}  // namespace galvora::test
