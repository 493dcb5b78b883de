#pragma once
// What the benchmarks share: timing, printing a figure's verdict and a
// check's outcome, and making many files quickly under Wine.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>

namespace qvbench {

// Other work on the machine only ever adds time, so each figure is the best
// of a few runs.
constexpr int kRuns = 3;

class Stopwatch {
public:
    Stopwatch() { QueryPerformanceCounter(&start_); }
    double Seconds() const;

private:
    LARGE_INTEGER start_;
};

template <typename Measure> double BestOf(int runs, Measure measure)
{
    double best = measure();
    for (int run = 1; run < runs; ++run)
        best = std::min(best, measure());
    return best;
}

// Small sizes and single runs: make test runs the benchmark so, to see that it still ends.
extern bool g_small;
inline int Runs() { return g_small ? 1 : kRuns; }

// Seconds `act` takes; the messages it leaves behind are handled afterwards, untimed.
double TimeThenPump(const std::function<void()>& act);
// Seconds to show a location until all its rows are there.
double TimeShowingLocation(HWND window, const char* location);

// Measures from a second thread how long the window takes to answer a
// message, while the window's thread goes on with its loop.
class AnswerProbe {
public:
    explicit AnswerProbe(HWND window);
    ~AnswerProbe();
    double Slowest();  // seconds; stops the probe
    AnswerProbe(const AnswerProbe&) = delete;
    AnswerProbe& operator=(const AnswerProbe&) = delete;

private:
    static DWORD WINAPI Run(void* probe);
    HWND window_;
    HANDLE thread_ = nullptr;
    volatile LONG stop_ = 0;
    double slowest_ = 0.0;
};

void PrintPeakMemory();
double PeakWorkingSetMegabytes();

const char* Verdict(bool met);

// Records a check's outcome; a failed check fails the run.
void RecordCheck(bool ok);
// Records and prints "  what: ok" or "  what: MISMATCH".
void ReportCheck(bool ok, const std::string& what);
bool ChecksPassed();
// Checks the item list's row count.
void CheckRowCount(HWND window, int expected);

bool CreateSizedFile(const std::string& path, DWORD size);
// The name of the index-th benchmark file: mostly "f000123.ext", every
// twentieth with a Chinese stem, one in eleven without an extension.
std::string EntryName(int index);
// Creates the files EntryName(0) to EntryName(count - 1) in an existing folder.
bool CreateNumberedFiles(const std::string& folder, int count);

// The vault transfers, the vault view over two drives, the numbered folder
// tree and deleting through the shell, each through the main window's commands.
void RunOperationBenchmarks(HWND window);
// Removes what they leave on the disk outside D:\bench; true when it is gone.
bool RemoveOperationData();

}  // namespace qvbench
