#pragma once
// Keeps two runs from writing into one output root at the same time: both
// would write the same pages, pictures and side files, and each would leave
// the other's work half replaced. The lock is the output root folder itself
// (an advisory lock on the folder, so it names no file of its own and leaves
// nothing behind); it goes with the process, also when the process is killed.
#include <string>

namespace galvora {

class Ausgabesperre {
public:
    Ausgabesperre() = default;
    ~Ausgabesperre();
    Ausgabesperre(const Ausgabesperre&) = delete;
    Ausgabesperre& operator=(const Ausgabesperre&) = delete;

    // Takes the lock of `root`. While another run holds it, this one says so
    // once in the run's log and waits, letting the window system process its
    // messages, until the other run ends; false when a cancel (the stop
    // button, an interrupt) ended the wait. A folder that cannot be locked
    // (missing, or on a file system without locks) is written without one.
    bool nehmen(const std::string& root);

private:
    int fd_ = -1;
};

}  // namespace galvora
