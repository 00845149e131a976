#pragma once

// What the seeded monkeys share: the action log printed on a fault or a crash, the seeded random
// choices, and the watch that stops a run whose action hangs.

#include <QMessageLogContext>
#include <QString>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <deque>
#include <initializer_list>
#include <iterator>
#include <mutex>
#include <numeric>
#include <random>
#include <string>
#include <thread>

namespace brimwell::monkey {

// ---------------------------------------------------------------------------------------------
// The action log: the last actions, printed when something goes wrong (also from a crash).

inline std::timed_mutex logMutex;
inline std::deque<std::string> logTail;
inline std::atomic<quint64> actionsDone{0};
inline quint64 runSeed = 0;
inline bool verbose = false;
// How the run is started again: the program, and the options after SEED COUNT (" comma").
inline const char* reproduceProgram = "brimwell_monkey";
inline const char* reproduceOptions = "";

inline void note(const QString& line) {
    const std::string text = line.toStdString();
    if (verbose) {
        std::fprintf(stdout, "%s\n", text.c_str());
    }
    const std::lock_guard lock(logMutex);
    logTail.push_back(text);
    if (logTail.size() > 60) {
        logTail.pop_front();
    }
}

inline void printTail() {
    std::fprintf(stderr, "seed %llu, action %llu; the last actions:\n", static_cast<unsigned long long>(runSeed),
                 static_cast<unsigned long long>(actionsDone.load()));
    for (const auto& line : logTail) {
        std::fprintf(stderr, "  %s\n", line.c_str());
    }
    std::fprintf(stderr, "reproduce with: %s %llu %llu%s verbose\n", reproduceProgram,
                 static_cast<unsigned long long>(runSeed), static_cast<unsigned long long>(actionsDone.load()),
                 reproduceOptions);
    std::fflush(stderr);
}

inline const int kCrashSignals[] = {SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL};
inline void (*previousHandlers[std::size(kCrashSignals)])(int);

// Prints the log, then lets the handler that was there before (a sanitizer's) report the crash.
extern "C" inline void onCrash(int signal) {
    std::fprintf(stderr, "\nMONKEY CRASH (signal %d)\n", signal);
    printTail();  // not async-signal-safe, but the process is lost anyway
    for (std::size_t i = 0; i < std::size(kCrashSignals); ++i) {
        if (kCrashSignals[i] == signal) {
            std::signal(signal, previousHandlers[i] == SIG_ERR ? SIG_DFL : previousHandlers[i]);
        }
    }
    std::raise(signal);
}

inline void onQtMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    note("  qt: " + message);
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "MONKEY FATAL: %s\n", qPrintable(message));
        printTail();
        std::_Exit(1);
    }
}

// Quoted, with control and non-ASCII characters visible, so a log line can be typed again.
inline QString quoted(const QString& text) {
    QString out = "\"";
    for (const QChar c : text.left(120)) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e) {
            out += QString("\\u%1").arg(c.unicode(), 4, 16, QChar('0'));
        } else {
            out += c;
        }
    }
    return out + (text.size() > 120 ? QString("...\" (%1 chars)").arg(text.size()) : QString("\""));
}

// ---------------------------------------------------------------------------------------------
// Random choices, the same for the same seed.

class Random {
public:
    explicit Random(quint64 seed) : engine(seed) {}
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine); }
    bool chance(int percent) { return below(100) < percent; }
    // An index into the weights, each drawn as often as its weight says.
    int weighted(std::initializer_list<int> weights) {
        int roll = below(std::accumulate(weights.begin(), weights.end(), 0));
        int index = 0;
        for (const int weight : weights) {
            if (roll < weight) {
                break;
            }
            roll -= weight;
            ++index;
        }
        return index;
    }
    template <typename List>
    auto pick(const List& list) {
        return list.at(below(static_cast<int>(list.size())));
    }

private:
    std::mt19937_64 engine;
};

// Prints the log and stops the run when one action has not finished after two minutes.
inline void startHangWatch() {
    std::thread([] {
        quint64 last = actionsDone.load();
        int still = 0;
        for (;;) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            const quint64 now = actionsDone.load();
            still = now == last ? still + 1 : 0;
            last = now;
            if (still >= 120) {
                std::fprintf(stderr, "\nMONKEY HANG: one action has run for two minutes\n");
                // The hung action may hold the log: wait a second for it, and never read the log
                // without the lock.
                const std::unique_lock lock(logMutex, std::chrono::seconds(1));
                if (lock.owns_lock()) {
                    printTail();
                } else {
                    std::fprintf(stderr, "the action log is unavailable (held by the hung action)\n");
                }
                std::_Exit(1);
            }
        }
    }).detach();
}

}  // namespace brimwell::monkey
