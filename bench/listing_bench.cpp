// Times what the issue of a slow drive and of huge folders is about, on the
// real main window under Wine: starting with a drive that answers slowly,
// listing folders of up to a million files against enumerating them alone,
// the window's answers meanwhile, the memory a listing takes and sorting by
// name; then the operations of bench/operations_bench.cpp. Each figure is
// printed beside its goal.
//   qv_bench.exe [--small] [--listings]   (--listings: no operations)
// The folders D:\bench\n<count> are made beforehand from the Unix side
// (scripts/bench.sh): through Wine a million files take hours to make.
#include "app/app.h"
#include "bench/bench_support.h"
#include "browse/browse.h"
#include "browse/browse_parts.h"
#include "browse/item_text.h"
#include "tests/win/harness.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace qvbench;

const char kBenchRoot[] = "D:\\bench";
constexpr double kShownGoal = 0.5;
constexpr double kAnswerGoal = 0.1;
constexpr double kFirstRowsGoal = 0.2;
constexpr double kListingRatioGoal = 1.2;
constexpr double kMemoryGoalMegabytes = 250.0;
constexpr double kSortGoal = 2.0;
constexpr double kSlowDelay = 2.0;
constexpr DWORD kFirstSeconds = 10;

std::vector<int> ListingSizes()
{
    return g_small ? std::vector<int>{1000, 10000} : std::vector<int>{10000, 100000, 1000000};
}

std::string FolderOf(int entries) { return std::string(kBenchRoot) + "\\n" + std::to_string(entries); }

void PrintFigure(const char* what, double value, const char* unit, double goal)
{
    RecordCheck(true);
    printf("%-72s %8.3f %s  (goal <= %.1f %s) %s\n", what, value, unit, goal, unit, Verdict(value <= goal));
}

// Starts the main window while one drive takes kSlowDelay seconds for every
// question, and watches the window's answers for its first seconds.
HWND StartWithSlowDrive()
{
    char slow = qvtest::SlowDrive();
    if (slow)
        qvtest::SetSlowDriveDelay(g_small ? 0.3 : kSlowDelay);
    else
        printf("no slow drive on this machine (FUSE): the start is timed with fast drives only\n");
    Stopwatch watch;
    HWND window = StartApplication(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    double shown = watch.Seconds();
    if (!window)
        return nullptr;
    double slowest = 0.0;
    {
        AnswerProbe probe(window);
        while (watch.Seconds() < (g_small ? 2 : kFirstSeconds))
            qvtest::Pump(10);
        slowest = probe.Slowest();
    }
    printf("start, one drive taking %.1f s for every question:\n", g_small ? 0.3 : kSlowDelay);
    PrintFigure("  start to the window shown (in the process)", shown, "s", kShownGoal);
    PrintFigure("  the window's slowest answer to a message in its first seconds", slowest, "s", kAnswerGoal);
    qvtest::SetSlowDriveDelay(0);
    qvtest::WaitIdle();
    return window;
}

// The time the enumeration alone takes: FindFirstFileA to its first entry,
// and FindFirstFileA and FindNextFileA over the whole folder.
void TimeEnumeration(const std::string& folder, double& first, double& all, int& entries)
{
    WIN32_FIND_DATAA found;
    Stopwatch watch;
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &found);
    first = watch.Seconds();
    entries = 0;
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found) != 0) {
        if (strcmp(found.cFileName, ".") != 0 && strcmp(found.cFileName, "..") != 0)
            ++entries;
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    all = watch.Seconds();
}

struct ListingFigures {
    double firstRows = 0.0;  // click to the first rows shown
    double all = 0.0;        // click to every row listed
    double slowestAnswer = 0.0;
};

// The window's answers are probed in a run of their own: the probe's
// messages cost the window's thread time of their own.
ListingFigures TimeListing(HWND window, const std::string& folder, bool probed)
{
    qvtest::Show(window, "E:\\");
    ListingFigures figures;
    std::unique_ptr<AnswerProbe> probe(probed ? new AnswerProbe(window) : nullptr);
    Stopwatch watch;
    ShowLocation(window, folder.c_str());
    qvtest::DeliverUntil([&] { return lstrcmpA(CurrentFolder(), folder.c_str()) == 0 && qvtest::RowCount(window) > 0; },
                         60000);
    figures.firstRows = watch.Seconds();
    qvtest::DeliverUntil([] { return !IsWorkPending(); }, 120000);
    figures.all = watch.Seconds();
    if (probe)
        figures.slowestAnswer = probe->Slowest();
    return figures;
}

