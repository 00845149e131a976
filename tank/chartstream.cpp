#include "chartstream.h"

#include <array>
#include <atomic>
#include <exception>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace brimwell {
namespace {

constexpr int kBlockLines = 1024;  // about 80 KB of text: few writes
constexpr int kSlots = 3;          // blocks built ahead of the one handed on next

// One stretch of the chart: its text and what its levels reported.
struct Block {
    std::string text;
    std::vector<std::string> failures;
    std::exception_ptr error;  // what building it threw
};

class RecordingReporter : public FailureReporter {
public:
    void recordInto(Block& block) { block_ = &block; }
    void reportFailure(std::string_view message) override {
        block_->failures.emplace_back(message);
    }

private:
    Block* block_ = nullptr;
};

int dataLineCount(const TankChartParams& params) {
    return params.stepCount > 0 ? params.stepCount / 3 + 1 : 0;
}

// Appends the chart's next `lines` lines, fewer at the chart's end.
void appendLines(TankChart& chart, int lines, std::string& text) {
    for (int i = 0; i < lines; ++i) {
        const auto line = chart.nextLine();
        if (!line) {
            break;
        }
        text += *line;
        text += "\r\n";
    }
}

bool streamOnOneThread(const TankChartParams& params, FailureReporter& reporter,
                       const ChartSink& sink) {
    TankChart chart(params, reporter);
    std::string block;
    appendLines(chart, kBlockLines + 1, block);  // the header comes first
    while (!block.empty()) {
        if (!sink(block)) {
            return false;
        }
        block.clear();
        appendLines(chart, kBlockLines, block);
    }
    return true;
}

// Waits until `counter` passes `seen`. It spins a little first: the other thread is usually
// about to get there, and a sleeping thread can be slow to wake on a busy machine.
int awaitChange(const std::atomic<int>& counter, int seen) {
    constexpr int kSpins = 200;
    int now = counter.load(std::memory_order_acquire);
    for (int spin = 0; now == seen && spin < kSpins; ++spin) {
        std::this_thread::yield();
        now = counter.load(std::memory_order_acquire);
    }
    while (now == seen) {
        counter.wait(seen, std::memory_order_acquire);
        now = counter.load(std::memory_order_acquire);
    }
    return now;
}

// The blocks of one chart, built by whichever of two threads is free, in any order, into a few
// slots, and handed on in order by the calling thread. Block i lives in slot i % kSlots, which is
// free once block i - kSlots has been handed on.
class BlockPool {
public:
    BlockPool(const TankChartParams& params, int blockCount)
        : params_(params), blockCount_(blockCount) {
        // Room for a block of the usual lines, so that building one seldom allocates.
        for (Slot& slot : slots_) {
            slot.block.text.reserve(std::size_t{kBlockLines + 1} * 96);
        }
        helper_ = std::thread(&BlockPool::help, this);
    }

    ~BlockPool() {
        stopping_ = true;
        handedOn_.fetch_add(1, std::memory_order_release);  // wakes a helper waiting for a slot
        handedOn_.notify_all();
        helper_.join();
    }

    BlockPool(const BlockPool&) = delete;
    BlockPool& operator=(const BlockPool&) = delete;

    bool handOn(FailureReporter& reporter, const ChartSink& sink) {
        Builder builder(params_);
        for (int index = 0; index < blockCount_; ++index) {
            Slot& slot = slots_[index % kSlots];
            int built = slot.built.load(std::memory_order_acquire);
            while (built != index) {
                if (!buildNext(builder)) {
                    built = awaitChange(slot.built, built);
                } else {
                    built = slot.built.load(std::memory_order_acquire);
                }
            }
            if (slot.block.error) {
                std::rethrow_exception(slot.block.error);
            }
            for (const auto& failure : slot.block.failures) {
                reporter.reportFailure(failure);
            }
            if (!sink(slot.block.text)) {
                return false;
            }
            handedOn_.store(index + 1, std::memory_order_release);
            handedOn_.notify_one();
        }
        return true;
    }

private:
    struct Slot {
        Block block;
        std::atomic<int> built = -1;  // the block the slot holds, once complete
    };

    // A thread's own chart, which it moves to whichever block it builds.
    struct Builder {
        explicit Builder(const TankChartParams& params) : chart(params, reporter) {}
        RecordingReporter reporter;
        TankChart chart;
    };

    // Claims the next block not yet claimed and builds it, when its slot is free.
    bool buildNext(Builder& builder) {
        int index = nextToBuild_.load(std::memory_order_relaxed);
        do {
            if (index >= blockCount_ ||
                index >= handedOn_.load(std::memory_order_acquire) + kSlots) {
                return false;
            }
        } while (!nextToBuild_.compare_exchange_weak(index, index + 1));
        Slot& slot = slots_[index % kSlots];
        Block& block = slot.block;
        block.text.clear();
        block.failures.clear();
        block.error = nullptr;
        try {
            builder.reporter.recordInto(block);
            if (index == 0) {
                block.text += kTankChartHeader;
                block.text += "\r\n";
            }
            builder.chart.continueAtLine(index * kBlockLines);
            appendLines(builder.chart, kBlockLines, block.text);
        } catch (...) {
            block.error = std::current_exception();
        }
        slot.built.store(index, std::memory_order_release);
        slot.built.notify_one();
        return true;
    }

    void help() {
        try {
            Builder builder(params_);
            int handedOn = handedOn_.load(std::memory_order_acquire);
            while (!stopping_ && nextToBuild_.load(std::memory_order_relaxed) < blockCount_) {
                if (!buildNext(builder)) {
                    handedOn = awaitChange(handedOn_, handedOn);
                }
            }
        } catch (...) {
            // Only making the helper's own chart can throw here: the caller then builds alone.
        }
    }

    const TankChartParams& params_;
    const int blockCount_;
    std::array<Slot, kSlots> slots_;
    std::atomic<int> nextToBuild_ = 0;
    std::atomic<int> handedOn_ = 0;
    std::atomic<bool> stopping_ = false;
    std::thread helper_;
};

}  // namespace

bool StreamTankChart(const TankChartParams& params, FailureReporter& reporter,
                     const ChartSink& sink) {
    const int lines = dataLineCount(params);
    if (lines <= 4 * kBlockLines || std::thread::hardware_concurrency() < 2) {
        return streamOnOneThread(params, reporter, sink);
    }
    std::optional<BlockPool> pool;
    try {
        pool.emplace(params, (lines + kBlockLines - 1) / kBlockLines);
    } catch (const std::system_error&) {
        return streamOnOneThread(params, reporter, sink);  // no thread to be had
    }
    return pool->handOn(reporter, sink);
}

}  // namespace brimwell
