#pragma once
// Pictures processed ahead of their turn. While the run's thread runs the
// scripts and writes the pages of one picture, worker threads read, decode,
// resize, apply effects and encode the pictures after it, each on a picture
// object of its own, configured like the run's. In a picture's turn the
// run's picture object takes over what the worker left, as if it had
// processed the picture itself in that moment.
//
// Nothing that others can see changes its order: a worker puts the files it
// writes in place only in the picture's turn (and not at all when the run
// ends before), so files, scripts, hooks, messages, progress, the log and the
// pages come in the order of the run that processes one picture after the
// other. At most as many pictures as there are worker threads are in flight.
//
// A picture is processed in its turn on the run's thread, as without the
// pipeline, when its processing depends on the run's state or could see what
// an earlier picture writes:
// - the run processes pictures one after another when the environment asks
//   for it (GALVORA_SERIAL), there are no worker threads, or the clones run
//   scripts (a "_clone" hook, text stamps with script in them: those run
//   with the picture's state in its turn; a stamp of plain text is given its
//   text, and its function runs in the picture's turn for what it leaves);
// - a picture is not taken ahead while it would read a file that a picture
//   before it, not yet done, writes (two pictures with one clone name, a
//   clone that is another picture's original), nor while the preview box is
//   in use; a metafile (read by a helper process) is processed in its turn
//   with no other picture in flight;
// - what a worker did is put aside, and the picture processed anew in its
//   turn, when the picture's folders or record are no longer what they were
//   when it was taken ahead;
// - while pictures take less time than handing them over from a worker to
//   their turn (small pictures, or a machine busy with other work), they
//   are processed in their turn; now and then one is taken ahead to measure
//   again.
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/error.h"

namespace galvora {

class CCloneEffekte;
class PictureBoxPort;
class RunPicture;
class ZNImageFile;

// What the run gives its picture object for one picture before DoIt.
struct PictureJob {
    std::string original_folder;
    std::string clone_folder;
    std::string thumb_folder;
    std::shared_ptr<ZNImageFile> record;
    PictureBoxPort* box = nullptr;

    bool operator==(const PictureJob&) const = default;
};

// True when GALVORA_SERIAL is set (to anything but "" or "0"): pictures are
// then processed one after another, each in its turn.
bool serial_run_requested();
// True when GALVORA_SERIAL is "0": every picture that can be is taken ahead,
// however little time it takes (for comparisons with the serial run).
bool processing_ahead_requested();

class PicturePipeline {
public:
    // The job of the index-th picture of the run (0-based, over all
    // directories in order), or nothing past the last.
    using JobAt = std::function<std::optional<PictureJob>(size_t index)>;

    // picture is the run's picture object, configured from the profile;
    // effects the clone-effect list it was given.
    PicturePipeline(RunPicture& picture, const CCloneEffekte& effects, JobAt job_at);
    // Pictures taken ahead and not reached write nothing; waits for their workers.
    ~PicturePipeline();
    PicturePipeline(const PicturePipeline&) = delete;
    PicturePipeline& operator=(const PicturePipeline&) = delete;

    // The index-th picture in its turn. The run's picture object already
    // holds job's folders and record. Takes later pictures ahead, then gives
    // the result of this one: what its worker left, or DoIt now. Returns
    // what DoIt returns, with error filled likewise.
    bool DoIt(size_t index, const PictureJob& job, ErrorInfo& error);

    // False when every picture is processed in its turn.
    bool takes_pictures_ahead() const { return ahead_limit_ > 0; }

private:
    struct Ahead;

    void take_ahead(size_t index, size_t at_most);
    std::shared_ptr<RunPicture> free_object();
    void give_up(Ahead& ahead);
    static void note(double& average, double sample);
    size_t pictures_to_take_ahead(size_t index);

    RunPicture& picture_;
    const CCloneEffekte& effects_;
    JobAt job_at_;
    size_t ahead_limit_ = 0;
    size_t next_ = 0;  // first index not yet looked at for taking ahead
    std::map<size_t, std::shared_ptr<Ahead>> in_flight_;
    std::vector<std::shared_ptr<RunPicture>> spare_;
    // Running averages, in microseconds, of a picture's own work and of
    // handing a picture taken ahead over to its turn (negative: none yet).
    double work_us_ = -1;
    double hand_over_us_ = -1;
    bool worth_it_ = true;
    bool always_ahead_ = false;
};

}  // namespace galvora
