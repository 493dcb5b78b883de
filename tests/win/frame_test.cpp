// The main window: start-up, column sets, layout, commands, keys and quitting.
#include "tests/win/harness.h"

#include "app/app.h"
#include "base/app_state.h"
#include "browse/browse.h"

#include <objbase.h>

using namespace qvtest;

namespace {

// Each column as "title:width:format" (format 0 left, 1 right, 2 centred).
std::string ColumnRules(HWND window)
{
    Texts columns;
    char text[64];
    LVCOLUMNA column = {LVCF_FMT | LVCF_WIDTH | LVCF_TEXT, 0, 0, text, sizeof text, 0, 0, 0, 0, 0, 0};
    for (int index = 0; SendMessageA(List(window), LVM_GETCOLUMNA, index, (LPARAM)&column); ++index)
        columns.push_back(std::string(text) + ":" + std::to_string(column.cx) + ":" + std::to_string(column.fmt & 3));
    return Join(columns);
}

HWND EditControl(HWND window) { return (HWND)SendMessageA(List(window), LVM_GETEDITCONTROL, 0, 0); }

// Whether the list had the focus when asked to edit a label, which the list
// view requires on Windows (Wine's doesn't mind).
WNDPROC g_listProcedure;
bool g_focusedWhenEditing;
LRESULT CALLBACK WatchEditRequests(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_focusedWhenEditing |= message == LVM_EDITLABELA && GetFocus() == list;
    return CallWindowProcA(g_listProcedure, list, message, wParam, lParam);
}

}  // namespace

QV_TEST(StartUpBuildsTheWindowColumnSetsAndLayout)
{
    HWND window = StartMainWindow();
    RECT frame = {};
    GetWindowRect(window, &frame);
    CHECK(frame.right - frame.left == 900 && frame.bottom - frame.top == 600 && !GetMenu(window));
    CHECK_EQ(GetWindowLongA(List(window), GWL_STYLE) & 0xFFFF, LVS_REPORT | LVS_EDITLABELS);
    CHECK_EQ(ColumnRules(window), "名称:160:2|类型:100:2|总大小:100:2|可用空间:100:2|文件系统:100:2");
    ShowLocation(window, "C:");
    CHECK_EQ(ColumnRules(window), "名称:220:2|大小:100:1|类型:120:0|修改时间:120:0");
    ShowLocation(window, "hide");
    CHECK_EQ(ColumnRules(window), "文件所在路径:560:2");
    CHECK_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);  // COM stays initialised
    CoUninitialize();

    RECT client = {0, 0, 1000, 500}, list = {}, status = {};
    AdjustWindowRectEx(&client, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_ACCEPTFILES);
    SetWindowPos(window, nullptr, 0, 0, client.right - client.left, client.bottom - client.top, SWP_NOMOVE);
    int edges[3] = {};
    SendMessageA(GetDlgItem(window, 132), SB_GETPARTS, 3, (LPARAM)edges);
    GetWindowRect(List(window), &list);
    GetWindowRect(GetDlgItem(window, 132), &status);
    MapWindowPoints(nullptr, window, (POINT*)&list, 2);
    MapWindowPoints(nullptr, window, (POINT*)&status, 2);
    CHECK(edges[0] == 700 && edges[1] == 850 && edges[2] == -1);
    CHECK(list.left == 250 && list.right == 1000 && list.bottom == status.top);
}

