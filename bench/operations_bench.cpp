// Times what the main window's commands do to the disk, sent as the menus
// send them: moving files into the vault and back, the vault view over two
// drives, the numbered folder tree, and deleting through the shell.
#include "bench/bench_support.h"
#include "base/location.h"
#include "browse/browse.h"
#include "browse/browse_parts.h"
#include "res/resource.h"
#include "tests/win/harness.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace qvbench {
namespace {

using qvtest::Pump;
using qvtest::RowCount;
using qvtest::SendCommand;

int TransferFiles() { return g_small ? 100 : 1000; }
constexpr double kTransferGoalSeconds = 1.0;
const char kTransferFolder[] = "D:\\bench\\vault";

int DeleteFiles() { return g_small ? 100 : 1000; }
constexpr double kDeleteGoalSeconds = 2.0;
const char kDeleteFolder[] = "D:\\bench\\delete";

int VaultViewEntries() { return g_small ? 1000 : 10000; }
constexpr double kVaultViewGoalSeconds = 0.3;
const char kVaultDrives[] = "DE";

constexpr int kTreeFolders = 11111;
constexpr int kTreeDepth = 4;
constexpr double kTreeRatioGoal = 1.5;
constexpr double kTreeTimeoutSeconds = 300.0;
const char kTreeRoot[] = "C:\\Safe";
const char kPlainTreeRoot[] = "C:\\SafePlain";
// Where the trees of each run are moved, out of the next run's way: renaming
// a tree takes no time, removing it takes many seconds.
const char kFinishedTrees[] = "C:\\SafeRuns";

std::string HiddenRoot(char drive) { return std::string(1, drive) + ":\\ \\"; }
std::string VaultFolder(char drive) { return HiddenRoot(drive) + "Quillnest"; }

// The names in a folder, "." and ".." left out, in the order the disk gives them.
std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found) != 0) {
        if (lstrcmpA(found.cFileName, ".") != 0 && lstrcmpA(found.cFileName, "..") != 0)
            names.push_back(found.cFileName);
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    return names;
}

// True when a folder holds exactly prefix + EntryName(i) for every i below count.
bool HoldsNumberedFiles(const std::string& folder, const std::string& prefix, int count)
{
    std::vector<std::string> expected;
    for (int index = 0; index < count; ++index)
        expected.push_back(prefix + EntryName(index));
    std::vector<std::string> names = FolderEntries(folder);
    std::sort(expected.begin(), expected.end());
    std::sort(names.begin(), names.end());
    return names == expected;
}

bool MakeFolderOfFiles(const std::string& folder, int files)
{
    if (CreateDirectoryA(folder.c_str(), nullptr) && CreateNumberedFiles(folder, files))
        return true;
    printf("could not create %s (error %lu)\n", folder.c_str(), GetLastError());
    RecordCheck(false);
    return false;
}

// Selects every row of the current view and times a command from sending it
// to its return.
double TimeCommandOnAllRows(HWND window, WORD command)
{
    SendCommand(window, IDM_SELECT_ALL);
    Pump(0);
    return TimeThenPump([&] { SendCommand(window, command); });
}

void MeasureVaultTransfers(HWND window)
{
    if (!MakeFolderOfFiles(kTransferFolder, TransferFiles()))
        return;
    // "D:\bench\vault\name" is stored as "bench+vault+name".
    const std::string storedPrefix = "bench+vault+";
    double in = 1e9, out = 1e9;
    bool movedIn = true, movedBack = true;
    qvtest::DialogCatcher dialogs;  // a message box would hold the command until answered
    for (int run = 0; run < Runs(); ++run) {
        qvtest::Show(window, kTransferFolder);
        in = std::min(in, TimeCommandOnAllRows(window, IDM_VAULT_MOVE_IN));
        movedIn = movedIn && RowCount(window) == 0 && FolderEntries(kTransferFolder).empty() &&
                  HoldsNumberedFiles(VaultFolder('D'), storedPrefix, TransferFiles());
        qvtest::Show(window, kVaultMarker);
        out = std::min(out, TimeCommandOnAllRows(window, IDM_VAULT_MOVE_OUT));
        movedBack = movedBack && RowCount(window) == 0 && FolderEntries(VaultFolder('D')).empty() &&
                    HoldsNumberedFiles(kTransferFolder, "", TransferFiles());
    }
    printf("vault transfer in, %d files selected in %s (best of %d): %.3f s (goal <= %.1f s) %s\n", TransferFiles(),
           kTransferFolder, Runs(), in, kTransferGoalSeconds, Verdict(in <= kTransferGoalSeconds));
    printf("vault transfer out, %d files selected in the vault view (best of %d): %.3f s (goal <= %.1f s) %s\n",
           TransferFiles(), Runs(), out, kTransferGoalSeconds, Verdict(out <= kTransferGoalSeconds));
    ReportCheck(movedIn, "every file in the vault, the folder empty, after each transfer in");
    ReportCheck(movedBack, "every file back home, the vault empty, after each transfer out");
    ReportCheck(dialogs.seen.empty(), "no message shown");
}

