#include "foundation/worker_threads.h"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace galvora {

namespace {

constexpr unsigned kMaxThreads = 256;
// Pieces per thread: several, so that a thread that finishes early (or was
// busy when the work began) takes over part of the work of a slow one.
constexpr size_t kPiecesPerThread = 4;

thread_local bool t_worker = false;
thread_local TurnGate* t_gate = nullptr;

std::atomic<size_t> g_test_piece{0};
std::atomic<bool> g_test_inline{false};

unsigned processors_from_system() {
    if (const char* text = std::getenv("GALVORA_THREADS"); text != nullptr && *text != '\0') {
        unsigned n = 0;
        const char* end = text + std::strlen(text);
        const auto r = std::from_chars(text, end, n);
        if (r.ec == std::errc() && r.ptr == end && n >= 1) return std::min(n, kMaxThreads);
    }
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        const int n = CPU_COUNT(&set);
        if (n >= 1) return std::min(static_cast<unsigned>(n), kMaxThreads);
    }
    return std::clamp(std::thread::hardware_concurrency(), 1u, kMaxThreads);
}

class Pool {
public:
    explicit Pool(unsigned threads) {
        for (unsigned i = 0; i < threads; ++i) {
            try {
                threads_.emplace_back([this] { work(); });
            } catch (const std::system_error&) {
                break;  // fewer threads than wanted: the callers do more themselves
            }
        }
    }

    unsigned size() const { return static_cast<unsigned>(threads_.size()); }

    void push(std::function<void()> task, bool urgent) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            (urgent ? urgent_ : queued_).push_back(std::move(task));
        }
        wake_.notify_one();
    }

private:
    void work() {
        t_worker = true;
        for (;;) {
            std::function<void()> task;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [this] { return !urgent_.empty() || !queued_.empty(); });
                auto& from = urgent_.empty() ? queued_ : urgent_;
                task = std::move(from.front());
                from.pop_front();
            }
            task();  // tasks catch their own exceptions
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> urgent_;
    std::deque<std::function<void()>> queued_;
    std::vector<std::thread> threads_;
};

// Started on first use and never stopped: the threads wait for work until
// the process ends, so no exit path has to wait for them.
Pool& pool() {
    static Pool* const p = new Pool(usable_processors() > 1 ? usable_processors() : 0);
    return *p;
}

// One parallel_for: its pieces, taken one after another by whichever thread
// comes first.
struct Split {
    size_t count = 0;
    size_t pieces = 0;
    size_t piece = 0;  // fixed piece length (tests), or 0: even shares
    const std::function<void(size_t, size_t)>* body = nullptr;
    std::atomic<size_t> next{0};
    size_t done = 0;
    std::exception_ptr error;
    std::mutex mutex;
    std::condition_variable finished;

    void run_pieces() {
        for (size_t k = next++; k < pieces; k = next++) {
            std::exception_ptr thrown;
            try {
                if (piece != 0) {
                    (*body)(k * piece, std::min(count, (k + 1) * piece));
                } else {
                    (*body)(count * k / pieces, count * (k + 1) / pieces);
                }
            } catch (...) {
                thrown = std::current_exception();
            }
            std::lock_guard<std::mutex> lock(mutex);
            if (thrown && !error) error = thrown;
            if (++done == pieces) finished.notify_all();
        }
    }
};

}  // namespace

unsigned usable_processors() {
    static const unsigned n = processors_from_system();
    return n;
}

unsigned worker_count() { return pool().size(); }

bool on_worker_thread() { return t_worker; }

void set_parallel_split_for_tests(size_t piece, bool inline_only) {
    g_test_piece = piece;
    g_test_inline = inline_only;
}

void parallel_for(size_t count, size_t min_piece, const std::function<void(size_t, size_t)>& body) {
    if (count == 0) return;
    const size_t test_piece = g_test_piece;
    const unsigned helpers_available = g_test_inline ? 0 : worker_count();
    size_t pieces = 1;
    if (test_piece != 0) {
        pieces = (count + test_piece - 1) / test_piece;
    } else if (helpers_available > 0) {
        pieces = std::min(count / std::max<size_t>(min_piece, 1), (helpers_available + size_t{1}) * kPiecesPerThread);
    }
    if (pieces <= 1) {
        body(0, count);
        return;
    }
    auto split = std::make_shared<Split>();
    split->count = count;
    split->pieces = pieces;
    split->piece = test_piece;
    split->body = &body;
    // A helper that starts after the caller took the last piece finds nothing
    // to do; the shared state outlives this call for it.
    const size_t helpers = std::min<size_t>(pieces - 1, helpers_available);
    for (size_t i = 0; i < helpers; ++i) pool().push([split] { split->run_pieces(); }, true);
    split->run_pieces();
    std::unique_lock<std::mutex> lock(split->mutex);
    split->finished.wait(lock, [&] { return split->done == split->pieces; });
    split->body = nullptr;
    if (split->error) std::rethrow_exception(split->error);
}

bool run_on_worker(std::function<void()> task) {
    if (worker_count() == 0) return false;
    pool().push(std::move(task), false);
    return true;
}

TurnGate* current_turn_gate() { return t_gate; }

TurnGateScope::TurnGateScope(TurnGate* gate) : previous_(t_gate) { t_gate = gate; }
TurnGateScope::~TurnGateScope() { t_gate = previous_; }

}  // namespace galvora
