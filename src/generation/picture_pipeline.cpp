#include "generation/picture_pipeline.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <mutex>

#include "foundation/worker_threads.h"
#include "generation/run_picture.h"
#include "image/image_file_record.h"
#include "image/picture/script_hooks.h"
#include "image/picture/zn_image_run.h"
#include "image/picture_type.h"
#include "profile/clone_effect_list.h"
#include "profile/text_stamp.h"

namespace galvora {

namespace {

using Clock = std::chrono::steady_clock;

double microseconds_since(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// The texts of the list's text stamps when each only writes constant text
// (no script in it): by function name. Nothing when a stamp runs a script.
std::optional<std::map<std::string, std::string>> constant_stamp_texts(const CCloneEffekte& effects) {
    std::map<std::string, std::string> texts;
    for (long i = 1; i <= effects.count(); ++i) {
        if (dynamic_cast<const CTextStamp*>(effects.item(i).get()) == nullptr) continue;
        const std::string name = stempeltext_funktion(i);
        std::string text;
        if (script_function_defined(name) && !constant_script_output(name, text)) return std::nullopt;
        texts.emplace(name, std::move(text));
    }
    return texts;
}

std::string normal_path(const std::string& path) { return std::filesystem::path(path).lexically_normal().string(); }

// Reading a metafile starts a helper process. A process started while
// another thread holds a lock (fontconfig's, drawing a text stamp) would
// wait for it for ever, so such a picture is processed in its turn with no
// other picture in flight. A type left to be found by content may be one.
bool may_read_a_metafile(const ZNImageFile& r, bool clones, bool thumbs) {
    const auto may_be = [](int32_t type) { return type == picture_type::metafile || type == picture_type::undetermined; };
    return may_be(r.OBildtyp) || (clones && may_be(r.CBildtyp)) || (thumbs && may_be(r.TBildtyp));
}

}  // namespace

bool serial_run_requested() {
    const char* value = std::getenv("GALVORA_SERIAL");
    return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
}

bool processing_ahead_requested() {
    const char* value = std::getenv("GALVORA_SERIAL");
    return value != nullptr && std::strcmp(value, "0") == 0;
}

// The files a picture's processing reads (the original, an existing clone
// and thumbnail) and writes (clone and thumbnail), named as DoIt names them.
struct PictureFiles {
    std::string original;
    std::string clone;  // empty without clones
    std::string thumb;  // empty without thumbnails

    PictureFiles(const PictureJob& job, bool clones, bool thumbs) {
        const ZNImageFile& r = *job.record;
        original = normal_path(picture_file_path(job.original_folder, r.ODateiname, r.ODateiart));
        if (clones) {
            const std::string& name = r.CDateiname.empty() ? r.ODateiname : r.CDateiname;
            clone = normal_path(picture_file_path(job.clone_folder, name, r.CDateiart));
        }
        if (thumbs) thumb = normal_path(picture_file_path(job.thumb_folder, r.TDateiname, r.TDateiart));
    }

    // True when this picture reads a file that earlier writes.
    bool reads_what_is_written_by(const PictureFiles& earlier) const {
        for (const std::string* written : {&earlier.clone, &earlier.thumb}) {
            if (written->empty()) continue;
            if (*written == original || *written == clone || *written == thumb) return true;
        }
        return false;
    }
};

// One picture taken ahead: its job, the picture object that processes it on
// a worker with a record of its own, and the gate that holds back what the
// worker would show before the picture's turn.
struct PicturePipeline::Ahead : TurnGate {
    enum class State { queued, running, done, taken_back };
    enum class Turn { waiting, now, never };

    Ahead(PictureJob j, PictureFiles f) : job(std::move(j)), files(std::move(f)) {}

    PictureJob job;
    PictureFiles files;
    ZNImageFile record_then;  // the run's record when the picture was taken ahead
    std::shared_ptr<ZNImageFile> own_record;
    std::shared_ptr<RunPicture> object;