// Seconds from answering Yes to the shell's confirmation until the delete
// command returns; `deleted` turns false unless every file went.
double TimeDelete(HWND window, bool& deleted)
{
    if (!MakeFolderOfFiles(kDeleteFolder, DeleteFiles())) {
        deleted = false;
        return 0.0;
    }
    qvtest::Show(window, kDeleteFolder);
    SendCommand(window, IDM_SELECT_ALL);
    Pump(0);
    Stopwatch answered;
    qvtest::DialogCatcher dialogs;
    dialogs.handlers.push_back([&answered](HWND dialog) {
        // The hook sees the dialog as it is activated; the answer waits in its queue.
        answered = Stopwatch();
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    });
    SendCommand(window, IDM_DELETE);
    double seconds = answered.Seconds();
    Pump(0);
    deleted = deleted && dialogs.seen.size() == 1 && RowCount(window) == 0 && FolderEntries(kDeleteFolder).empty();
    RemoveDirectoryA(kDeleteFolder);
    return seconds;
}

void MeasureDelete(HWND window)
{
    bool deleted = true;
    double seconds = BestOf(Runs(), [&] { return TimeDelete(window, deleted); });
    printf("delete %d selected files, from answering the confirmation to the command's return (best of %d): %.3f s "
           "(goal <= %.1f s) %s\n",
           DeleteFiles(), Runs(), seconds, kDeleteGoalSeconds, Verdict(seconds <= kDeleteGoalSeconds));
    ReportCheck(deleted, "one confirmation, every file gone, no rows left, after each delete");
}

// Creates a folder and, depth first, its numbered descendants down to
// kTreeDepth levels below the root; returns how many folders it made.
int CreateNumberedLevel(const char* path, int depth)
{
    int made = CreateDirectoryA(path, nullptr) ? 1 : 0;
    char child[MAX_PATH];
    for (int digit = 0; depth < kTreeDepth && digit <= 9; ++digit) {
        snprintf(child, sizeof child, "%s\\%d", path, digit);
        made += CreateNumberedLevel(child, depth + 1);
    }
    return made;
}

// Seconds from the command until its worker's message box appears; the
// box's text, after which it is closed, comes back through `text`.
double TimeNumberedTree(HWND window, std::string& text)
{
    Stopwatch watch;
    SendCommand(window, IDM_BUILD_NUMBERED_TREE);
    HWND box = nullptr;
    while (!(box = FindWindowA("#32770", "提示")) && watch.Seconds() < kTreeTimeoutSeconds)
        Pump(0);
    double seconds = watch.Seconds();
    if (!box)
        return seconds;
    char shown[512] = {};
    GetWindowTextA(GetDlgItem(box, 0xFFFF), shown, sizeof shown);
    text = shown;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    qvtest::WaitFor([box] { return !IsWindow(box); });
    return seconds;
}

bool MoveTreeAside(const char* root, const std::string& name)
{
    return MoveFileA(root, (std::string(kFinishedTrees) + "\\" + name).c_str()) != 0;
}

