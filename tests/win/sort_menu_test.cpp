// Sorting the item list and the context menus of each location.
#include "tests/win/harness.h"

#include "app/app_state.h"
#include "app/frame.h"
#include "browse/browse.h"
#include "browse/item_text.h"

using namespace qvtest;

namespace {

// Replaces the rows by records made from (name, size) pairs, in that order.
void FillRows(HWND window, RowLayout layout, const std::vector<ItemRecord>& records)
{
    ClearItemList(window);
    for (const ItemRecord& record : records)
        AddListRow(List(window), 0, -1, record, layout, false, true);
}

ItemRecord FileRecord(const char* name, const char* size = "")
{
    ItemRecord record = {};
    lstrcpynA(record.name, name, sizeof record.name);
    lstrcpynA(record.size, size, sizeof record.size);
    return record;
}

ItemRecord DriveRecord(const char* name, const char* type, const char* size, const char* free, const char* fileSystem)
{
    ItemRecord record = {};
    lstrcpynA(record.name, name, sizeof record.name);
    lstrcpynA(record.type, type, sizeof record.type);
    lstrcpynA(record.size, size, sizeof record.size);
    lstrcpynA(record.freeSpace, free, sizeof record.freeSpace);
    lstrcpynA(record.fileSystem, fileSystem, sizeof record.fileSystem);
    return record;
}

void ClickHeader(HWND window, int column)
{
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = List(window);
    click.hdr.idFrom = 130;
    click.hdr.code = static_cast<UINT>(LVN_COLUMNCLICK);
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageA(window, WM_NOTIFY, 130, reinterpret_cast<LPARAM>(&click));
}

void SetWriteTime(const std::string& path, WORD year)
{
    SYSTEMTIME time = {};
    time.wYear = year;
    time.wMonth = 6;
    time.wDay = 1;
    time.wHour = 12;
    FILETIME fileTime;
    SystemTimeToFileTime(&time, &fileTime);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &fileTime);
    CloseHandle(file);
}

// The menu shown by one context-menu request, described after the window
// has prepared it: "text:id" items, "-" separators, "text>[...]" submenus,
// and "(gray)" after a grayed item (separators are never enabled). Empty when no menu was shown.
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
        std::string item;
        if (info.fType & MFT_SEPARATOR)
            item = "-";
        else if (info.hSubMenu)
            item = std::string(text) + ">[" + DescribeMenu(info.hSubMenu) + "]";
        else
            item = std::string(text) + ":" + std::to_string(info.wID);
        if ((info.fState & MFS_GRAYED) && !(info.fType & MFT_SEPARATOR))
            item += "(gray)";
        items.push_back(item);
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

QV_TEST(SortByNameReadsTheRowsBeingCompared)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\sort-name");
    ShowFolder(window, folder.Path());
    const char* orders[][3] = {{"b.txt", "A.txt", "a.txt"},
                               {"a.txt", "b.txt", "A.txt"},
                               {"A.txt", "a.txt", "b.txt"},
                               {"b.txt", "a.txt", "A.txt"}};
    for (const auto& order : orders) {
        Context context(std::string("inserted as ") + order[0] + " " + order[1] + " " + order[2]);
        FillRows(window, kFileLayout, {FileRecord(order[0]), FileRecord(order[1]), FileRecord(order[2])});
        SendCommand(window, 32796);
        CHECK_EQ(Join(ColumnOfRows(window)), "a.txt|A.txt|b.txt");
        SendCommand(window, 32796);
        CHECK_EQ(Join(ColumnOfRows(window)), "a.txt|A.txt|b.txt");
    }
}

QV_TEST(SortBySizePutsFoldersFirstAndKeepsLargeSizesInOrder)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\sort-size");
    WriteFileText(folder / "three.txt", std::string(3000, 'x'));
    WriteFileText(folder / "ten.txt", std::string(10, 'x'));
    MakeFolder(folder / "sub");
    WriteFileText(folder / "two.txt", std::string(2000, 'x'));
    ShowFolder(window, folder.Path());
    ClickHeader(window, 1);
    CHECK_EQ(Join(ColumnOfRows(window)), "sub|ten.txt|two.txt|three.txt");
    ClickHeader(window, 1);
    CHECK_EQ(Join(ColumnOfRows(window)), "sub|ten.txt|two.txt|three.txt");

    // Sizes past 2^31 KB must not wrap around.
    FillRows(window, kFileLayout,
             {FileRecord("c", "2147483649KB"), FileRecord("a", "5KB"), FileRecord("b", "2147483648KB"),
              FileRecord("d", "")});
    SendCommand(window, 32797);
    CHECK_EQ(Join(ColumnOfRows(window)), "d|a|b|c");

    // A row created after a sort goes to the end, not to its sorted place.
    ShowFolder(window, folder.Path());
    SendCommand(window, 32797);
    WriteFileText(folder / "one.txt", "x");
    AddPathRow(window, (folder / "one.txt").c_str(), 0, false);
    CHECK_EQ(Join(ColumnOfRows(window)), "sub|ten.txt|two.txt|three.txt|one.txt");
}

