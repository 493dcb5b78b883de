// Times folder listings, sorting and expanding a tree node on the real main
// window under Wine, then the operations of bench/operations_bench.cpp, and
// prints each figure beside its goal.
#include "bench/bench_support.h"
#include "base/app_state.h"
#include "base/controls.h"
#include "browse/browse.h"
#include "browse/browse_parts.h"
#include "browse/item_text.h"
#include "tests/win/harness.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace qvbench;
using qvtest::Pump;
using qvtest::RemoveTree;
using qvtest::RowCount;
using qvtest::RowText;

const char kBenchRoot[] = "D:\\bench";

constexpr int kSubFolders = 4;
// One run for the largest listing, which takes long.
constexpr int kLargestListingRuns = 1;

constexpr int kFloorEntries = 10000;
constexpr int kNaiveSample = 300;
constexpr double kFloorRatioGoal = 3.0;
constexpr double kNaiveSpeedUpGoal = 50.0;
constexpr double kSortGoalSeconds = 1.0;

void PrintPeakMemory()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    printf("  peak working set %.1f MB, peak pagefile usage %.1f MB\n",
           static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0),
           static_cast<double>(counters.PeakPagefileUsage) / (1024.0 * 1024.0));
}

// A folder of exactly `entries` entries: a few sub-folders, the rest files.
bool CreateFolderOfEntries(const std::string& folder, int entries)
{
    if (!CreateDirectoryA(folder.c_str(), nullptr))
        return false;
    for (int index = 0; index < kSubFolders; ++index) {
        std::string sub = folder + (index % 2 ? "\\子目录" : "\\folder") + std::to_string(index);
        if (!CreateDirectoryA(sub.c_str(), nullptr))
            return false;
    }
    return CreateNumberedFiles(folder, entries - kSubFolders);
}

std::string PrepareFolder(int entries)
{
    std::string folder = std::string(kBenchRoot) + "\\n" + std::to_string(entries);
    Stopwatch watch;
    if (!CreateFolderOfEntries(folder, entries)) {
        printf("could not create %s (error %lu)\n", folder.c_str(), GetLastError());
        return "";
    }
    printf("created %s: %d entries in %.1f s\n", folder.c_str(), entries, watch.Seconds());
    return folder;
}

void SetColumnText(HWND list, int row, int column, const char* text)
{
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void InsertFourColumnRow(HWND list, int row, int image, const WIN32_FIND_DATAA& found, const char* type)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = row;
    item.pszText = const_cast<char*>(found.cFileName);
    item.iImage = image;
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));

    char size[30];
    snprintf(size, sizeof size, "%luKB", found.nFileSizeLow / 1024 + 1);
    SYSTEMTIME time = {};
    FileTimeToSystemTime(&found.ftLastWriteTime, &time);
    char stamp[40];
    snprintf(stamp, sizeof stamp, "%d-%02d-%02d %02d:%02d", time.wYear, time.wMonth, time.wDay, time.wHour,
             time.wMinute);
    SetColumnText(list, row, 1, size);
    SetColumnText(list, row, 2, type);
    SetColumnText(list, row, 3, stamp);
}

bool IsDotEntry(const char* name) { return strcmp(name, ".") == 0 || strcmp(name, "..") == 0; }

// The same list emptied and set up for a folder, outside any timing.
void StartEmptyFolderView(HWND window)
{
    ClearItemList(window);
    SetColumnSet(window, kFolderColumns);
    Pump(0);
}

double MeasureFolderListing(HWND window, const std::string& folder, int entries, int runs)
{
    double seconds = BestOf(runs, [&] { return TimeShowingLocation(window, folder.c_str()); });
    printf("listing %d entries (best of %d): %.3f s, %.0f rows/s\n", entries, runs, seconds, entries / seconds);
    CheckRowCount(window, entries);
    PrintPeakMemory();
    return seconds;
}

// Lists up to `limit` entries of a folder into an emptied list with redrawing
// off, one row each by `insertRow`; returns the rows made and the seconds taken.
template <typename InsertRow>
int TimeRawRows(HWND window, const std::string& folder, int limit, InsertRow insertRow, double& seconds)
{
    StartEmptyFolderView(window);
    HWND list = ItemList(window);
    Stopwatch watch;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    int row = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!IsDotEntry(found.cFileName))
                insertRow(list, row++, found);
        } while (row < limit && FindNextFileA(search, &found));
        FindClose(search);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    seconds = watch.Seconds();
    Pump(0);
    return row;
}

// Enumerating the folder and inserting plain four-column rows: what any
// listing of it costs at least.
double TimeFloor(HWND window, const std::string& folder)
{
    double seconds = 0.0;
    TimeRawRows(
        window, folder, INT_MAX,
        [](HWND list, int row, const WIN32_FIND_DATAA& found) { InsertFourColumnRow(list, row, 0, found, "文件"); },
        seconds);
    return seconds;
}