void MeasureNumberedTree(HWND window)
{
    qvtest::RemoveTree(kTreeRoot);
    qvtest::RemoveTree(kPlainTreeRoot);
    CreateDirectoryA(kFinishedTrees, nullptr);
    double plain = 1e9, tree = 1e9;
    bool fresh = true, plainMadeAll = true, told = true;
    for (int run = 0; run < Runs(); ++run) {
        fresh = fresh && !qvtest::PathExists(kTreeRoot) && !qvtest::PathExists(kPlainTreeRoot);
        Stopwatch plainWatch;
        plainMadeAll = plainMadeAll && CreateNumberedLevel(kPlainTreeRoot, 0) == kTreeFolders;
        plain = std::min(plain, plainWatch.Seconds());
        std::string text;
        tree = std::min(tree, TimeNumberedTree(window, text));
        told = told && text == "创建成功";
        fresh = fresh && MoveTreeAside(kTreeRoot, "tree" + std::to_string(run)) &&
                MoveTreeAside(kPlainTreeRoot, "plain" + std::to_string(run));
    }
    double ratio = tree / plain;
    printf("numbered tree, %d folders in %s, from the command to its message box (best of %d): %.3f s\n", kTreeFolders,
           kTreeRoot, Runs(), tree);
    printf("plain CreateDirectoryA loop, the same %d folders in %s (best of %d): %.3f s\n", kTreeFolders,
           kPlainTreeRoot, Runs(), plain);
    printf("numbered tree/plain loop: %.2f (goal <= %.1f) %s\n", ratio, kTreeRatioGoal,
           Verdict(ratio <= kTreeRatioGoal));
    ReportCheck(fresh, "neither tree there before each run");
    ReportCheck(plainMadeAll, "the plain loop made every folder");
    ReportCheck(told, "the worker said \"创建成功\" each time");
}

bool CreateVault(char drive, int firstEntry, int entries)
{
    std::string root = HiddenRoot(drive);
    if (!qvtest::PathExists(root) && !CreateDirectoryA(root.c_str(), nullptr))
        return false;
    SetFileAttributesA(root.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    std::string vault = VaultFolder(drive);
    if (!qvtest::PathExists(vault) && !CreateDirectoryA(vault.c_str(), nullptr))
        return false;
    for (int index = firstEntry; index < firstEntry + entries; ++index) {
        if (!CreateSizedFile(vault + "\\docs+work+" + EntryName(index), 0))
            return false;
    }
    return true;
}

void MeasureVaultView(HWND window)
{
    constexpr int kDrives = sizeof kVaultDrives - 1;
    const int kPerDrive = VaultViewEntries() / kDrives;
    Stopwatch made;
    for (int index = 0; index < kDrives; ++index) {
        if (!CreateVault(kVaultDrives[index], index * kPerDrive, kPerDrive)) {
            printf("could not create the vault of %c: (error %lu)\n", kVaultDrives[index], GetLastError());
            RecordCheck(false);
            return;
        }
    }
    printf("created the vaults of D: and E: with %d entries each in %.1f s\n", kPerDrive, made.Seconds());
    double seconds = BestOf(Runs(), [&] { return TimeShowingLocation(window, kVaultMarker); });
    printf("vault view, %d entries on D: and E: (best of %d): %.3f s (goal <= %.1f s) %s\n", VaultViewEntries(), Runs(),
           seconds, kVaultViewGoalSeconds, Verdict(seconds <= kVaultViewGoalSeconds));
    CheckRowCount(window, VaultViewEntries());
}

}  // namespace

void RunOperationBenchmarks(HWND window)
{
    // The transfers start from empty vaults; the vault view fills them.
    MeasureVaultTransfers(window);
    MeasureDelete(window);
    MeasureNumberedTree(window);
    MeasureVaultView(window);
}

bool RemoveOperationData()
{
    bool gone = true;
    for (const std::string& path : {HiddenRoot('D'), HiddenRoot('E')}) {
        qvtest::RemoveTree(path);
        gone = gone && !qvtest::PathExists(path);
    }
    // The trees' tens of thousands of folders go from the Unix side: through
    // Wine that takes half a minute.
    for (const char* tree : {kTreeRoot, kPlainTreeRoot, kFinishedTrees}) {
        if (qvtest::PathExists(tree))
            qvtest::RemoveManyFiles(tree);
        gone = gone && !qvtest::PathExists(tree);
    }
    return gone;
}

}  // namespace qvbench