QV_TEST(CommandsAndKeysActOnTheList)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\commands");
    for (int i = 0; i < 4; ++i)
        WriteFileText(folder / ("f" + std::to_string(i) + ".txt"), "x");
    ShowLocation(window, *folder);
    SendCommand(window, 32793);
    SendCommand(window, 32805);  // a refresh keeps the view mode
    CHECK_EQ(GetWindowLongA(List(window), GWL_STYLE) & LVS_TYPEMASK, LVS_ICON);
    SelectRows(window, {0, 2});
    SendCommand(window, 32790);
    auto next = [&](int from) { return SendMessageA(List(window), LVM_GETNEXTITEM, from, LVNI_SELECTED); };
    CHECK(next(-1) == 1 && next(1) == 3 && next(3) == -1);
    SetFocus(window);
    PressKeys({VK_CONTROL, 'A'});
    CHECK(GetFocus() == List(window) && SendMessageA(List(window), LVM_GETSELECTEDCOUNT, 0, 0) == 4);

    // F2 after a click in the tree still starts the edit: the list takes the focus.
    g_listProcedure = (WNDPROC)SetWindowLongPtrA(List(window), GWLP_WNDPROC, (LONG_PTR)WatchEditRequests);
    SelectRows(window, {1});
    SetFocus(Tree(window));
    PressKeys({VK_F2});
    char before[MAX_PATH] = {}, after[MAX_PATH] = {};
    GetWindowTextA(EditControl(window), before, sizeof before);
    CHECK(g_focusedWhenEditing && RowText(window, 1) == before && RowText(window, 1) == g_app.labelEditOldName);
    // Keys without an operation change nothing, not even inside the label editor.
    SendMessageA(EditControl(window), EM_SETSEL, 0, -1);
    DialogCatcher dialogs;
    const WORD idleKeys[][2] = {{VK_CONTROL, 'X'},       {VK_CONTROL, 'V'},  {VK_CONTROL, 'C'},
                                {VK_CONTROL, VK_RETURN}, {VK_MENU, VK_LEFT}, {VK_MENU, VK_RIGHT}};
    for (const auto& keys : idleKeys)
        PressKeys({keys[0], keys[1]});
    GetWindowTextA(EditControl(window), after, sizeof after);
    CHECK(std::string(after) == before && RowCount(window) == 4 && dialogs.Seen().empty());

    // Menu items by selection and view, as a popup (position 0) is prepared.
    HMENU menu = CreatePopupMenu();
    auto grayed = [&](LPARAM position) {
        SendMessageA(window, WM_INITMENUPOPUP, (WPARAM)menu, position);
        std::string states;
        for (UINT id : {105u, 32777u, 32778u, 32779u, 32780u})
            states += GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED ? 'g' : '-';
        return states;
    };
    for (UINT id : {105u, 32777u, 32778u, 32779u, 32780u})
        AppendMenuA(menu, MF_STRING, id, "x");
    SelectRows(window, {});
    CHECK_EQ(grayed(1), "-----");  // a submenu changes nothing
    CHECK_EQ(grayed(0), "gggg-");
    SelectRows(window, {0});
    CHECK_EQ(grayed(0), "-----");
    ShowLocation(window, "");
    SelectRows(window, {0});
    CHECK_EQ(grayed(0), "--g--");  // nothing is deleted from the drives view
}

QV_TEST(QuittingReleasesImageListsOnceAndExitsWithZero)
{
    HWND window = StartMainWindow();
    SendMessageA(window, WM_CLOSE, 0, 0);
    SendMessageA(window, WM_DESTROY, 0, 0);
    CHECK(IsWindow(window) && !g_app.smallIcons && !g_app.largeIcons && !g_app.treeIcons);
    CHECK_EQ(RunMessageLoop(window), 0);
    DestroyWindow(window);  // releases nothing a second time

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    char command[] = "C:\\qv\\Quillvane.exe";
    CHECK(CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    HWND found = nullptr;
    WaitFor([&] { return (found = FindWindowA("EXPLORER", nullptr)) != nullptr; }, 20000);
    PostMessageA(found, WM_COMMAND, 32781, 0);
    DWORD code = 99;
    CHECK_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
    CHECK(GetExitCodeProcess(process.hProcess, &code) && code == 0);

    WNDCLASSEXA taken = {sizeof taken, 0, DefWindowProcA, 0, 0, GetModuleHandleA(nullptr), 0, 0, 0, 0, "EXPLORER", 0};
    UnregisterClassA("EXPLORER", GetModuleHandleA(nullptr));
    RegisterClassExA(&taken);  // start-up can't register its class: it says so and stops
    DialogCatcher dialogs;
    CHECK(StartApplication(GetModuleHandleA(nullptr), SW_SHOWNORMAL) == nullptr);
    CHECK_EQ(dialogs.Texts() + "|" + (dialogs.Seen().empty() ? "" : dialogs.Seen()[0].caption),
             "Windows Registration failed!|Error");
}
