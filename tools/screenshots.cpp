// Drives the real main window through the scenes the README shows and has
// scripts/screenshots.sh photograph each one.
//
// For each picture the driver writes C:\shots\NAME.rect ("x y width height"
// in screen pixels) and waits for C:\shots\NAME.done, which the script
// writes once the PNG is taken. An open menu or a modal dialog keeps the
// user-interface thread inside its own loop, so those pictures are asked for
// from a second thread, which then closes the menu or answers the dialog.
//
// With --no-pictures (as make test runs it) the driver goes through the
// same scenes and asks for no picture; it ends with exit code 0 only when it
// has come through them all.
#include "tests/win/harness.h"

#include "res/resource.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

using namespace qvtest;

namespace {

const char kShotFolder[] = "C:\\shots\\";
const char kPassword[] = "quill2024";
constexpr DWORD kShotTimeout = 30000;
constexpr DWORD kWindowTimeout = 10000;
constexpr DWORD kRunTimeout = 120000;
// Time for a window that has just appeared to paint itself.
constexpr int kSettle = 400;
bool g_pictures = true;

[[noreturn]] void Fail(const std::string& what)
{
    printf("screenshots: %s\n", what.c_str());
    fflush(stdout);
    ExitProcess(1);
}

DWORD WINAPI Watchdog(void*)
{
    Sleep(kRunTimeout);
    Fail("the pictures were not done within two minutes");
}

bool TimedOut(DWORD start, DWORD limit) { return GetTickCount() - start > limit; }

// Waits, pumping the message loop on the user-interface thread or sleeping
// on the other one.
void Wait(bool pump, int milliseconds)
{
    if (pump)
        Pump(milliseconds);
    else
        Sleep(static_cast<DWORD>(milliseconds));
}

RECT Bounds(HWND window)
{
    RECT bounds = {};
    GetWindowRect(window, &bounds);
    return bounds;
}

RECT Union(RECT a, RECT b)
{
    RECT both = {};
    UnionRect(&both, &a, &b);
    return both;
}

// Asks the script for a picture of a screen rectangle and waits until it is taken.
void Shoot(const char* name, RECT area, bool pump)
{
    Wait(pump, kSettle);
    if (!g_pictures) {
        printf("screenshots: %s shown\n", name);
        fflush(stdout);
        return;
    }
    std::string base = std::string(kShotFolder) + name;
    char line[64];
    snprintf(line, sizeof line, "%ld %ld %ld %ld\n", area.left, area.top, area.right - area.left,
             area.bottom - area.top);
    // Written aside and renamed, so the script never reads half a line.
    WriteFileText(base + ".part", line);
    if (!MoveFileExA((base + ".part").c_str(), (base + ".rect").c_str(), MOVEFILE_REPLACE_EXISTING))
        Fail("could not ask for " + base + ".rect");
    DWORD start = GetTickCount();
    while (!PathExists(base + ".done")) {
        if (TimedOut(start, kShotTimeout))
            Fail(std::string("no picture of ") + name + " was taken");
        Wait(pump, 50);
    }
    printf("screenshots: %s taken\n", name);
    fflush(stdout);
}

// The visible top-level window of this process with a class and, when given, a caption.
HWND WaitForWindow(const char* className, const char* caption)
{
    DWORD start = GetTickCount();
    for (;;) {
        for (HWND found = FindWindowExA(nullptr, nullptr, className, caption); found;
             found = FindWindowExA(nullptr, found, className, caption)) {
            DWORD process = 0;
            GetWindowThreadProcessId(found, &process);
            if (process == GetCurrentProcessId() && IsWindowVisible(found))
                return found;
        }
        if (TimedOut(start, kWindowTimeout))
            Fail(std::string("no window of class ") + className + " appeared");
        Sleep(20);
    }
}

// Runs an action that blocks the user-interface thread (a menu, a dialog)
// while a second thread takes its picture and ends it.
void WhileBlocked(void (*action)(HWND), DWORD(WINAPI* inside)(void*), HWND window)
{
    HANDLE helper = CreateThread(nullptr, 0, inside, window, 0, nullptr);
    if (!helper)
        Fail("could not start the helper thread");
    action(window);
    if (WaitForSingleObject(helper, kShotTimeout) != WAIT_OBJECT_0)
        Fail("the helper thread did not finish");
    CloseHandle(helper);
}

// Gives a file or folder a fixed local time some minutes after a fixed
// morning, so the pictures change only when the program does.
void SetDemoTime(const char* path, int minutes)
{
    SYSTEMTIME morning = {};
    morning.wYear = 2024;
    morning.wMonth = 5;
    morning.wDay = 20;
    morning.wHour = 9;
    FILETIME local, utc;
    SystemTimeToFileTime(&morning, &local);
    ULARGE_INTEGER ticks = {{local.dwLowDateTime, local.dwHighDateTime}};
    ticks.QuadPart += static_cast<ULONGLONG>(minutes) * 60 * 10000000;
    local = {ticks.LowPart, ticks.HighPart};
    LocalFileTimeToFileTime(&local, &utc);
    HANDLE file = CreateFileA(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE || !SetFileTime(file, nullptr, nullptr, &utc))
        Fail(std::string("could not set the time of ") + path);
    CloseHandle(file);
}

// The demo drives: D: with a few folders and files (one of them hidden),
// and two entries in the vaults of D: and E:.
void MakeDemoFiles()
{
    const char* folders[] = {"D:\\文档", "D:\\文档\\旧稿", "D:\\照片", "D:\\音乐", "E:\\备份"};
    for (const char* folder : folders)
        MakeFolder(folder);
    struct DemoFile {
        const char* path;
        size_t size;
    };
    const DemoFile files[] = {
        {"D:\\文档\\年度报告.doc", 48640},  {"D:\\文档\\会议记录.txt", 2150}, {"D:\\文档\\预算.xls", 23552},
        {"D:\\文档\\产品介绍.ppt", 163840}, {"D:\\文档\\私人笔记.txt", 812},  {"D:\\照片\\春节.bmp", 921654},
        {"D:\\音乐\\小夜曲.wav", 352844},   {"D:\\说明.txt", 1024},
    };
    for (const DemoFile& file : files)
        WriteFileText(file.path, std::string(file.size, 'q'));
    SetFileAttributesA("D:\\文档\\私人笔记.txt", FILE_ATTRIBUTE_HIDDEN);
    // Last, since a file written into a folder changes the folder's time.
    int minutes = 0;
    for (const DemoFile& file : files)
        SetDemoTime(file.path, minutes += 97);
    for (const char* folder : folders)
        SetDemoTime(folder, minutes += 613);
    MakeVaultEntry('D', "文档+工资单.xls", std::string(17408, 'v'));
    MakeVaultEntry('E', "日记.txt", std::string(3072, 'v'));
}

HTREEITEM DriveNode(HWND window, char letter)
{
    std::string path = std::string(1, letter) + ":";
    HWND tree = Tree(window);
    HTREEITEM node = TreeView_GetChild(tree, TreeRoot(window));
    for (; node; node = TreeView_GetNextSibling(tree, node)) {
        if (TreeNodePath(window, node) == path)
            return node;
    }
    Fail("the tree has no node for " + path);
}

// On the status bar, so no tree node is drawn as hovered.
void ParkCursor(HWND window)
{
    RECT status = Bounds(GetDlgItem(window, IDC_STATUS_BAR));
    SetCursorPos((status.left + status.right) / 2, (status.top + status.bottom) / 2);
    Pump(100);
}

void ShowDocumentsFolder(HWND window)
{
    ClickTreeNode(window, DriveNode(window, 'D'));
    ParkCursor(window);
    int row = FindRow(window, "文档");
    if (row < 0)
        Fail("D: does not list its folder 文档");
    SelectRows(window, {row});
    Notify(window, IDC_ITEM_LIST, static_cast<UINT>(NM_DBLCLK));
    SendCommand(window, IDM_VIEW_DETAILS);
    SendCommand(window, IDM_SORT_NAME);
    // The tree shows where the list is.
    HWND tree = Tree(window);
    HTREEITEM drive = DriveNode(window, 'D');
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(drive));
    if (HTREEITEM documents = TreeChild(window, drive, "文档"))
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(documents));
    Pump(300);
}

