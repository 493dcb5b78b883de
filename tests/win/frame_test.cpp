// The main window: start-up, controls, layout, commands, keys and quitting.
#include "tests/win/harness.h"

#include "app/app.h"
#include "base/app_state.h"
#include "browse/browse.h"

#include <objbase.h>

using namespace qvtest;

namespace {

RECT ChildRect(HWND window, HWND child)
{
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string StatusEdges(HWND window)
{
    int edges[3] = {};
    SendMessageA(GetDlgItem(window, 132), SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges));
    return std::to_string(edges[0]) + "|" + std::to_string(edges[1]) + "|" + std::to_string(edges[2]);
}

// Each column as "title:width:format".
std::string ColumnRules(HWND window)
{
    Texts columns;
    char text[64];
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.pszText = text;
    column.cchTextMax = sizeof text;
    for (int index = 0; SendMessageA(List(window), LVM_GETCOLUMNA, index, reinterpret_cast<LPARAM>(&column)); ++index)
        columns.push_back(std::string(text) + ":" + std::to_string(column.cx) + ":" + std::to_string(column.fmt & 3));
    return Join(columns);
}

std::string VersionText(const char* name)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::vector<char> data(GetFileVersionInfoSizeA(path, nullptr));
    char* value = nullptr;
    UINT length = 0;
    std::string query = std::string("\\StringFileInfo\\080403a8\\") + name;
    if (data.empty() || !GetFileVersionInfoA(path, 0, static_cast<DWORD>(data.size()), data.data()) ||
        !VerQueryValueA(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
        return "";
    return value;
}

HWND EditControl(HWND window) { return reinterpret_cast<HWND>(SendMessageA(List(window), LVM_GETEDITCONTROL, 0, 0)); }

// Records whether the list had the focus when asked to edit a label, which
// the list view requires on Windows (Wine's doesn't mind).
WNDPROC g_listProcedure;
bool g_focusedWhenEditing;
LRESULT CALLBACK WatchEditRequests(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == LVM_EDITLABELA)
        g_focusedWhenEditing = GetFocus() == list;
    return CallWindowProcA(g_listProcedure, list, message, wParam, lParam);
}

}  // namespace

