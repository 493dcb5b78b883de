// Sorting the item list and the context menus of each location.
#include "tests/win/harness.h"

#include "base/app_state.h"
#include "browse/browse.h"
#include "browse/browse_parts.h"
#include "browse/item_text.h"

using namespace qvtest;

namespace {

// Replaces the rows by records made from texts: name, then the texts of
// columns 1, 2, ... of the layout.
void FillRows(HWND window, RowLayout layout, const std::vector<Texts>& rows)
{
    SendMessageA(List(window), LVM_DELETEALLITEMS, 0, 0);
    for (const Texts& texts : rows) {
        ItemRecord record = {};
        const std::pair<char*, int> driveFields[] = {
            {record.name, MAX_PATH}, {record.type, 50}, {record.size, 30}, {record.freeSpace, 30}, {record.fileSystem, 10}};
        const std::pair<char*, int> fileFields[] = {{record.name, MAX_PATH}, {record.size, 30}, {record.type, 50}};
        for (size_t i = 0; i < texts.size(); ++i) {
            auto field = layout == RowLayout::Drive ? driveFields[i] : fileFields[i];
            lstrcpynA(field.first, texts[i].c_str(), field.second);
        }
        AppendListRow(List(window), record, layout, -1, RowShade::Normal);
    }
}

void ClickHeader(HWND window, int column)
{
    NMLISTVIEW click = {};
    click.iItem = -1;
    click.iSubItem = column;
    Notify(window, 130, static_cast<UINT>(LVN_COLUMNCLICK), &click.hdr);
}

// The menu shown by one context-menu request, described after the window
// has prepared it: "text:id" items, "-" separators, "text>[...]" submenus,
// "(gray)" after a grayed item. Empty when no menu was shown.
std::string g_shownMenu;

std::string DescribeMenu(HMENU menu)
{
    Texts items;
    for (int index = 0; index < GetMenuItemCount(menu); ++index) {
        char text[128] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_STATE;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(menu, static_cast<UINT>(index), TRUE, &info);
        std::string item = info.fType & MFT_SEPARATOR ? "-"
                           : info.hSubMenu           ? std::string(text) + ">[" + DescribeMenu(info.hSubMenu) + "]"
                                                     : std::string(text) + ":" + std::to_string(info.wID);
        items.push_back(item + ((info.fState & MFS_GRAYED) && !(info.fType & MFT_SEPARATOR) ? "(gray)" : ""));
    }
    return Join(items);
}

LRESULT CALLBACK WatchMenus(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_INITMENUPOPUP && message->lParam == 0)
        g_shownMenu = DescribeMenu(reinterpret_cast<HMENU>(message->wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

// Sends a context-menu request and returns the menu it showed.
std::string ContextMenuOf(HWND window, HWND clicked, LPARAM position = MAKELPARAM(700, 500))
{
    g_shownMenu.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, WatchMenus, nullptr, GetCurrentThreadId());
    UINT_PTR timer = SetTimer(nullptr, 0, 200, CloseMenu);
    SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(clicked), position);
    KillTimer(nullptr, timer);
    UnhookWindowsHookEx(hook);
    return g_shownMenu;
}

}  // namespace

QV_TEST(SortByNameAndSizeReadTheRowsBeingCompared)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\sort");
    ShowLocation(window, folder.Path().c_str());
    const char* orders[][3] = {{"b.txt", "A.txt", "a.txt"}, {"a.txt", "b.txt", "A.txt"}, {"A.txt", "a.txt", "b.txt"}};
    for (const auto& order : orders) {
        Context context(std::string("inserted as ") + order[0] + " " + order[1] + " " + order[2]);
        FillRows(window, RowLayout::File, {{order[0]}, {order[1]}, {order[2]}});
        for (int twice = 0; twice < 2; ++twice) {
            SendCommand(window, 32796);
            CHECK_EQ(Rows(window), "a.txt|A.txt|b.txt");
        }
    }
    // Folders (no size) first; sizes past 2^31 KB must not wrap around.
    FillRows(window, RowLayout::File, {{"c", "2147483649KB"}, {"a", "5KB"}, {"b", "2147483648KB"}, {"d", ""}});
    SendCommand(window, 32797);
    CHECK_EQ(Rows(window), "d|a|b|c");

    // A row created after a sort goes to the end, not to its sorted place.
    WriteFileText(folder / "big.txt", std::string(3000, 'x'));
    WriteFileText(folder / "small.txt", "x");
    ShowLocation(window, folder.Path().c_str());
    ClickHeader(window, 1);
    WriteFileText(folder / "mid.txt", std::string(1500, 'x'));
    AppendPathRow(window, (folder / "mid.txt").c_str());
    CHECK_EQ(Rows(window), "small.txt|big.txt|mid.txt");
}