    std::mutex mutex;
    std::condition_variable changed;
    State state = State::queued;
    Turn turn = Turn::waiting;
    bool ok = false;
    ErrorInfo error;
    std::vector<std::string> runs_owed;  // script functions given by their text, to be run in turn
    Clock::time_point started;
    double work_us = -1;  // from the start to the gate (or the end), on the worker

    bool wait_for_turn() override {
        if (work_us < 0) work_us = microseconds_since(started);
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [this] { return turn != Turn::waiting; });
        return turn == Turn::now;
    }

    void give_turn(Turn t) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            turn = t;
        }
        changed.notify_all();
    }

    // True when no worker had started on it; it is then never started.
    bool take_back() {
        std::lock_guard<std::mutex> lock(mutex);
        if (state != State::queued) return false;
        state = State::taken_back;
        return true;
    }

    void wait_until_done() {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [this] { return state == State::done; });
    }

    // On the worker thread.
    void work() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (state == State::taken_back) return;
            state = State::running;
        }
        started = Clock::now();
        bool result = false;
        ErrorInfo e;
        {
            TurnGateScope scope(this);
            try {
                result = object->DoIt(e);
            } catch (const std::exception& x) {
                e = ErrorInfo{51, "DoIt", x.what()};
            } catch (...) {
                e = ErrorInfo{51, "DoIt", "unknown failure"};
            }
        }
        std::vector<std::string> owed = take_script_runs_owed();
        if (work_us < 0) work_us = microseconds_since(started);
        {
            std::lock_guard<std::mutex> lock(mutex);
            ok = result;
            error = std::move(e);
            runs_owed = std::move(owed);
            state = State::done;
        }
        changed.notify_all();
    }
};

PicturePipeline::PicturePipeline(RunPicture& picture, const CCloneEffekte& effects, JobAt job_at)
    : picture_(picture), effects_(effects), job_at_(std::move(job_at)) {
    if (serial_run_requested() || worker_count() == 0 || !picture.supports_processing_ahead()) return;
    // A clone made with scripts depends on the run's state in its turn;
    // text stamps that write constant text only are the exception.
    std::map<std::string, std::string> stamp_texts;
    if (picture.ClonenDurchführen()) {
        if (script_function_defined("_clone")) return;
        std::optional<std::map<std::string, std::string>> texts = constant_stamp_texts(effects);
        if (!texts) return;
        stamp_texts = std::move(*texts);
    }
    set_outputs_ahead(std::move(stamp_texts));
    ahead_limit_ = worker_count();
    always_ahead_ = processing_ahead_requested();
}

PicturePipeline::~PicturePipeline() {
    for (auto& [index, ahead] : in_flight_) give_up(*ahead);
    set_outputs_ahead({});
}

void PicturePipeline::give_up(Ahead& ahead) {
    if (ahead.take_back()) return;
    ahead.give_turn(Ahead::Turn::never);
    ahead.wait_until_done();
}

std::shared_ptr<RunPicture> PicturePipeline::free_object() {
    if (!spare_.empty()) {
        std::shared_ptr<RunPicture> object = std::move(spare_.back());
        spare_.pop_back();
        return object;
    }
    try {
        std::shared_ptr<RunPicture> object = neues_bildobjekt();
        bildobjekt_konfigurieren(*object, effects_);
        return object->supports_processing_ahead() ? object : nullptr;
    } catch (const std::exception&) {
        return nullptr;
    }
}