double MeasureFloor(HWND window, const std::string& folder, int entries)
{
    double seconds = BestOf(kRuns, [&] { return TimeFloor(window, folder); });
    printf("floor, %d entries (FindFirstFileA/FindNextFileA + LVM_INSERTITEMA + 3 x LVM_SETITEMTEXTA, redraw off; "
           "best of %d): %.3f s\n",
           entries, kRuns, seconds);
    CheckRowCount(window, entries);
    return seconds;
}

// One row as a naive listing makes it: two shell look-ups, both icons kept,
// COM set up and torn down around them.
void InsertNaiveRow(HWND list, int row, const std::string& path, const WIN32_FIND_DATAA& found)
{
    HRESULT com = CoInitialize(nullptr);
    SHFILEINFOA info = {};
    SHGetFileInfoA(path.c_str(), 0, &info, sizeof info,
                   SHGFI_ICON | SHGFI_SMALLICON | SHGFI_DISPLAYNAME | SHGFI_TYPENAME);
    ImageList_ReplaceIcon(g_app.smallIcons, -1, info.hIcon);
    if (info.hIcon)
        DestroyIcon(info.hIcon);
    SHFILEINFOA large = {};
    SHGetFileInfoA(path.c_str(), 0, &large, sizeof large, SHGFI_ICON);
    int image = ImageList_ReplaceIcon(g_app.largeIcons, -1, large.hIcon);
    if (large.hIcon)
        DestroyIcon(large.hIcon);
    if (SUCCEEDED(com))
        CoUninitialize();
    InsertFourColumnRow(list, row, image, found, info.szTypeName);
}

// Seconds per row of the naive listing, over the first `sample` entries.
double MeasureNaivePerRow(HWND window, const std::string& folder, int sample)
{
    double seconds = 0.0;
    int rows = TimeRawRows(
        window, folder, sample,
        [&](HWND list, int row, const WIN32_FIND_DATAA& found) {
            InsertNaiveRow(list, row, folder + "\\" + found.cFileName, found);
        },
        seconds);
    double perRow = rows > 0 ? seconds / rows : 0.0;
    printf("naive per-row look-up, %d-row sample: %.3f s, %.2f ms/row\n", rows, seconds, perRow * 1000.0);
    ClearItemList(window);  // releases the sample's icons
    return perRow;
}

// The leading number of a size text such as "123KB"; 0 for a folder's empty size.
long SizeNumber(const std::string& text) { return strtol(text.c_str(), nullptr, 10); }

bool RowsInOrder(HWND window, int key)
{
    int rows = RowCount(window);
    int column = key == kSortByName ? 0 : 1;
    std::string previous = RowText(window, 0, column);
    for (int row = 1; row < rows; ++row) {
        std::string current = RowText(window, row, column);
        bool inOrder = key == kSortByName ? lstrcmpA(previous.c_str(), current.c_str()) <= 0
                                          : SizeNumber(previous) <= SizeNumber(current);
        if (!inOrder)
            return false;
        previous = std::move(current);
    }
    return true;
}

// Seconds for one sort; false in `inOrder` when the rows did not come out in order.
double TimeSort(HWND window, int key, bool& inOrder)
{
    double seconds = TimeThenPump([&] { SortItems(window, key); });
    inOrder = inOrder && RowsInOrder(window, key);
    return seconds;
}

void PrintSort(HWND window, const char* keyName, double seconds, bool inOrder)
{
    RecordCheck(inOrder);
    printf("sort %d rows by %s (best of %d): %.3f s (goal <= %.1f s) %s; order %s\n", RowCount(window), keyName, kRuns,
           seconds, kSortGoalSeconds, Verdict(seconds <= kSortGoalSeconds), inOrder ? "ok" : "WRONG");
}

// The keys alternate, so every sort starts from the other key's order.
void MeasureSorts(HWND window)
{
    double byName = 1e9, bySize = 1e9;
    bool nameOrder = true, sizeOrder = true;
    for (int run = 0; run < kRuns; ++run) {
        byName = std::min(byName, TimeSort(window, kSortByName, nameOrder));
        bySize = std::min(bySize, TimeSort(window, kSortBySize, sizeOrder));
    }
    PrintSort(window, "name", byName, nameOrder);
    PrintSort(window, "size", bySize, sizeOrder);
}