QV_TEST(SortByTimeAndTypeUseTheirColumns)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\sort-time");
    for (auto file : {std::make_pair("mid.txt", 2020), std::make_pair("new.bmp", 2021), std::make_pair("old.wav", 2019)}) {
        WriteFileText(folder / file.first, "x");
        SYSTEMTIME time = {static_cast<WORD>(file.second), 6, 0, 1, 12, 0, 0, 0};
        FILETIME fileTime;
        SystemTimeToFileTime(&time, &fileTime);
        HANDLE handle = CreateFileA((folder / file.first).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        SetFileTime(handle, nullptr, nullptr, &fileTime);
        CloseHandle(handle);
    }
    ShowLocation(window, folder.Path().c_str());
    ClickHeader(window, 3);
    CHECK_EQ(Rows(window), "old.wav|mid.txt|new.bmp");
    ClickHeader(window, 2);
    CHECK_EQ(Rows(window, 2), Rows(window, 2, true));
}

QV_TEST(VaultAndDrivesViewsSortByTheirOwnColumns)
{
    HWND window = StartMainWindow();
    ShowLocation(window, "hide");
    FillRows(window, RowLayout::File, {{"E:\\b.txt"}, {"C:\\z.txt"}, {"D:\\a.txt"}});
    for (WORD command : {WORD{32797}, WORD{32798}, WORD{32799}}) {
        SendCommand(window, command);
        CHECK_EQ(Rows(window), "E:\\b.txt|C:\\z.txt|D:\\a.txt");
    }
    SendCommand(window, 32796);
    CHECK_EQ(Rows(window), "C:\\z.txt|D:\\a.txt|E:\\b.txt");

    ShowLocation(window, "");
    FillRows(window, RowLayout::Drive,
             {{"one", "b", "10.500G", "2.000G", "NTFS"}, {"two", "a", "9.000G", "30.000G", "FAT"},
              {"three", "c", "100.000G", "1.000G", "EXT"}});
    const char* orders[] = {"one|three|two", "two|one|three", "two|one|three", "three|one|two", "three|two|one"};
    for (int column = 0; column < 5; ++column) {
        Context context("header " + std::to_string(column));
        ClickHeader(window, column);
        CHECK_EQ(Rows(window), orders[column]);
    }
    // The real drive rows keep their drive letters as item data through a sort.
    RefreshView(window);
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

    TestFolder folder("D:\\menus");
    WriteFileText(folder / "a.txt", "x");
    WriteFileText(folder / "b.txt", "x");
    ShowLocation(window, folder.Path().c_str());
    SelectRows(window, {0});
    CHECK_EQ(ContextMenuOf(window, Tree(window)), "");  // the tree has no menu
    const char* itemMenu = "打开:105|-|移入Quillvane:32815|-|重命名:32779|删除:32778|-|属性:32780";
    CHECK_EQ(ContextMenuOf(window, list), itemMenu);
    SelectRows(window, {0, 1});
    CHECK_EQ(ContextMenuOf(window, list, MAKELPARAM(-1, -1)), itemMenu);  // from the keyboard
    SelectRows(window, {});
    CHECK_EQ(ContextMenuOf(window, list),
             "查看>[图标:32793|列表:32794|详细信息:32795]|-|"
             "排列图标>[名称:32796|大小:32797|类型:32798|修改时间:32799]|刷新(&E):32805|-|"
             "新建>[文件夹:32773|-|BMP图像:32775|Microsoft Word 文档:32811|"
             "Microsoft PowerPoint 演示文稿:32812|文本文档:32776|波形声音:32813|Microsoft Excel 工作表:32814]|-|"
             "属性:32780");

    MakeVaultEntry('D', "menus+a.txt");
    ShowLocation(window, "hide");
    CHECK_EQ(ContextMenuOf(window, list), "");
    SelectRows(window, {0});
    CHECK_EQ(ContextMenuOf(window, list), "移除Quillvane>[移除不打开:32816|移除并打开:32823]");
    RemoveTree("D:\\ \\");
}
