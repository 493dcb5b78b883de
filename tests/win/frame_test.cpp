// The main window: start-up, controls, layout, commands, keys and quitting.
#include "tests/win/harness.h"

#include "app/app_state.h"
#include "app/frame.h"
#include "browse/browse.h"

#include <cstring>

using namespace qvtest;

namespace {

void SetClientWidth(HWND window, int width)
{
    RECT client = {0, 0, width, 500};
    AdjustWindowRectEx(&client, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_ACCEPTFILES);
    SetWindowPos(window, nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    Pump(50);
}

std::vector<int> StatusEdges(HWND window)
{
    int edges[3] = {};
    SendMessageA(GetDlgItem(window, 132), SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges));
    return {edges[0], edges[1], edges[2]};
}

RECT ChildRect(HWND window, HWND child)
{
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string VersionText(const char* name)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    DWORD handle = 0;
    std::vector<char> data(GetFileVersionInfoSizeA(path, &handle));
    if (data.empty() || !GetFileVersionInfoA(path, 0, static_cast<DWORD>(data.size()), data.data()))
        return "";
    char* value = nullptr;
    UINT length = 0;
    std::string query = std::string("\\StringFileInfo\\080403a8\\") + name;
    if (!VerQueryValueA(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
        return "";
    return value;
}

// Lists a folder of that many files, so commands act on rows the test made.
void OpenFolderWithFiles(HWND window, const TestFolder& folder, int files)
{
    for (int i = 0; i < files; ++i)
        WriteFileText(folder / ("f" + std::to_string(i) + ".txt"), "x");
    ShowFolder(window, folder.Path());
}

}  // namespace

QV_TEST(StartUpBuildsTheCentredWindowWithItsControls)
{
    HWND window = StartMainWindow();
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    CHECK_EQ(std::string(className), "EXPLORER");
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    CHECK_EQ(std::string(title), "Quillvane");
    CHECK(GetMenu(window) == nullptr);
    CHECK(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);

    RECT frame = {};
    GetWindowRect(window, &frame);
    CHECK_EQ(frame.right - frame.left, 900);
    CHECK_EQ(frame.bottom - frame.top, 600);
    CHECK_EQ(frame.left, GetSystemMetrics(SM_CXFULLSCREEN) / 2 - 450);
    CHECK_EQ(frame.top, GetSystemMetrics(SM_CYFULLSCREEN) / 2 - 300);

    DWORD listStyle = static_cast<DWORD>(GetWindowLongA(List(window), GWL_STYLE));
    CHECK_EQ(listStyle & LVS_TYPEMASK, static_cast<DWORD>(LVS_REPORT));
    CHECK(listStyle & LVS_EDITLABELS);
    CHECK(!(listStyle & (LVS_SINGLESEL | LVS_SORTASCENDING | LVS_SORTDESCENDING | LVS_SHAREIMAGELISTS)));
    CHECK_EQ(SendMessageA(List(window), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x423);
    CHECK(GetWindowLongA(Tree(window), GWL_STYLE) & TVS_EDITLABELS);
    CHECK_EQ(Join(ColumnTitles(window)), "名称|类型|总大小|可用空间|文件系统");
    CHECK_EQ(StatusEdges(window)[2], -1);
    CHECK(GetFocus() != List(window) && GetFocus() != Tree(window));

    RECT tree = ChildRect(window, Tree(window));
    RECT list = ChildRect(window, List(window));
    CHECK_EQ(tree.right - tree.left, 248);
    CHECK_EQ(list.left, 250);
}

QV_TEST(ResourcesAreInCodePage936)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    char text[100] = {};
    LoadStringA(instance, 103, text, sizeof text);
    CHECK_EQ(std::string(text), "Quillvane");
    LoadStringA(instance, 109, text, sizeof text);
    CHECK_EQ(std::string(text), "EXPLORER");
    CHECK_EQ(VersionText("FileDescription"), "本软件主要用于保护您的隐私");
    CHECK_EQ(VersionText("OriginalFilename"), "Quillvane.exe");
    CHECK_EQ(VersionText("FileVersion"), "1, 0, 0, 1");
    CHECK(LoadIconA(instance, MAKEINTRESOURCEA(107)) != nullptr);
    CHECK(LoadIconA(instance, MAKEINTRESOURCEA(108)) != nullptr);

    struct Key {
        BYTE flags;
        WORD key, command;
    };
    const Key expected[] = {
        {FCONTROL, 'A', 32789},  {FCONTROL, 'C', 32784}, {FCONTROL, 'V', 32785}, {0, VK_DELETE, 32778},
        {0, VK_F2, 32779},       {0, VK_F5, 32805},      {FALT, VK_LEFT, 32801}, {FCONTROL, VK_RETURN, 142},
        {FALT, VK_RIGHT, 32802}, {FCONTROL, 'X', 32783},
    };
    HACCEL table = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(109));
    ACCEL keys[16] = {};
    CHECK_EQ(CopyAcceleratorTableA(table, keys, 16), 10);
    for (int i = 0; i < 10; ++i) {
        Context context("accelerator " + std::to_string(i));
        CHECK_EQ(static_cast<int>(keys[i].fVirt), FVIRTKEY | FNOINVERT | expected[i].flags);
        CHECK_EQ(keys[i].key, expected[i].key);
        CHECK_EQ(keys[i].cmd, expected[i].command);
    }

    HRSRC encrypt = FindResourceA(instance, "encrypt", MAKEINTRESOURCEA(5));
    HRSRC decrypt = FindResourceA(instance, "decrypt", MAKEINTRESOURCEA(5));
    CHECK(encrypt != nullptr && decrypt != nullptr);
}

QV_TEST(LayoutFollowsTheClientWidth)
{
    HWND window = StartMainWindow();
    struct Case {
        int width, first, second;
    };
    for (Case c : {Case{1000, 700, 850}, Case{999, 699, 849}}) {
        Context context("client width " + std::to_string(c.width));
        SetClientWidth(window, c.width);
        RECT client = {};
        GetClientRect(window, &client);
        CHECK_EQ(client.right, c.width);
        CHECK_EQ(Join({std::to_string(StatusEdges(window)[0]), std::to_string(StatusEdges(window)[1])}),
                 std::to_string(c.first) + "|" + std::to_string(c.second));
        RECT list = ChildRect(window, List(window));
        RECT tree = ChildRect(window, Tree(window));
        RECT status = ChildRect(window, GetDlgItem(window, 132));
        CHECK_EQ(list.left, 250);
        CHECK_EQ(list.right - list.left, c.width - 250);
        CHECK_EQ(tree.right - tree.left, 248);
        CHECK_EQ(list.bottom, status.top);
        CHECK_EQ(tree.bottom, status.top);
    }

    // Below 250 pixels the list gets no room; the tree keeps its width.
    SetClientWidth(window, 200);
    CHECK_EQ(ChildRect(window, Tree(window)).right, 248);
    CHECK_EQ(StatusEdges(window)[0], 140);

    // Minimising lays out a client area of width 0.
    ShowWindow(window, SW_MINIMIZE);
    Pump(100);
    RECT client = {};
    GetClientRect(window, &client);
    if (client.right == 0) {
        CHECK_EQ(StatusEdges(window)[0], 0);
        CHECK_EQ(StatusEdges(window)[1], 0);
    }
}

QV_TEST(ViewModesSelectionAndRenameCommands)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\commands");
    OpenFolderWithFiles(window, folder, 4);
    CHECK_EQ(RowCount(window), 4);