void PicturePipeline::take_ahead(size_t index, size_t at_most) {
    if (ahead_limit_ == 0) return;
    const bool clones = picture_.ClonenDurchführen();
    const bool thumbs = picture_.ThumbDurchführen();
    std::optional<PictureFiles> current;
    while (in_flight_.size() < std::min(at_most, ahead_limit_) && next_ <= index + ahead_limit_) {
        std::optional<PictureJob> job = job_at_(next_);
        if (!job || job->box != nullptr || job->record == nullptr || may_read_a_metafile(*job->record, clones, thumbs))
            return;
        PictureFiles files(*job, clones, thumbs);
        // Not before the pictures it depends on are done: those before it are
        // the one in its turn now and the ones in flight.
        if (!current) {
            std::optional<PictureJob> now = job_at_(index);
            if (now && now->record) current.emplace(*now, clones, thumbs);
        }
        if (current && files.reads_what_is_written_by(*current)) return;
        for (const auto& [other, ahead] : in_flight_) {
            if (files.reads_what_is_written_by(ahead->files)) return;
        }
        std::shared_ptr<RunPicture> object = free_object();
        if (!object) {
            ahead_limit_ = 0;
            return;
        }
        auto ahead = std::make_shared<Ahead>(*job, std::move(files));
        ahead->record_then = *job->record;
        ahead->own_record = std::make_shared<ZNImageFile>(*job->record);
        ahead->object = object;
        object->OriginalPfad(job->original_folder);
        object->ClonePfad(job->clone_folder);
        object->ThumbPfad(job->thumb_folder);
        object->ImageFile(ahead->own_record);
        object->PictureBox(nullptr);
        if (!run_on_worker([ahead] { ahead->work(); })) {
            spare_.push_back(std::move(object));
            ahead_limit_ = 0;
            return;
        }
        in_flight_.emplace(next_, std::move(ahead));
        ++next_;
    }
}

bool PicturePipeline::DoIt(size_t index, const PictureJob& job, ErrorInfo& error) {
    if (ahead_limit_ == 0 && in_flight_.empty()) return picture_.DoIt(error);
    // Pictures taken ahead that the run passed by are not reached any more.
    while (!in_flight_.empty() && in_flight_.begin()->first < index) {
        give_up(*in_flight_.begin()->second);
        spare_.push_back(std::move(in_flight_.begin()->second->object));
        in_flight_.erase(in_flight_.begin());
    }
    std::shared_ptr<Ahead> mine;
    if (auto found = in_flight_.find(index); found != in_flight_.end()) {
        mine = std::move(found->second);
        in_flight_.erase(found);
    }
    if (next_ <= index) next_ = index + 1;
    // The workers go on with the pictures after this one meanwhile.
    if (!may_read_a_metafile(*job.record, picture_.ClonenDurchführen(), picture_.ThumbDurchführen()))
        take_ahead(index, pictures_to_take_ahead(index));
    if (mine) {
        const bool unchanged = mine->job == job && *job.record == mine->record_then;
        bool taken = false;
        if (!mine->take_back()) {
            const Clock::time_point asked = Clock::now();
            mine->give_turn(unchanged ? Ahead::Turn::now : Ahead::Turn::never);
            mine->wait_until_done();
            note(hand_over_us_, microseconds_since(asked));
            note(work_us_, mine->work_us);
            taken = unchanged;
        }
        std::shared_ptr<RunPicture> object = std::move(mine->object);
        if (taken) {
            mine->own_record->copy(*job.record);
            picture_.take_results(*object);
            error = mine->error;
            // The stamp texts the worker was given: their runs, now, leave
            // what they leave (the return value) where they would have.
            for (const std::string& name : mine->runs_owed) {
                try {
                    script_function_output(name);
                } catch (const std::exception&) {
                }
            }
            spare_.push_back(std::move(object));
            return mine->ok;
        }
        spare_.push_back(std::move(object));
    }
    const Clock::time_point start = Clock::now();
    const bool ok = picture_.DoIt(error);
    note(work_us_, microseconds_since(start));
    return ok;
}

void PicturePipeline::note(double& average, double sample) {
    // Slow to follow, so that a picture held up by the machine now and then
    // does not turn the decision below back and forth.
    average = average < 0 ? sample : average + 0.05 * (sample - average);
}

size_t PicturePipeline::pictures_to_take_ahead(size_t index) {
    // A picture that takes less time than handing it over and back is
    // quicker done in its turn; on a busy machine the hand-over grows. While
    // that is so, one picture in 128 is still taken ahead to measure again.
    if (hand_over_us_ >= 0 && work_us_ >= 0) {
        if (worth_it_ && work_us_ < hand_over_us_) worth_it_ = false;
        if (!worth_it_ && work_us_ > 3 * hand_over_us_) worth_it_ = true;
    }
    if (worth_it_ || always_ahead_) return ahead_limit_;
    return index % 128 == 0 ? 1 : 0;
}

}  // namespace galvora