bool RowsInNameOrder()
{
    RowStore& rows = Rows();
    for (size_t index = 1; index < rows.Count(); ++index) {
        if (lstrcmpA(rows.Name(rows.At(index - 1)), rows.Name(rows.At(index))) > 0)
            return false;
    }
    return true;
}

void MeasureListings(HWND window)
{
    std::vector<int> sizes = ListingSizes();
    for (int entries : sizes) {
        std::string folder = FolderOf(entries);
        bool largest = entries == sizes.back();
        // Other work on the machine only adds time: small folders take a few more runs, for the best of them.
        int runs = g_small ? 1 : largest ? 2 : 5;
        double enumFirst = 1e9, enumAll = 1e9;
        ListingFigures best;
        best.firstRows = best.all = 1e9;
        int found = 0;
        bool listedAll = true;
        for (int run = 0; run < runs; ++run) {
            double first = 0.0, all = 0.0;
            TimeEnumeration(folder, first, all, found);
            enumFirst = std::min(enumFirst, first);
            enumAll = std::min(enumAll, all);
            ListingFigures figures = TimeListing(window, folder, false);
            best.firstRows = std::min(best.firstRows, figures.firstRows);
            best.all = std::min(best.all, figures.all);
            listedAll = listedAll && qvtest::RowCount(window) == entries && found == entries;
        }
        if (largest)
            best.slowestAnswer = TimeListing(window, folder, true).slowestAnswer;
        printf("%d files in %s (best of %d; enumeration alone: first entry %.3f s, all %.3f s):\n", entries,
               folder.c_str(), runs, enumFirst, enumAll);
        ReportCheck(listedAll, "  every file listed, once");
        if (largest)
            PrintFigure("  click to the first rows shown, beyond FindFirstFileA's first entry",
                        best.firstRows - enumFirst, "s", kFirstRowsGoal);
        PrintFigure("  click to all listed, against the enumeration alone", best.all / enumAll, "x",
                    kListingRatioGoal);
        if (!largest)
            continue;
        PrintFigure("  the window's slowest answer to a message meanwhile", best.slowestAnswer, "s", kAnswerGoal);
        PrintFigure("  peak working set of the process", PeakWorkingSetMegabytes(), "MB", kMemoryGoalMegabytes);
        double sort = TimeThenPump([&] { SortItems(window, SortKey::Name); });
        PrintFigure("  sort by name", sort, "s", kSortGoal);
        ReportCheck(RowsInNameOrder() && qvtest::RowCount(window) == entries, "  sorted by name, every row once");
    }
}

// The folders of many files are scripts/bench.sh's to remove: through Wine,
// removing a million files takes hours.
bool RemoveBenchData()
{
    bool operationDataGone = RemoveOperationData();
    for (const char* made : {"\\vault", "\\delete", "\\tree"})
        qvtest::RemoveTree(kBenchRoot + std::string(made));
    return operationDataGone;
}

}  // namespace

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IONBF, 0);  // lines show up as they are made, even through a pipe
    g_small = argc > 1 && strcmp(argv[1], "--small") == 0;
    qvtest::WatchDialogs();  // a box nobody answers ends the run with its text
    HWND window = StartWithSlowDrive();
    if (!window) {
        printf("the main window could not be created\n");
        return 1;
    }
    for (int entries : ListingSizes()) {
        if (!qvtest::PathExists(FolderOf(entries))) {
            printf("%s is missing: scripts/bench.sh makes it\n", FolderOf(entries).c_str());
            return 1;
        }
    }
    MeasureListings(window);
    if (!(argc > 1 && strcmp(argv[argc - 1], "--listings") == 0))
        RunOperationBenchmarks(window);

    qvtest::Show(window, "");
    Stopwatch watch;
    bool gone = RemoveBenchData();
    RecordCheck(gone);
    printf("removed the benchmark's files in %.1f s: %s\n", watch.Seconds(), gone ? "ok" : "LEFT BEHIND");
    printf("checks: %s\n", ChecksPassed() ? "all passed" : "SOME FAILED");
    ExitProcess(ChecksPassed() ? 0 : 1);
}