QV_TEST(SortByTimeAndTypeUseTheirColumns)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\sort-time");
    const std::pair<const char*, WORD> files[] = {{"mid.txt", 2020}, {"new.bmp", 2021}, {"old.wav", 2019}};
    for (const auto& file : files) {
        WriteFileText(folder / file.first, "x");
        SetWriteTime(folder / file.first, file.second);
    }
    ShowFolder(window, folder.Path());
    ClickHeader(window, 3);
    CHECK_EQ(Join(ColumnOfRows(window)), "old.wav|mid.txt|new.bmp");

    ClickHeader(window, 2);
    Texts types = ColumnOfRows(window, 2);
    for (size_t i = 1; i < types.size(); ++i)
        CHECK(lstrcmpA(types[i - 1].c_str(), types[i].c_str()) <= 0);
}

QV_TEST(VaultRowsSortOnlyByName)
{
    HWND window = StartMainWindow();
    SetCurrentFolder("hide");
    SetColumnSet(window, kVaultColumns);
    FillRows(window, kFileLayout, {FileRecord("E:\\b.txt"), FileRecord("C:\\z.txt"), FileRecord("D:\\a.txt")});
    for (WORD command : {WORD{32797}, WORD{32798}, WORD{32799}}) {
        Context context("command " + std::to_string(command));
        SendCommand(window, command);
        CHECK_EQ(Join(ColumnOfRows(window)), "E:\\b.txt|C:\\z.txt|D:\\a.txt");
    }
    SendCommand(window, 32796);
    CHECK_EQ(Join(ColumnOfRows(window)), "C:\\z.txt|D:\\a.txt|E:\\b.txt");
}

QV_TEST(DrivesViewHeadersSortByTheirOwnColumn)
{
    HWND window = StartMainWindow();
    FillRows(window, kDriveLayout,
             {DriveRecord("one", "b", "10.500G", "2.000G", "NTFS"), DriveRecord("two", "a", "9.000G", "30.000G", "FAT"),
              DriveRecord("three", "c", "100.000G", "1.000G", "EXT")});
    const std::pair<int, const char*> cases[] = {
        {1, "two|one|three"}, {2, "two|one|three"}, {3, "three|one|two"}, {4, "three|two|one"}, {0, "one|three|two"}};
    for (const auto& c : cases) {
        Context context("header " + std::to_string(c.first));
        ClickHeader(window, c.first);
        CHECK_EQ(Join(ColumnOfRows(window)), c.second);
    }

    // The real drive rows keep their drive letters as item data through a sort.
    RefreshView(window);
    ClickHeader(window, 0);
    for (int row = 0; row < RowCount(window); ++row) {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        SendMessageA(List(window), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        CHECK_EQ(static_cast<char>(item.lParam), DriveLetterOfDisplayName(RowText(window, row).c_str()));
    }
}

QV_TEST(ContextMenusFitTheLocation)
{
    HWND window = StartMainWindow();
    HWND list = List(window);
    CHECK_EQ(ContextMenuOf(window, Tree(window)), "");
    CHECK_EQ(ContextMenuOf(window, list), "");  // drives view, nothing selected

    SelectRows(window, {1});
    CHECK_EQ(ContextMenuOf(window, list), "打开磁盘:105");

    TestFolder folder("D:\\menus");
    WriteFileText(folder / "a.txt", "x");
    WriteFileText(folder / "b.txt", "x");
    ShowFolder(window, folder.Path());
    SelectRows(window, {});
    CHECK_EQ(ContextMenuOf(window, list),
             "查看>[图标:32793|列表:32794|详细信息:32795]|-|"
             "排列图标>[名称:32796|大小:32797|类型:32798|修改时间:32799]|刷新(&E):32805|-|"
             "新建>[文件夹:32773|-|BMP图像:32775|Microsoft Word 文档:32811|"
             "Microsoft PowerPoint 演示文稿:32812|文本文档:32776|波形声音:32813|Microsoft Excel 工作表:32814]|-|"
             "属性:32780");

    const char* itemMenu = "打开:105|-|移入Quillvane:32815|-|重命名:32779|删除:32778|-|属性:32780";
    SelectRows(window, {0});
    CHECK_EQ(ContextMenuOf(window, list), itemMenu);
    SelectRows(window, {0, 1});
    CHECK_EQ(ContextMenuOf(window, list), itemMenu);
    CHECK_EQ(ContextMenuOf(window, list, MAKELPARAM(-1, -1)), itemMenu);  // from the keyboard

    SetCurrentFolder("hide");
    SetColumnSet(window, kVaultColumns);
    FillRows(window, kFileLayout, {FileRecord("D:\\menus\\a.txt")});
    CHECK_EQ(ContextMenuOf(window, list), "");
    SelectRows(window, {0});
    CHECK_EQ(ContextMenuOf(window, list), "移除Quillvane>[移除不打开:32816|移除并打开:32823]");
}
