// Drives and folders are read off the window's thread: the window never waits for them, rows come in
// batches, and what a command acts on stays what the user chose.
#include "tests/win/harness.h"

#include "base/app_state.h"
#include "base/file_search.h"
#include "browse/browse.h"
#include "browse/browse_parts.h"
#include "res/resource.h"

#include <algorithm>
#include <set>

using namespace qvtest;

namespace {

std::string Current() { return CurrentFolder(); }

// Every row's name, each one once, sorted; read from the program's rows (the list's are many).
std::set<std::string> RowNames(HWND window, const char* file, int line)
{
    std::set<std::string> names;
    CheckEqual(Rows().Count(), static_cast<size_t>(RowCount(window)), file, line, "the program's rows");
    for (size_t row = 0; row < Rows().Count(); ++row)
        Check(names.insert(Rows().Name(Rows().At(row))).second, file, line, "row " + std::to_string(row) + " once");
    return names;
}
#define ROW_NAMES(window) RowNames((window), __FILE__, __LINE__)

std::set<std::string> FileNames(const std::string& folder)
{
    std::set<std::string> names;
    for (FileSearch search = FileSearch::InFolder(folder.c_str()); search.Next();)
        if (!search.IsDotOrDotDot())
            names.insert(search.Entry().cFileName);
    return names;
}

// Lists a folder, from another one, and hands the window its answers until its first rows are shown.
void StartListing(HWND window, const std::string& folder, const char* file, int line)
{
    Show(window, "E:\\small");
    ShowLocation(window, folder.c_str());
    Check(DeliverUntil([&] { return Current() == folder && RowCount(window) > 0; }), file, line, "the first rows came");
    Check(IsWorkPending(), file, line, "the listing goes on");
}
#define START_LISTING(window, folder) StartListing((window), (folder), __FILE__, __LINE__)

bool CursorIsWorking(HWND window)
{
    RECT list = {};
    GetWindowRect(List(window), &list);
    SetCursorPos((list.left + list.right) / 2, (list.top + list.bottom) / 2);
    SendMessageA(List(window), WM_SETCURSOR, reinterpret_cast<WPARAM>(List(window)), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor() == LoadCursorA(nullptr, IDC_APPSTARTING);
}

}  // namespace

QV_TEST(BigFoldersComeInBatchesAndCommandsActOnTheRowsChosen)
{
    const int kFiles = 60000;
    TestFolder many("D:\\many");
    MakeManyFiles(many.path, kFiles);
    TestFolder small("E:\\small", {"only.txt"});
    HWND window = StartMainWindow();

    Context section("the first rows show while the rest come, the pointer saying so; a view left behind adds none");
    START_LISTING(window, many.path);
    CHECK(RowCount(window) < kFiles);
    CHECK(CursorIsWorking(window));
    Show(window, *small);
    Pump(200);
    CHECK_EQ(Rows(window), "only.txt");
    CHECK_EQ(StatusText(window, 1), "1 个对象");
    CHECK(!CursorIsWorking(window));

    section.Set("a sort asked for while the rows come ends in its order, with every row once");
    START_LISTING(window, many.path);
    SendCommand(window, IDM_SORT_NAME);
    CHECK_EQ(StatusText(window, 1), std::to_string(kFiles) + " 个对象");
    CHECK_EQ(RowText(window, 0), "f000000.txt");
    CHECK_EQ(RowText(window, kFiles - 1), "f059999.txt");
    CHECK_EQ(ROW_NAMES(window).size(), static_cast<size_t>(kFiles));

    section.Set("delete, move-in and rename while the rows come act on exactly the rows chosen");
    DialogCatcher dialogs;
    dialogs.handlers.push_back([](HWND box) { PostMessageA(box, WM_COMMAND, IDYES, 0); });
    START_LISTING(window, many.path);
    SelectRows(window, {1, 3});
    std::set<std::string> deleted = {RowText(window, 1), RowText(window, 3)};
    SendCommand(window, IDM_DELETE);
    START_LISTING(window, many.path);
    SelectRows(window, {5});
    std::string movedIn = RowText(window, 5);
    SendCommand(window, IDM_VAULT_MOVE_IN);
    START_LISTING(window, many.path);
    SelectRows(window, {7});
    std::string renamed = RowText(window, 7);
    SendMessageA(window, WM_COMMAND, IDM_RENAME, 0);  // the rows wait while the name is edited
    SetWindowTextA(EditControl(window), "renamed.txt");
    SendMessageA(EditControl(window), WM_KEYDOWN, VK_RETURN, 0);
    WaitIdle();

    std::set<std::string> expected;
    for (int index = 0; index < kFiles; ++index) {
        char name[32];
        snprintf(name, sizeof name, "f%06d.txt", index);
        if (!deleted.count(name) && movedIn != name)
            expected.insert(name == renamed ? "renamed.txt" : name);
    }
    CHECK_EQ(dialogs.seen.size(), 1u);
    CHECK(FileNames(many.path) == expected);
    CHECK(ROW_NAMES(window) == expected);
    CHECK(PathExists("D:\\ \\Quillnest\\many+" + movedIn));
    RemoveManyFiles(many.path);
}

QV_TEST(ASlowDriveHoldsUpOnlyItsOwnRows)
{
    char slow = SlowDrive();
    if (!slow) {
        printf("The slow drive is untried: this machine has no FUSE (/dev/fuse and python3-fusepy).\n");
        return;
    }
    const std::string drive = std::string(1, slow) + ":";
    MakeFolder(drive + "\\away"), WriteFileText(drive + "\\away\\far.txt", "far");
    MakeVaultEntry(slow, "away+back.txt"), MakeVaultEntry('D', "docs+near.txt");
    SetSlowDriveDelay(0.5);

    // The window is there before the slow drive has answered: its row and node show its letter.
    HWND window = StartMainWindow(false);
    CHECK(FindRow(window, drive) >= 0);
    CHECK(TreeChild(window, nullptr, drive) != nullptr);
    CHECK(IsWorkPending());
    WaitIdle();
    int row = FindRow(window, " (" + drive + ")");
    CHECK(row >= 0);
    CHECK_EQ(RowText(window, row, 1), "网络磁盘");

    // Its folder replaces the view only once it is read; a view asked for meanwhile wins.
    TestFolder docs("D:\\docs", {"a.txt"});
    ShowLocation(window, (drive + "\\away").c_str());
    CHECK_EQ(Current(), "");
    CHECK(IsWorkPending());
    Show(window, *docs);
    Pump(1500);
    CHECK_EQ(Current(), docs.path);
    CHECK_EQ(Rows(window), "a.txt");

    // The vault view shows the other drives' entries while the slow one is still read.
    ShowLocation(window, "hide");
    CHECK(DeliverUntil([&] { return FindRow(window, "D:\\docs\\near.txt") >= 0; }, 10000));
    CHECK(FindRow(window, drive + "\\away\\back.txt") < 0);
    WaitIdle();
    CHECK_EQ(Rows(window, 0, true), "D:\\docs\\near.txt|" + drive + "\\away\\back.txt");

    // A tree node's sub-folders come later too.
    HTREEITEM node = TreeChild(window, nullptr, " (" + drive + ")");
    CHECK(node != nullptr);
    TreeView_Expand(Tree(window), node, TVE_EXPAND);
    CHECK(!TreeView_GetChild(Tree(window), node));
    WaitIdle();
    CHECK_EQ(TreeChildren(window, node), "away|locked");
}
