// The main window: start-up, column sets, commands, keys and quitting.
#include "tests/win/harness.h"

#include "app/app.h"
#include "base/app_state.h"
#include "browse/browse.h"

#include <objbase.h>

using namespace qvtest;

namespace {

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

QV_TEST(ColumnSetsAndTheirWidthsAndFormats)
{
    HWND window = StartMainWindow();
    CHECK_EQ(GetWindowLongA(List(window), GWL_STYLE) & 0xFFFF, LVS_REPORT | LVS_EDITLABELS);
    Texts sets;
    for (const char* location : {"", "C:", "hide"}) {
        ShowLocation(window, location);
        char text[64];
        LVCOLUMNA column = {LVCF_FMT | LVCF_WIDTH | LVCF_TEXT, 0, 0, text, sizeof text, 0, 0, 0, 0, 0, 0};
        for (int index = 0; SendMessageA(List(window), LVM_GETCOLUMNA, index, (LPARAM)&column); ++index)
            sets.push_back(std::string(text) + ":" + std::to_string(column.cx) + ":" + "LRC"[column.fmt & 3]);
    }
    CHECK_EQ(Join(sets), "名称:160:C|类型:100:C|总大小:100:C|可用空间:100:C|文件系统:100:C|"
                         "名称:220:C|大小:100:R|类型:120:L|修改时间:120:L|文件所在路径:560:C");
    CHECK_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);  // COM stays initialised
    CoUninitialize();
}

QV_TEST(CommandsAndKeysActOnTheList)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\commands", {"f0", "f1", "f2", "f3"});
    ShowLocation(window, *folder);
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
    char edited[MAX_PATH] = {};
    GetWindowTextA(EditControl(window), edited, sizeof edited);
    CHECK(g_focusedWhenEditing && RowText(window, 1) == edited && RowText(window, 1) == g_app.labelEditOldName);
    PressKeys({VK_CONTROL, 'X'});  // keys without an operation change nothing, not even in the editor
    CHECK(RowCount(window) == 4 && GetWindowTextLengthA(EditControl(window)) == lstrlenA(edited));
}

QV_TEST(QuittingTwiceReleasesEachImageListOnce)
{
    HWND window = StartMainWindow();
    SendMessageA(window, WM_CLOSE, 0, 0);
    SendMessageA(window, WM_DESTROY, 0, 0);
    CHECK(IsWindow(window) && !g_app.smallIcons && !g_app.largeIcons && !g_app.treeIcons);
    CHECK_EQ(RunMessageLoop(window), 0);
    DestroyWindow(window);  // releases nothing a second time
}