    for (auto mode :
         {std::make_pair(32793, LVS_ICON), std::make_pair(32794, LVS_LIST), std::make_pair(32795, LVS_REPORT)}) {
        Context context("view command " + std::to_string(mode.first));
        SendCommand(window, static_cast<WORD>(mode.first));
        CHECK_EQ(ViewMode(window), static_cast<DWORD>(mode.second));
    }
    SendCommand(window, 32793);
    RefreshView(window);
    CHECK_EQ(ViewMode(window), static_cast<DWORD>(LVS_ICON));
    SendCommand(window, 32795);

    SelectRows(window, {0, 2});
    SendCommand(window, 32790);
    CHECK(SelectedRows(window) == (std::vector<int>{1, 3}));
    CHECK(GetFocus() == List(window));

    SelectRows(window, {});
    SendCommand(window, 32779);
    Pump();
    CHECK(SendMessageA(List(window), LVM_GETEDITCONTROL, 0, 0) == 0);

    SelectRows(window, {1});
    SendCommand(window, 32779);
    Pump();
    HWND edit = reinterpret_cast<HWND>(SendMessageA(List(window), LVM_GETEDITCONTROL, 0, 0));
    CHECK(edit != nullptr);
    char text[MAX_PATH] = {};
    GetWindowTextA(edit, text, sizeof text);
    CHECK_EQ(std::string(text), RowText(window, 1));
    CHECK_EQ(std::string(g_app.labelEditOldName), RowText(window, 1));
}