QV_TEST(StartUpBuildsTheWindowItsControlsAndColumnSets)
{
    HWND window = StartMainWindow();
    char text[100] = {};
    GetClassNameA(window, text, sizeof text);
    CHECK_EQ(std::string(text), "EXPLORER");
    GetWindowTextA(window, text, sizeof text);
    CHECK_EQ(std::string(text), "Quillvane");
    CHECK(GetMenu(window) == nullptr && (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES));
    RECT frame = {};
    GetWindowRect(window, &frame);
    CHECK_EQ(frame.right - frame.left, 900);
    CHECK_EQ(frame.bottom - frame.top, 600);
    CHECK_EQ(frame.left, GetSystemMetrics(SM_CXFULLSCREEN) / 2 - 450);
    CHECK_EQ(frame.top, GetSystemMetrics(SM_CYFULLSCREEN) / 2 - 300);
    CHECK(GetFocus() != List(window) && GetFocus() != Tree(window));

    DWORD listStyle = static_cast<DWORD>(GetWindowLongA(List(window), GWL_STYLE));
    CHECK_EQ(listStyle & (LVS_TYPEMASK | LVS_EDITLABELS | LVS_SINGLESEL | LVS_SORTASCENDING | LVS_SORTDESCENDING |
                          LVS_SHAREIMAGELISTS),
             static_cast<DWORD>(LVS_REPORT | LVS_EDITLABELS));
    CHECK_EQ(SendMessageA(List(window), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x423);
    CHECK(GetWindowLongA(Tree(window), GWL_STYLE) & TVS_EDITLABELS);

    // The three column sets, with their widths and formats (0 left, 1 right, 2 centred).
    CHECK_EQ(ColumnRules(window), "名称:160:2|类型:100:2|总大小:100:2|可用空间:100:2|文件系统:100:2");
    ShowLocation(window, "C:");
    CHECK_EQ(ColumnRules(window), "名称:220:2|大小:100:1|类型:120:0|修改时间:120:0");
    ShowLocation(window, "hide");
    CHECK_EQ(ColumnRules(window), "文件所在路径:560:2");

    // COM stays initialised on this thread after shell look-ups.
    HRESULT again = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CHECK_EQ(again, S_FALSE);
    CoUninitialize();

    // Strings and version texts reach the resources as code page 936.
    HINSTANCE instance = GetModuleHandleA(nullptr);
    LoadStringA(instance, 109, text, sizeof text);
    CHECK_EQ(std::string(text), "EXPLORER");
    CHECK_EQ(VersionText("FileDescription"), "本软件主要用于保护您的隐私");
    CHECK_EQ(VersionText("FileVersion"), "1, 0, 0, 1");
    CHECK(LoadIconA(instance, MAKEINTRESOURCEA(108)) != nullptr);
}

QV_TEST(LayoutFollowsTheClientWidth)
{
    HWND window = StartMainWindow();
    for (int width : {1000, 200}) {
        Context context("client width " + std::to_string(width));
        RECT client = {0, 0, width, 500};
        AdjustWindowRectEx(&client, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_ACCEPTFILES);
        SetWindowPos(window, nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
                     SWP_NOMOVE | SWP_NOZORDER);
        Pump();
        CHECK_EQ(StatusEdges(window), width == 1000 ? "700|850|-1" : "140|170|-1");
        RECT list = ChildRect(window, List(window));
        RECT tree = ChildRect(window, Tree(window));
        RECT status = ChildRect(window, GetDlgItem(window, 132));
        CHECK_EQ(tree.right - tree.left, 248);
        CHECK_EQ(list.left, 250);
        CHECK_EQ(list.right - list.left, std::max(width - 250, 0));
        CHECK_EQ(list.bottom, status.top);
        CHECK_EQ(tree.bottom, status.top);
    }
}

QV_TEST(ViewModesSelectionAndRename)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\commands");
    for (int i = 0; i < 4; ++i)
        WriteFileText(folder / ("f" + std::to_string(i) + ".txt"), "x");
    ShowLocation(window, folder.Path().c_str());

    for (auto mode : {std::make_pair(32793, LVS_ICON), std::make_pair(32794, LVS_LIST)}) {
        Context context("view command " + std::to_string(mode.first));
        SendCommand(window, static_cast<WORD>(mode.first));
        CHECK_EQ(GetWindowLongA(List(window), GWL_STYLE) & LVS_TYPEMASK, mode.second);
        SendCommand(window, 32805);  // a refresh keeps the view mode
        CHECK_EQ(GetWindowLongA(List(window), GWL_STYLE) & LVS_TYPEMASK, mode.second);
    }
    SendCommand(window, 32795);

    SelectRows(window, {0, 2});
    SendCommand(window, 32790);
    auto next = [&](int from) { return SendMessageA(List(window), LVM_GETNEXTITEM, from, LVNI_SELECTED); };
    CHECK(next(-1) == 1 && next(1) == 3 && next(3) == -1);
    CHECK(GetFocus() == List(window));

    SelectRows(window, {});
    SendCommand(window, 32779);
    CHECK(EditControl(window) == nullptr);

    // F2 after a click in the tree still starts the edit: the list takes the focus.
    g_listProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(List(window), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchEditRequests)));
    SelectRows(window, {1});
    SetFocus(Tree(window));
    PressKeys({VK_F2});
    CHECK(g_focusedWhenEditing);
    CHECK(EditControl(window) != nullptr);
    char text[MAX_PATH] = {};
    GetWindowTextA(EditControl(window), text, sizeof text);
    CHECK_EQ(std::string(text), RowText(window, 1));
    CHECK_EQ(std::string(g_app.labelEditOldName), RowText(window, 1));
}