void OpenItemMenu(HWND window)
{
    int row = FindRow(window, "年度报告.doc");
    if (row < 0)
        Fail("D:\\文档 does not list 年度报告.doc");
    // As a right-click leaves it: the list has the focus and the row is selected.
    SetFocus(List(window));
    SelectRows(window, {row});
    Notify(window, IDC_ITEM_LIST, static_cast<UINT>(NM_CLICK));
    RECT cell = {};
    cell.left = LVIR_LABEL;
    SendMessageA(List(window), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    // Right of the names, so the menu covers none of them.
    POINT point = {cell.left + 160, (cell.top + cell.bottom) / 2};
    ClientToScreen(List(window), &point);
    SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List(window)), MAKELPARAM(point.x, point.y));
}

DWORD WINAPI ShootItemMenu(void* window)
{
    HWND menu = WaitForWindow("#32768", nullptr);
    // Down twice: past 打开 and the separator, onto 移入Quillvane.
    for (int i = 0; i < 2; ++i)
        PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    Shoot("item-menu", Union(Bounds(static_cast<HWND>(window)), Bounds(menu)), false);
    EndMenu();
    return 0;
}

void ClickVaultNode(HWND window)
{
    // The first-use notice and the note of the new password are answered
    // with OK; the set-password dialog is left to the helper thread.
    DialogCatcher dialogs;
    dialogs.handlers.push_back([](HWND) {});
    // A click on the list's background first: no row stays selected.
    SelectRows(window, {});
    Notify(window, IDC_ITEM_LIST, static_cast<UINT>(NM_CLICK));
    HTREEITEM vault = TreeChild(window, nullptr, "Quillvane");
    if (!vault)
        Fail("the tree has no Quillvane node");
    ClickTreeNode(window, vault);
    ParkCursor(window);
}

DWORD WINAPI ShootSetPassword(void* window)
{
    HWND dialog = WaitForWindow("#32770", "设置Quillvane密码");
    SetDlgItemTextA(dialog, IDC_PASSWORD_EDIT, kPassword);
    Shoot("set-password", Union(Bounds(static_cast<HWND>(window)), Bounds(dialog)), false);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_PASSWORD_SET, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_PASSWORD_SET)));
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    g_pictures = !(argc == 2 && strcmp(argv[1], "--no-pictures") == 0);
    CloseHandle(CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
    // Boxes go to the dialog catchers as in a test; one that none expects ends the run.
    WatchDialogs();
    RemoveTree("C:\\shots");
    MakeFolder("C:\\shots");
    MakeDemoFiles();

    HWND window = StartMainWindow();
    ParkCursor(window);
    Pump(400);
    Shoot("drives", Bounds(window), true);

    ShowDocumentsFolder(window);
    Shoot("folder-details", Bounds(window), true);

    WhileBlocked(OpenItemMenu, ShootItemMenu, window);
    Pump(200);

    WhileBlocked(ClickVaultNode, ShootSetPassword, window);
    if (RowCount(window) != 2)
        Fail("the vault view does not list the two demo entries");
    SelectRows(window, {});
    Shoot("vault-view", Bounds(window), true);

    printf("screenshots: done\n");
    fflush(stdout);
    ExitProcess(0);
}