void RunFolderBenchmarks(HWND window)
{
    const int sizes[] = {1000, kFloorEntries, 100000};
    const int runs[] = {kRuns, kRuns, kLargestListingRuns};
    std::vector<std::string> folders;
    for (int entries : sizes)
        folders.push_back(PrepareFolder(entries));
    for (const std::string& folder : folders) {
        if (folder.empty()) {
            RecordCheck(false);
            return;
        }
    }

    // The first listing of a run also asks the shell about each kind of file.
    printf("first listing of the run, %d entries: %.3f s\n", sizes[0], TimeShowingLocation(window, folders[0].c_str()));
    printf("(every listing below starts from an empty list; the shell already knows the kinds)\n");
    double listing = 0.0;
    for (size_t index = 0; index < folders.size(); ++index) {
        double seconds = MeasureFolderListing(window, folders[index], sizes[index], runs[index]);
        if (sizes[index] == kFloorEntries)
            listing = seconds;
    }

    const std::string& floorFolder = folders[1];
    double floor = MeasureFloor(window, floorFolder, kFloorEntries);
    double ratio = listing / floor;
    printf("listing/floor, %d entries: %.2f (goal <= %.1f) %s\n", kFloorEntries, ratio, kFloorRatioGoal,
           Verdict(ratio <= kFloorRatioGoal));

    double naivePerRow = MeasureNaivePerRow(window, floorFolder, kNaiveSample);
    double naive = naivePerRow * kFloorEntries;
    double speedUp = naive / listing;
    printf("naive listing of %d rows, extrapolated: %.1f s; speed-up of the listing: %.0fx (goal >= %.0fx) %s\n",
           kFloorEntries, naive, speedUp, kNaiveSpeedUpGoal, Verdict(speedUp >= kNaiveSpeedUpGoal));

    TimeShowingLocation(window, floorFolder.c_str());
    printf("the %d-entry folder listed again, for sorting\n", kFloorEntries);
    CheckRowCount(window, kFloorEntries);
    MeasureSorts(window);
}

// The tree node of a folder under D:, found by expanding its way down.
HTREEITEM ExpandToNode(HWND tree, const char* name)
{
    HTREEITEM computer = TreeView_GetRoot(tree);
    for (HTREEITEM drive = TreeView_GetChild(tree, computer); drive; drive = TreeView_GetNextSibling(tree, drive)) {
        TVITEMA item = {};
        item.mask = TVIF_PARAM;
        item.hItem = drive;
        TreeView_GetItem(tree, &item);
        if (lstrcmpA(reinterpret_cast<const char*>(item.lParam), "D:") != 0)
            continue;
        TreeView_Expand(tree, drive, TVE_EXPAND);
        for (HTREEITEM child = TreeView_GetChild(tree, drive); child; child = TreeView_GetNextSibling(tree, child)) {
            char text[MAX_PATH] = {};
            TVITEMA named = {};
            named.mask = TVIF_TEXT;
            named.hItem = child;
            named.pszText = text;
            named.cchTextMax = sizeof text;
            TreeView_GetItem(tree, &named);
            if (lstrcmpA(text, name) == 0)
                return child;
        }
    }
    return nullptr;
}

void MeasureTreeExpansion(HWND window, int folders)
{
    std::string parent = std::string(kBenchRoot) + "\\tree";
    if (!CreateDirectoryA(parent.c_str(), nullptr))
        return;
    for (int index = 0; index < folders; ++index)
        CreateDirectoryA(FastCreationPath(parent + "\\sub" + std::to_string(index)).c_str(), nullptr);
    HWND tree = FolderTree(window);
    HTREEITEM bench = ExpandToNode(tree, "bench");
    TreeView_Expand(tree, bench, TVE_EXPAND);
    HTREEITEM node = TreeView_GetChild(tree, bench);
    Stopwatch watch;
    TreeView_Expand(tree, node, TVE_EXPAND);
    double seconds = watch.Seconds();
    int children = 0;
    for (HTREEITEM child = TreeView_GetChild(tree, node); child; child = TreeView_GetNextSibling(tree, child))
        ++children;
    printf("expanding a tree node of %d sub-folders: %.3f s\n", folders, seconds);
    ReportCheck(children == folders, "nodes " + std::to_string(children) + ", sub-folders " + std::to_string(folders));
}

// True when nothing the benchmarks made is left on the disk.
bool RemoveBenchData()
{
    RemoveTree(kBenchRoot);
    bool operationDataGone = RemoveOperationData();
    return operationDataGone && !qvtest::PathExists(kBenchRoot);
}

}  // namespace

int main()
{
    setvbuf(stdout, nullptr, _IONBF, 0);  // lines show up as they are made, even through a pipe
    qvtest::WatchDialogs();               // the delete benchmark answers the shell's question through it
    HWND window = qvtest::StartMainWindow();
    if (!window) {
        printf("the main window could not be created\n");
        return 1;
    }
    RemoveBenchData();  // what an interrupted run left
    if (!CreateDirectoryA(kBenchRoot, nullptr)) {
        printf("could not create %s (error %lu)\n", kBenchRoot, GetLastError());
        return 1;
    }

    MeasureTreeExpansion(window, 1000);
    RunFolderBenchmarks(window);
    RunOperationBenchmarks(window);

    ShowLocation(window, "");
    Stopwatch watch;
    bool gone = RemoveBenchData();
    RecordCheck(gone);
    printf("removed the benchmark's files in %.1f s: %s\n", watch.Seconds(), gone ? "ok" : "LEFT BEHIND");
    DestroyWindow(window);
    printf("checks: %s\n", ChecksPassed() ? "all passed" : "SOME FAILED");
    return ChecksPassed() ? 0 : 1;
}
