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

// Seconds `act` takes; the messages it leaves behind are handled afterwards, untimed.
double TimeThenPump(const std::function<void()>& act);
// Seconds to show a location, starting from an empty list as every listing does.
double TimeShowingLocation(HWND window, const char* location);

const char* Verdict(bool met);

// Records a check's outcome; a failed check fails the run.
void RecordCheck(bool ok);
// Records and prints "  what: ok" or "  what: MISMATCH".
void ReportCheck(bool ok, const std::string& what);
bool ChecksPassed();
// Checks the item list's row count.
void CheckRowCount(HWND window, int expected);

// Where Wine creates a new file or folder without reading the whole folder
// first; the path itself outside a Wine session.
std::string FastCreationPath(const std::string& path);
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