QV_TEST(AcceleratorKeys)
{
    HWND window = StartMainWindow();
    TestFolder empty("D:\\empty");
    ShowFolder(window, empty.Path());
    SetFocus(window);
    PressKeys({VK_CONTROL, 'A'});
    CHECK(GetFocus() == List(window));
    CHECK(SelectedRows(window).empty());

    TestFolder folder("D:\\keys");
    OpenFolderWithFiles(window, folder, 3);
    SetFocus(window);
    PressKeys({VK_CONTROL, 'A'});
    CHECK_EQ(SelectedRows(window).size(), 3u);

    // Keys without an operation change nothing, not even inside the label editor.
    SelectRows(window, {0});
    PressKeys({VK_F2});
    HWND edit = reinterpret_cast<HWND>(SendMessageA(List(window), LVM_GETEDITCONTROL, 0, 0));
    CHECK(edit != nullptr);
    char before[MAX_PATH] = {};
    GetWindowTextA(edit, before, sizeof before);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    DialogCatcher dialogs;
    const std::initializer_list<WORD> idleKeys[] = {{VK_CONTROL, 'X'},       {VK_CONTROL, 'V'},  {VK_CONTROL, 'C'},
                                                    {VK_CONTROL, VK_RETURN}, {VK_MENU, VK_LEFT}, {VK_MENU, VK_RIGHT}};
    for (const auto& keys : idleKeys)
        PressKeys(keys);
    // Commands whose operations the program does not carry out yet are ignored.
    for (WORD id : {WORD{32773}, WORD{32777}, WORD{32778}, WORD{32780}, WORD{32815}, WORD{32816}, WORD{32823}})
        SendCommand(window, id);
    char after[MAX_PATH] = {};
    GetWindowTextA(edit, after, sizeof after);
    CHECK_EQ(std::string(after), std::string(before));
    CHECK_EQ(std::string(g_app.currentFolder), folder.Path());
    CHECK_EQ(RowCount(window), 3);
    CHECK(dialogs.Seen().empty());
}

QV_TEST(MenuItemsFollowTheSelection)
{
    HWND window = StartMainWindow();
    auto stateOf = [](HMENU menu, UINT id) { return GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED; };
    HMENU menu = CreatePopupMenu();
    for (UINT id : {105u, 32777u, 32778u, 32779u, 32780u})
        AppendMenuA(menu, MF_STRING, id, "x");

    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    for (UINT id : {105u, 32777u, 32778u, 32779u})
        CHECK(stateOf(menu, id));
    CHECK(!stateOf(menu, 32780));

    SelectRows(window, {0});
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    for (UINT id : {105u, 32777u, 32779u})
        CHECK(!stateOf(menu, id));
    CHECK(stateOf(menu, 32778));  // nothing is deleted from the drives view

    TestFolder folder("D:\\menu");
    OpenFolderWithFiles(window, folder, 1);
    SelectRows(window, {0});
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    CHECK(!stateOf(menu, 32778));

    SelectRows(window, {});
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 1);  // a submenu changes nothing
    CHECK(!stateOf(menu, 32778));
    DestroyMenu(menu);
}

QV_TEST(CleanUpTwiceReleasesEachImageListOnce)
{
    HWND window = StartMainWindow();
    SendMessageA(window, WM_CLOSE, 0, 0);
    SendMessageA(window, WM_DESTROY, 0, 0);
    CHECK(IsWindow(window));
    CHECK(g_app.smallIcons == nullptr && g_app.largeIcons == nullptr && g_app.treeIcons == nullptr);
    CHECK(SendMessageA(List(window), LVM_GETIMAGELIST, LVSIL_SMALL, 0) == 0);
    CHECK_EQ(RunMessageLoop(window), 0);
    // Destroying the window afterwards releases nothing a second time.
    DestroyWindow(window);
    CHECK(!IsWindow(window));
}

QV_TEST(EveryWayOfQuittingEndsWithExitCodeZero)
{
    struct Way {
        const char* name;
        UINT message;
        WPARAM wParam;
    };
    for (Way way : {Way{"WM_CLOSE", WM_CLOSE, 0}, Way{"WM_DESTROY", WM_DESTROY, 0}, Way{"32781", WM_COMMAND, 32781}}) {
        Context context(way.name);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        char command[] = "C:\\qv\\Quillvane.exe";
        CHECK(CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
        WaitForInputIdle(process.hProcess, 10000);
        HWND found = nullptr;
        WaitFor(
            [&] {
                found = nullptr;
                for (HWND candidate = FindWindowA("EXPLORER", nullptr); candidate;
                     candidate = FindWindowExA(nullptr, candidate, "EXPLORER", nullptr)) {
                    DWORD owner = 0;
                    GetWindowThreadProcessId(candidate, &owner);
                    if (owner == process.dwProcessId)
                        found = candidate;
                }
                return found != nullptr;
            },
            20000);
        CHECK(found != nullptr);
        PostMessageA(found, way.message, way.wParam, 0);
        CHECK_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
        DWORD code = 99;
        GetExitCodeProcess(process.hProcess, &code);
        CHECK_EQ(code, 0u);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

QV_TEST(StartUpStopsWhenTheWindowClassCannotBeRegistered)
{
    WNDCLASSEXA taken = {};
    taken.cbSize = sizeof taken;
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = GetModuleHandleA(nullptr);
    taken.lpszClassName = "EXPLORER";
    CHECK(RegisterClassExA(&taken) != 0);

    DialogCatcher dialogs;
    CHECK(StartApplication(GetModuleHandleA(nullptr), SW_SHOWNORMAL) == nullptr);
    CHECK_EQ(dialogs.Seen().size(), 1u);
    if (!dialogs.Seen().empty()) {
        CHECK_EQ(dialogs.Seen()[0].caption, "Error");
        CHECK_EQ(dialogs.Seen()[0].text, "Windows Registration failed!");
    }
}
