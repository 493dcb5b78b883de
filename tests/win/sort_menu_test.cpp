// Sorting the item list, and the context menus of each location.
#include "tests/win/harness.h"

#include "base/app_state.h"
#include "browse/browse.h"
#include "browse/browse_parts.h"

using namespace qvtest;

namespace {

// Replaces the rows by records of (name, column 1, column 2, ...) texts.
void FillRows(HWND window, RowLayout layout, const std::vector<Texts>& rows)
{
    SendMessageA(List(window), LVM_DELETEALLITEMS, 0, 0);
    for (const Texts& texts : rows) {
        ItemRecord record = {};
        std::pair<char*, int> drive[] = {{record.name, MAX_PATH}, {record.type, 50}, {record.size, 30},
                                         {record.freeSpace, 30}, {record.fileSystem, 10}};
        std::pair<char*, int> file[] = {{record.name, MAX_PATH}, {record.size, 30}, {record.type, 50}, {record.time, 40}};
        auto* fields = layout == RowLayout::Drive ? drive : file;
        for (size_t i = 0; i < texts.size(); ++i)
            lstrcpynA(fields[i].first, texts[i].c_str(), fields[i].second);
        AppendListRow(List(window), record, layout, -1, RowShade::Normal);
    }
}

void ClickHeader(HWND window, int column)
{
    NMLISTVIEW click = {};
    click.iSubItem = column;
    Notify(window, 130, static_cast<UINT>(LVN_COLUMNCLICK), &click.hdr);
}

// The menu a context-menu request shows, read when the window prepares it:
// "text:id" items, "-" separators, "text>[...]" submenus.
std::string g_shownMenu;
std::string DescribeMenu(HMENU menu)
{
    Texts items;
    for (int index = 0; index < GetMenuItemCount(menu); ++index) {
        char text[128] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(menu, static_cast<UINT>(index), TRUE, &info);
        items.push_back(info.fType & MFT_SEPARATOR ? "-"
                        : info.hSubMenu           ? std::string(text) + ">[" + DescribeMenu(info.hSubMenu) + "]"
                                                  : std::string(text) + ":" + std::to_string(info.wID));
    }
    return Join(items);
}
LRESULT CALLBACK WatchMenus(int code, WPARAM wParam, LPARAM lParam)
{
    auto message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_INITMENUPOPUP && message->lParam == 0)
        g_shownMenu = DescribeMenu(reinterpret_cast<HMENU>(message->wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }
std::string ContextMenuOf(HWND window, HWND clicked, LPARAM position = MAKELPARAM(700, 500))
{
    g_shownMenu.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, WatchMenus, nullptr, GetCurrentThreadId());
    UINT_PTR timer = SetTimer(nullptr, 0, 200, CloseMenu);
    SendMessageA(window, WM_CONTEXTMENU, (WPARAM)clicked, position);
    KillTimer(nullptr, timer);
    UnhookWindowsHookEx(hook);
    return g_shownMenu;
}

}  // namespace

QV_TEST(SortingReadsTheRowsBeingComparedInTheirViewsColumns)
{
    HWND window = StartMainWindow();
    ShowLocation(window, "C:");
    for (const auto& order : {Texts{"b.txt", "A.txt", "a.txt"}, Texts{"A.txt", "a.txt", "b.txt"}}) {
        FillRows(window, RowLayout::File, {{order[0]}, {order[1]}, {order[2]}});
        SendCommand(window, 32796);
        SendCommand(window, 32796);  // ascending, every time
        CHECK_EQ(Rows(window), "a.txt|A.txt|b.txt");
    }
    // Folders (no size) first; sizes past 2^31 KB must not wrap around; then time, type.
    FillRows(window, RowLayout::File, {{"c", "2147483649KB", "b", "2020-01-01 10:00"}, {"a", "5KB", "c", "2019-12-31 23:59"},
                                       {"b", "2147483648KB", "a", "2021-01-01 00:00"}, {"d", "", "d", "1999-01-01 00:00"}});
    const char* orders[] = {"d|a|b|c", "b|c|a|d", "d|a|c|b"};
    for (int column = 1; column <= 3; ++column) {
        ClickHeader(window, column);
        CHECK_EQ(Rows(window), orders[column - 1]);
    }
    ShowLocation(window, "hide");  // vault rows have a name only
    FillRows(window, RowLayout::File, {{"E:\\b.txt"}, {"C:\\z.txt"}});
    SendCommand(window, 32797);
    CHECK_EQ(Rows(window), "E:\\b.txt|C:\\z.txt");
    SendCommand(window, 32796);
    CHECK_EQ(Rows(window), "C:\\z.txt|E:\\b.txt");

    ShowLocation(window, "");  // in the drives view each header sorts by its own column
    FillRows(window, RowLayout::Drive, {{"one", "b", "10.500G", "2.000G", "NTFS"}, {"two", "a", "9.000G", "30.000G", "FAT"},
                                        {"three", "c", "100.000G", "1.000G", "EXT"}});
    const char* driveOrders[] = {"one|three|two", "two|one|three", "two|one|three", "three|one|two", "three|two|one"};
    for (int column = 0; column < 5; ++column) {
        ClickHeader(window, column);
        CHECK_EQ(Rows(window), driveOrders[column]);
    }
    RefreshView(window);  // real drive rows keep their letters through a sort
    ClickHeader(window, 2);
    SelectRows(window, {0});
    SendCommand(window, 105);
    CHECK_EQ(std::string(CurrentFolder()).size(), 2u);
}

QV_TEST(ContextMenusFitTheLocation)
{
    HWND window = StartMainWindow();
    HWND list = List(window);
    CHECK_EQ(ContextMenuOf(window, list), "");  // drives view, nothing selected
    SelectRows(window, {1});
    CHECK_EQ(ContextMenuOf(window, list), "打开磁盘:105");
    ShowLocation(window, "C:");
    SelectRows(window, {0});
    CHECK_EQ(ContextMenuOf(window, Tree(window)), "");  // the tree has no menu
    CHECK_EQ(ContextMenuOf(window, list, MAKELPARAM(-1, -1)),  // from the keyboard
             "打开:105|-|移入Quillvane:32815|-|重命名:32779|删除:32778|-|属性:32780");
    SelectRows(window, {});
    CHECK_EQ(ContextMenuOf(window, list),
             "查看>[图标:32793|列表:32794|详细信息:32795]|-|排列图标>[名称:32796|大小:32797|类型:32798|修改时间:32799]|"
             "刷新(&E):32805|-|新建>[文件夹:32773|-|BMP图像:32775|Microsoft Word 文档:32811|Microsoft PowerPoint "
             "演示文稿:32812|文本文档:32776|波形声音:32813|Microsoft Excel 工作表:32814]|-|属性:32780");
    MakeVaultEntry('D', "a.txt");
    ShowLocation(window, "hide");
    CHECK_EQ(ContextMenuOf(window, list), "");
    SelectRows(window, {0});
    CHECK_EQ(ContextMenuOf(window, list), "移除Quillvane>[移除不打开:32816|移除并打开:32823]");
    RemoveTree("D:\\ \\");
}
