// Pictures taken ahead of their turn: each picture's file appears only in its
// turn, and what was found on disk is what the serial run finds; a record that
// changed before the turn, or a run that ends early, leaves nothing of the work
// done ahead. The picture objects write one small file per picture through the
// program's file writer (which holds the file back until the turn).
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "foundation/text_codec.h"
#include "foundation/worker_threads.h"
#include "generation/picture_pipeline.h"
#include "generation_test_support.h"
#include "image/image_file_record.h"
#include "image/picture_type.h"
#include "profile/clone_effect_list.h"

namespace galvora {
namespace {

namespace fs = std::filesystem;
using testing::GenerationTest;
using testing::RecordingPicture;

class AheadPicture : public RecordingPicture {
public:
    bool supports_processing_ahead() const override { return true; }
    void take_results(RunPicture& other) override {
        auto& o = dynamic_cast<AheadPicture&>(other);
        thread = o.thread;
        found_existing = o.found_existing;
        others_running = o.others_running;
    }
    bool DoIt(ErrorInfo& error) override {
        const int running = ++active;
        struct Done {
            ~Done() { --active; }
        } done;
        others_running = running - 1;
        thread = std::this_thread::get_id();
        // A little work, so that the pipeline finds taking pictures ahead worth it.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        const fs::path file = fs::path(clone_pfad) / (record->CDateiname + ".txt");
        found_existing = fs::exists(file);
        std::error_code ec;
        const bool written = write_file_atomic(file, record->ODateiname, ec);
        record->CBytes = written ? 1 : -1;
        error = written ? ErrorInfo{} : ErrorInfo{75, "DoIt", "write"};
        return written;
    }

    std::thread::id thread;
    bool found_existing = false;
    int others_running = 0;  // pictures being processed elsewhere when this one started
    static inline std::atomic<int> active{0};
};

class PicturePipelineTest : public GenerationTest {
protected:
    void SetUp() override {
        GenerationTest::SetUp();
        set_run_picture_factory([] { return std::make_shared<AheadPicture>(); });
        picture.ClonenDurchführen(true);
        for (int i = 0; i < 12; ++i) add("p" + std::to_string(i));
    }

    void add(const std::string& name) {
        PictureJob job;
        job.original_folder = base.string();
        job.clone_folder = out.string();
        job.record = std::make_shared<ZNImageFile>();
        job.record->ODateiname = name;
        job.record->ODateiart = "jpg";
        job.record->OBildtyp = picture_type::jpeg;
        job.record->CBildtyp = picture_type::jpeg;
        job.record->TBildtyp = picture_type::jpeg;
        job.record->CDateiname = name;
        job.record->CDateiart = "txt";
        jobs.push_back(job);
    }

    PicturePipeline::JobAt job_at() {
        return [this](size_t i) -> std::optional<PictureJob> {
            if (i >= jobs.size()) return std::nullopt;
            return jobs[i];
        };
    }

    // Picture i in its turn, as the run gives it to its picture object.
    bool turn(PicturePipeline& pipeline, size_t i) {
        picture.ClonePfad(jobs[i].clone_folder);
        picture.ImageFile(jobs[i].record);
        ErrorInfo error;
        return pipeline.DoIt(i, jobs[i], error);
    }

    bool written(const std::string& name) const { return fs::exists(out / (name + ".txt")); }

    AheadPicture picture;
    CCloneEffekte effects;
    std::vector<PictureJob> jobs;
};

TEST_F(PicturePipelineTest, EachPictureAppearsInItsTurnWithItsRecordFilled) {
    ::setenv("GALVORA_SERIAL", "0", 1);
    PicturePipeline pipeline(picture, effects, job_at());
    ::unsetenv("GALVORA_SERIAL");
    ASSERT_EQ(pipeline.takes_pictures_ahead(), worker_count() > 0);
    size_t ahead = 0;
    for (size_t i = 0; i < jobs.size(); ++i) {
        EXPECT_TRUE(turn(pipeline, i));
        // This picture's file and those before it exist, none after it.
        for (size_t j = 0; j < jobs.size(); ++j) {
            EXPECT_EQ(written("p" + std::to_string(j)), j <= i) << "turn " << i << ", file " << j;
        }
        EXPECT_EQ(jobs[i].record->CBytes, 1);
        EXPECT_FALSE(picture.found_existing);
        if (picture.thread != std::this_thread::get_id()) ++ahead;
    }
    if (worker_count() > 0) {
        EXPECT_GT(ahead, jobs.size() / 2);
    }
}

TEST_F(PicturePipelineTest, AFileOfAnEarlierPictureIsFoundAsInTheSerialRun) {
    // Pictures 3 and 4 write the same file: 4 must find the one 3 wrote.
    jobs[4].record->CDateiname = "p3";
    ::setenv("GALVORA_SERIAL", "0", 1);
    PicturePipeline pipeline(picture, effects, job_at());
    ::unsetenv("GALVORA_SERIAL");
    for (size_t i = 0; i < jobs.size(); ++i) {
        EXPECT_TRUE(turn(pipeline, i));
        EXPECT_EQ(picture.found_existing, i == 4) << "picture " << i;
    }
}

TEST_F(PicturePipelineTest, WorkAheadIsPutAsideWhenTheRecordChangedOrTheRunEnds) {
    ::setenv("GALVORA_SERIAL", "0", 1);
    {
        PicturePipeline pipeline(picture, effects, job_at());
        ::unsetenv("GALVORA_SERIAL");
        EXPECT_TRUE(turn(pipeline, 0));
        // Picture 1 was taken ahead under its old name; its turn sees the new one.
        jobs[1].record->CDateiname = "renamed";
        EXPECT_TRUE(turn(pipeline, 1));
        EXPECT_TRUE(written("renamed"));
        EXPECT_EQ(picture.thread, std::this_thread::get_id());
        EXPECT_TRUE(turn(pipeline, 2));
        // The run ends here: the pictures taken ahead write nothing.
    }
    EXPECT_TRUE(written("p0"));
    EXPECT_TRUE(written("p2"));
    for (const std::string name : {"p1", "p3", "p4", "p5", "p11"}) EXPECT_FALSE(written(name)) << name;
    // Nor do temporary files stay behind.
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(out)) files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 3u);
}

TEST_F(PicturePipelineTest, AMetafileIsProcessedInItsTurnWithNothingInFlight) {
    jobs[5].record->OBildtyp = picture_type::metafile;
    ::setenv("GALVORA_SERIAL", "0", 1);
    PicturePipeline pipeline(picture, effects, job_at());
    ::unsetenv("GALVORA_SERIAL");
    for (size_t i = 0; i < jobs.size(); ++i) {
        EXPECT_TRUE(turn(pipeline, i));
        if (i == 5) {
            EXPECT_EQ(picture.thread, std::this_thread::get_id());
            EXPECT_EQ(picture.others_running, 0);
        }
    }
}

TEST_F(PicturePipelineTest, GalvoraSerialProcessesEveryPictureInItsTurn) {
    ::setenv("GALVORA_SERIAL", "1", 1);
    PicturePipeline pipeline(picture, effects, job_at());
    ::unsetenv("GALVORA_SERIAL");
    EXPECT_FALSE(pipeline.takes_pictures_ahead());
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(turn(pipeline, i));
        EXPECT_EQ(picture.thread, std::this_thread::get_id());
    }
}

}  // namespace
}  // namespace galvora