QV_TEST(AcceleratorKeys)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\keys");
    ShowLocation(window, folder.Path().c_str());
    SetFocus(window);
    PressKeys({VK_CONTROL, 'A'});
    CHECK(GetFocus() == List(window));

    for (int i = 0; i < 3; ++i)
        WriteFileText(folder / ("f" + std::to_string(i) + ".txt"), "x");
    PressKeys({VK_F5});
    CHECK_EQ(RowCount(window), 3);
    SetFocus(window);
    PressKeys({VK_CONTROL, 'A'});
    CHECK_EQ(SendMessageA(List(window), LVM_GETSELECTEDCOUNT, 0, 0), 3);

    // Keys without an operation change nothing, not even inside the label editor.
    SelectRows(window, {0});
    PressKeys({VK_F2});
    HWND edit = EditControl(window);
    CHECK(edit != nullptr);
    char before[MAX_PATH] = {};
    GetWindowTextA(edit, before, sizeof before);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    DialogCatcher dialogs;
    const std::initializer_list<WORD> idleKeys[] = {{VK_CONTROL, 'X'},       {VK_CONTROL, 'V'},  {VK_CONTROL, 'C'},
                                                    {VK_CONTROL, VK_RETURN}, {VK_MENU, VK_LEFT}, {VK_MENU, VK_RIGHT}};
    for (const auto& keys : idleKeys)
        PressKeys(keys);
    char after[MAX_PATH] = {};
    GetWindowTextA(edit, after, sizeof after);
    CHECK_EQ(std::string(after), std::string(before));
    CHECK_EQ(std::string(CurrentFolder()), folder.Path());
    CHECK_EQ(RowCount(window), 3);
    CHECK(dialogs.Seen().empty());
}

QV_TEST(MenuItemsFollowTheSelection)
{
    HWND window = StartMainWindow();
    HMENU menu = CreatePopupMenu();
    for (UINT id : {105u, 32777u, 32778u, 32779u, 32780u})
        AppendMenuA(menu, MF_STRING, id, "x");
    auto grayed = [&](LPARAM position) {
        SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), position);
        std::string states;
        for (UINT id : {105u, 32777u, 32778u, 32779u, 32780u})
            states += GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED ? 'g' : '-';
        return states;
    };
    CHECK_EQ(grayed(0), "gggg-");
    SelectRows(window, {0});
    CHECK_EQ(grayed(0), "--g--");  // nothing is deleted from the drives view

    TestFolder folder("D:\\menu");
    WriteFileText(folder / "a.txt", "x");
    ShowLocation(window, folder.Path().c_str());
    SelectRows(window, {0});
    CHECK_EQ(grayed(0), "-----");
    SelectRows(window, {});
    CHECK_EQ(grayed(1), "-----");  // a submenu changes nothing
    DestroyMenu(menu);
}

QV_TEST(QuittingReleasesEachImageListOnceAndExitsWithZero)
{
    HWND window = StartMainWindow();
    SendMessageA(window, WM_CLOSE, 0, 0);
    SendMessageA(window, WM_DESTROY, 0, 0);
    CHECK(IsWindow(window));
    CHECK(g_app.smallIcons == nullptr && g_app.largeIcons == nullptr && g_app.treeIcons == nullptr);
    CHECK_EQ(RunMessageLoop(window), 0);
    DestroyWindow(window);  // releases nothing a second time

    for (auto way : {std::make_pair(WM_CLOSE, 0), std::make_pair(WM_DESTROY, 0), std::make_pair(WM_COMMAND, 32781)}) {
        Context context("message " + std::to_string(way.first));
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        char command[] = "C:\\qv\\Quillvane.exe";
        CHECK(CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
        HWND found = nullptr;
        WaitFor(
            [&] {
                for (found = FindWindowA("EXPLORER", nullptr); found;
                     found = FindWindowExA(nullptr, found, "EXPLORER", nullptr)) {
                    DWORD owner = 0;
                    GetWindowThreadProcessId(found, &owner);
                    if (owner == process.dwProcessId)
                        return true;
                }
                return false;
            },
            20000);
        PostMessageA(found, way.first, static_cast<WPARAM>(way.second), 0);
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
    CHECK_EQ(dialogs.Texts(), "Windows Registration failed!");
    CHECK_EQ(dialogs.Seen().size() == 1 ? dialogs.Seen()[0].caption : "", "Error");
}
