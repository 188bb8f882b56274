#pragma once
// The worker threads of the process: one set, started on first use, that
// serves two kinds of work. Pixel work splits itself into pieces with
// parallel_for; a run hands pictures to run_on_worker to process them ahead of
// their turn. A piece of pixel work is taken before a waiting picture, so a
// picture split into pieces finishes first. There are as many workers as the
// process may use processors; with one processor there are none, and all
// work runs on the thread that asks for it.
//
// Environment: GALVORA_THREADS=n sets the number of threads work may use
// (n = 1: no worker threads at all).
#include <cstddef>
#include <functional>

namespace galvora {

// The processors this process may run on (its CPU affinity; taskset limits
// it), or GALVORA_THREADS when that holds a number from 1 up. At least 1.
unsigned usable_processors();

// The worker threads there are: usable_processors(), or none when that is 1.
unsigned worker_count();

// True on one of the worker threads.
bool on_worker_thread();

// Splits [0, count) into consecutive pieces of at least min_piece items and
// runs body(begin, end) for each, on idle worker threads and the calling
// thread, and returns when every piece is done. The pieces must not depend on
// one another (each writes its own part only), so the result does not depend
// on the split. An exception of a piece is rethrown here after all pieces
// ended (the first one, when several threw).
void parallel_for(size_t count, size_t min_piece, const std::function<void(size_t begin, size_t end)>& body);

// Queues task for a worker thread, behind the tasks queued before it. False
// (task not taken) when there are no worker threads.
bool run_on_worker(std::function<void()> task);

// For tests: makes every parallel_for split its items into pieces of exactly
// `piece` items (the last one shorter; 0 restores the normal split, which
// makes a few pieces per thread, none smaller than the caller's min_piece),
// and with `inline_only` runs all pieces on the calling thread.
void set_parallel_split_for_tests(size_t piece, bool inline_only);

// Work done ahead of its turn: a picture processed on a worker thread while
// the run's thread is still at an earlier picture. Whatever such work does
// that others can see must wait for its turn; in particular a file it writes
// is put in place only then. The run gives each such piece of work its gate.
class TurnGate {
public:
    virtual ~TurnGate() = default;
    // Blocks until the work's turn has come. False when it never will (the
    // run stopped before): the work must then leave everything as it was.
    virtual bool wait_for_turn() = 0;
};

// The gate of the work the calling thread is doing ahead of its turn, or
// null (the thread works in turn).
TurnGate* current_turn_gate();

// Makes gate the calling thread's gate for a scope.
class TurnGateScope {
public:
    explicit TurnGateScope(TurnGate* gate);
    ~TurnGateScope();
    TurnGateScope(const TurnGateScope&) = delete;
    TurnGateScope& operator=(const TurnGateScope&) = delete;

private:
    TurnGate* previous_;
};

}  // namespace galvora
