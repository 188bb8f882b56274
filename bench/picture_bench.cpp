// Speed of the picture object on a 24-megapixel camera JPEG: one processing
// step that makes an 800-pixel clone and a 120-pixel thumbnail, and a second
// run over the unchanged result (which must read no picture).
// Run after scripts/fetch-testdata.sh <build>/testdata; scripts/bench.sh
// prints the figures next to vipsthumbnail's.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include "image/image_file_record.h"
#include "image/picture/zn_image.h"
#include "image/picture_type.h"

namespace galvora {
namespace {

namespace fs = std::filesystem;

const fs::path& camera_jpeg() {
    static const fs::path p = fs::path(GALVORA_TESTDATA_DIR) / "images/pkg/exif/package/test/sony-alpha-6000.jpg";
    return p;
}

// A picture object set up as a gallery run sets it: clone 800 pixels on the
// longer side, thumbnail 120 pixels made from the clone.
struct Gallery {
    fs::path out = fs::temp_directory_path() / ("galvora-picture-bench-" + std::to_string(::getpid()));
    std::shared_ptr<ZNImageFile> record = std::make_shared<ZNImageFile>();
    ZNImage image;

    Gallery() {
        fs::create_directories(out / "thumbs");
        record->ODateiname = camera_jpeg().stem().string();
        record->ODateiart = "jpg";
        record->OBildtyp = picture_type::jpeg;
        record->CDateiart = "jpg";
        record->CBildtyp = picture_type::jpeg;
        record->TDateiname = "tn_" + record->ODateiname;
        record->TDateiart = "jpg";
        record->TBildtyp = picture_type::jpeg;
        image.ImageFile(record);
        image.OriginalPfad(camera_jpeg().parent_path().string());
        image.ClonePfad(out.string());
        image.ThumbPfad((out / "thumbs").string());
        image.ClonenDurchführen(true);
        image.CloneSeitenwahl(1);
        image.CloneAusdehnung(800);
        image.CloneQualität(85);
        image.CloneFilter(-2);
        image.ThumbDurchführen(true);
        image.ThumbVomClone(true);
        image.ThumbSeitenwahl(1);
        image.ThumbAusdehnung(120);
        image.ThumbQualität(80);
    }
    ~Gallery() {
        std::error_code ec;
        fs::remove_all(out, ec);
    }
    void forget_results() {
        std::error_code ec;
        fs::remove(out / (record->CDateiname + ".jpg"), ec);
        fs::remove(out / "thumbs" / (record->TDateiname + ".jpg"), ec);
    }
};

bool have_data(benchmark::State& state) {
    if (fs::exists(camera_jpeg())) return true;
    state.SkipWithError("test picture missing: run scripts/fetch-testdata.sh <build>/testdata");
    return false;
}

void BM_CloneAndThumbnail(benchmark::State& state) {
    if (!have_data(state)) return;
    Gallery gallery;
    for (auto _ : state) {
        state.PauseTiming();
        gallery.forget_results();
        state.ResumeTiming();
        if (!gallery.image.DoIt() || !gallery.image.CloneErstellt() || !gallery.image.ThumbErstellt()) {
            state.SkipWithError(("processing failed: " + gallery.image.Err().description).c_str());
            return;
        }
    }
    state.counters["pictures_per_second"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                               benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CloneAndThumbnail)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_UnchangedGallery(benchmark::State& state) {
    if (!have_data(state)) return;
    Gallery gallery;
    if (!gallery.image.DoIt()) {
        state.SkipWithError("processing failed");
        return;
    }
    for (auto _ : state) {
        gallery.image.DoIt();
        if (gallery.image.CloneErstellt() || gallery.image.ThumbErstellt()) {
            state.SkipWithError("an unchanged picture was processed again");
            return;
        }
    }
    state.counters["pictures_per_second"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                               benchmark::Counter::kIsRate);
}
BENCHMARK(BM_UnchangedGallery)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace galvora

BENCHMARK_MAIN();
