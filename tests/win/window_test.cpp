// The main window: its views, tree, menus and keys, and moving between locations.
#include "tests/win/harness.h"

#include "base/app_state.h"
#include "browse/browse.h"
#include "browse/browse_parts.h"
#include "browse/item_text.h"
#include "browse/kinds.h"

#include <shellapi.h>

using namespace qvtest;

namespace {

std::string Current() { return CurrentFolder(); }

bool Dimmed(HWND window, int row) { return SendMessageA(List(window), LVM_GETITEMSTATE, row, LVIS_CUT) & LVIS_CUT; }

// The current folder, the status bar's location text and the column titles.
const std::string kDriveColumns = "名称|类型|总大小|可用空间|文件系统", kFolderColumns = "名称|大小|类型|修改时间";
std::string Location(HWND window)
{
    Texts titles = {CurrentFolder(), StatusText(window, 0)};
    char title[32];
    for (LVCOLUMNA column = {LVCF_TEXT, 0, 0, title, sizeof title, 0, 0, 0, 0, 0, 0};
         SendMessageA(List(window), LVM_GETCOLUMNA, titles.size() - 2, (LPARAM)&column);)
        titles.push_back(title);
    return Join(titles);
}

// Replaces the folder view's rows by rows of (name, size as shown, the extension of its kind, local time as
// shown); an empty size makes a folder.
void FillRows(HWND window, const std::vector<Texts>& rows)
{
    Rows().Clear();
    KindLookup kinds;
    for (const Texts& texts : rows) {
        RowFacts facts;
        long long kilobytes = std::stoll("0" + texts[1]);
        facts.attributes = texts[1].empty() ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
        facts.size = kilobytes > 0 ? static_cast<uint64_t>(kilobytes - 1) * 1024 : 0;
        facts.kind = KindOfEntry(("x." + texts[2]).c_str(), FILE_ATTRIBUTE_NORMAL, kinds);
        SYSTEMTIME time = {};
        sscanf(texts[3].c_str(), "%hu-%hu-%hu %hu:%hu", &time.wYear, &time.wMonth, &time.wDay, &time.wHour,
               &time.wMinute);
        FILETIME local, utc;
        SystemTimeToFileTime(&time, &local), LocalFileTimeToFileTime(&local, &utc);
        facts.writeTime = (static_cast<uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
        Rows().Add(texts[0].c_str(), texts[0].size(), facts);
    }
    ShowRowCount(window);
}

// The entries of a menu with their commands ('!' when grayed), submenus in brackets.
std::string Describe(HMENU menu)
{
    Texts entries;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[64] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        UINT id = GetMenuItemID(menu, i), grayed = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED;
        entries.push_back(id == UINT(-1) ? text + ("(" + Describe(GetSubMenu(menu, i)) + ")")
                          : id == 0      ? "-"
                                         : text + ("=" + std::to_string(id)) + (grayed ? "!" : ""));
    }
    return Join(entries);
}

// The main window's procedure, watched: the context menu it shows is read and closed.
WNDPROC g_window;
std::string g_menu;
LRESULT CALLBACK WatchWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CallWindowProcA(g_window, window, message, wParam, lParam);
    if (message == WM_INITMENUPOPUP && lParam == 0)
        g_menu = Describe(reinterpret_cast<HMENU>(wParam)), EndMenu();
    return result;
}
std::string ShownMenu(HWND window, HWND clicked)
{
    g_menu.clear();
    SendMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(clicked), MAKELPARAM(200, 200));
    return g_menu;
}

}  // namespace

QV_TEST(DrivesFoldersAndTheVaultListedSortedAndMovedBetween)
{
    HWND window = StartMainWindow();
    const bool slow = SlowDrive() != 0;  // the network drive G:, when this machine has FUSE
    CHECK_EQ(StatusText(window, 1) + Rows(window) + "|" + Rows(window, 1),
             std::string(slow ? "6" : "5") + " 个分区 (A:)| (C:)| (D:)| (E:)" + (slow ? "| (G:)" : "") +
                 "|可移动磁盘|本地磁盘|本地磁盘|本地磁盘" + (slow ? "|网络磁盘" : ""));
    // D:'s figures are the system's; its free bytes lie between the caller's and all (Wine tells them alike).
    ULARGE_INTEGER mine = {}, total = {}, free = {};
    GetDiskFreeSpaceExA("D:\\", &mine, &total, &free);
    char fileSystem[16] = {}, size[32];
    GetVolumeInformationA("D:\\", nullptr, 0, nullptr, nullptr, nullptr, fileSystem, sizeof fileSystem);
    FormatGigabytes(total.QuadPart, size, sizeof size);  // its rounding is tested natively
    CHECK_EQ(RowText(window, 2, 2) + "|" + RowText(window, 2, 4) + "|" + RowText(window, 0, 2) + RowText(window, 0, 3),
             size + std::string("|") + fileSystem + "|");
    auto shown = static_cast<ULONGLONG>(std::stod(RowText(window, 2, 3)) * 1073741824.0);  // to half a MiB
    CHECK(shown + 1048576 >= mine.QuadPart && shown <= free.QuadPart + 1048576);
    CHECK(SendMessageA(Tree(window), TVM_GETITEMSTATE, (WPARAM)TreeRoot(window), TVIS_EXPANDED) & TVIS_EXPANDED);
    CHECK_EQ(TreeChildren(window, TreeRoot(window)), std::string(" (A:)| (C:)| (D:)| (E:)|") + (slow ? " (G:)|" : "") + "Quillvane");

    // 誠 is D5 5C in code page 936: its second byte is a backslash.
    TestFolder chinese("D:\\中文", {"誠\\", "誠\\deep\\", "s2\\", "hidden\\", "system\\", "x.\\", "a.txt"});
    SetFileAttributesA((chinese / "system").c_str(), FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA((chinese / "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    HTREEITEM drive = TreeChild(window, nullptr, " (D:)");
    TreeView_Expand(Tree(window), drive, TVE_EXPAND);
    WaitIdle();
    HTREEITEM node = TreeChild(window, drive, "中文");
    for (UINT action : {TVE_EXPAND, TVE_COLLAPSE, TVE_EXPAND})  // the node is filled once
        TreeView_Expand(Tree(window), node, action);
    WaitIdle();
    CHECK_EQ(TreeChildren(window, node) + "|" + TreeNodePath(window, TreeChild(window, node, "誠")) + CurrentFolder(),
             "hidden|s2|誠|D:\\中文\\誠");  // filling nodes leaves the item list alone

    TestFolder("E:\\double");
    ClickTreeNode(window, TreeChild(window, nullptr, " (D:)"));
    CHECK_EQ(Location(window), "D:|D:|" + kFolderColumns);
    ClickTreeNode(window, TreeRoot(window));
    CHECK_EQ(Location(window), "|我的电脑|" + kDriveColumns);
    // A drive row opens its own drive after a sort: by type (the fixed disks after the floppy), then by name.
    for (WORD sort : {WORD{32798}, WORD{32796}}) {
        Show(window, "");
        SendCommand(window, sort);
        DoubleClickRow(window, " (D:)");
        CHECK_EQ(Location(window), "D:|D:|" + kFolderColumns);
    }
    Show(window, "");
    SelectRows(window, {3});
    SendCommand(window, 105);
    DoubleClickRow(window, "double");
    CHECK_EQ(Location(window), "E:\\double|E:\\double|" + kFolderColumns);

    TestFolder folder("D:\\listing", {"a.txt", "c.sys", "b\\"});
    WriteFileText(folder / "k.dat", std::string(1024, 'k'));
    SetFileAttributesA((folder / "a.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA((folder / "c.sys").c_str(), FILE_ATTRIBUTE_SYSTEM);
    SYSTEMTIME written = {2021, 3, 0, 4, 5, 6, 7, 0};  // local time
    FILETIME local, utc;
    SystemTimeToFileTime(&written, &local), LocalFileTimeToFileTime(&local, &utc);
    HANDLE k = CreateFileA((folder / "k.dat").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(k, nullptr, nullptr, &utc), CloseHandle(k);
    Show(window, *folder);
    CHECK_EQ(Rows(window, 0, true) + "|" + Location(window) + "|" + StatusText(window, 1),
             "a.txt|b|k.dat|" + folder.path + "|" + folder.path + "|" + kFolderColumns + "|3 个对象");
    int hidden = FindRow(window, "a.txt"), sub = FindRow(window, "b"), file = FindRow(window, "k.dat");
    CHECK(Dimmed(window, hidden) && !Dimmed(window, sub) && RowText(window, sub, 3).size() == 16);
    CHECK_EQ(RowText(window, hidden, 1) + RowText(window, file, 1) + RowText(window, sub, 1), "1KB2KB");
    // A click shows what is selected: a file's type (the shell's), time and size, else how many.
    SHFILEINFOA shell = {};
    SHGetFileInfoA("k.dat", FILE_ATTRIBUTE_NORMAL, &shell, sizeof shell, SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES);
    Texts status;
    for (const std::vector<int>& rows : {std::vector<int>{file}, {sub}, {file, sub}, {}}) {
        SelectRows(window, rows);
        Notify(window, 130, static_cast<UINT>(NM_CLICK));
        status.push_back(StatusText(window, 0));
    }
    CHECK_EQ(Join(status), "类型: " + std::string(shell.szTypeName) + " 修改日期: 2021-03-04 05:06 大小: 2KB|" +
                               "选定 1 个对象|选定 2 个对象|" + folder.path);
    SendMessageA(List(window), LVM_SETCOLUMNWIDTH, 0, 333);  // a width the user set stays in the next folder
    DoubleClickRow(window, "b");
    CHECK_EQ(Location(window) + std::to_string(SendMessageA(List(window), LVM_GETCOLUMNWIDTH, 0, 0)),
             folder / "b|" + folder / "b|" + kFolderColumns + "333");

    for (const char* stored : {"Ddocs+work+a.txt", "Cx.doc", "E+a.txt", "Dsystem.txt"})
        MakeVaultEntry(stored[0], stored + 1);
    SetFileAttributesA("D:\\ \\Quillnest\\system.txt", FILE_ATTRIBUTE_SYSTEM);
    Show(window, "hide");
    CHECK_EQ(Rows(window) + "|" + Location(window) + "|" + StatusText(window, 1),
             "C:\\x.doc|D:\\docs\\work\\a.txt|E:\\\\a.txt|hide|Quillvane|文件所在路径|3 个对象");
    Show(window, "D:");  // the hidden system root shows neither in a folder view nor in the tree
    TreeView_Expand(Tree(window), TreeChild(window, nullptr, " (D:)"), TVE_EXPAND);
    WaitIdle();
    CHECK(FindRow(window, " ") < 0 && !TreeChild(window, TreeChild(window, nullptr, " (D:)"), " "));

    // By name (lower case first), size (folders first; past 2^31 KB no wrap), type and time, from the
    // menu and from the headers, each starting from another order.
    FillRows(window, {{"b", "2147483649KB", "b", "2020-01-01 10:00"},
                      {"A", "5KB", "c", "2019-12-31 23:59"},
                      {"a", "2147483648KB", "a", "2021-01-01 00:00"},
                      {"d", "", "d", "1999-01-01 00:00"}});
    Texts orders;
    for (int step : {32796, 1, 32798, 3, 0, 32797, 2, 32799}) {
        NMLISTVIEW click = {};
        click.iSubItem = step;
        step > 3 ? SendCommand(window, static_cast<WORD>(step))
                 : (void)Notify(window, 130, static_cast<UINT>(LVN_COLUMNCLICK), &click.hdr);
        orders.push_back(Rows(window));
    }
    CHECK_EQ(Join(orders), "a|A|b|d|d|A|a|b|a|b|A|d|d|A|b|a|a|A|b|d|d|A|a|b|a|b|A|d|d|A|b|a");

    // Paths too long are refused, never cut: a folder too deep to search stays shut, entries too long stay out.
    TestFolder open("D:\\open");
    std::string deep = open / std::string(250, 'd'), base = open / std::string(200, 'b');
    MakeFolder(deep), MakeFolder(base);
    WriteFileText(base + "\\" + std::string(70, 'n'), ""), WriteFileText(base + "\\short.txt", "");
    WriteFileText(open / "x.zzz", "");
    Show(window, *open);
    DialogCatcher dialogs;
    DoubleClickRow(window, "x.zzz");  // a file of no known type: the view stays
    DoubleClickRow(window, std::string(250, 'd'));
    CHECK_EQ(std::string(CurrentFolder()) + std::to_string(RowCount(window)), open.path + "3");
    DoubleClickRow(window, std::string(200, 'b'));
    CHECK_EQ(std::string(CurrentFolder()) + "|" + Rows(window), base + "|short.txt");
    CHECK_EQ(dialogs.Texts(true), Join({open / "x.zzz:没有与给定的文件扩展名关联的应用程序",
                                        "提示:路径太长，无法打开：" + deep, "提示:有 1 个项目的路径过长，未列出"}));
}

QV_TEST(ColumnSetsMenusKeysAndWindowsSettings)
{
    HWND window = StartMainWindow();
    CHECK_EQ(GetWindowLongA(List(window), GWL_STYLE) & 0xFFFF, LVS_REPORT | LVS_EDITLABELS | LVS_OWNERDATA);
    Show(window, "C:");  // fills the image lists
    // For Windows: no "no disk" boxes, redirected writes or stretched windows, icons with alpha, a small icon of its
    // size. Wine reports the system DPI to every program, with <dpiAware> or without.
    UINT mode = SetErrorMode(0);
    SetErrorMode(mode);
    HMODULE program = LoadLibraryExA("C:\\qv\\Quillvane.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC manifest = FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    std::string xml(static_cast<const char*>(LockResource(LoadResource(program, manifest))),
                    SizeofResource(program, manifest));
    ICONINFO small = {};
    GetIconInfo(reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM)), &small);
    Texts settings = {std::to_string(mode), std::to_string(xml.find("<requestedExecutionLevel level=\"asInvoker\" "
                                                                    "uiAccess=\"false\"/>") != std::string::npos)};
    size_t v3 = xml.find("<application xmlns=\"urn:schemas-microsoft-com:asm.v3\">");
    size_t dpi = xml.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</");
    settings.push_back(std::to_string(v3 < dpi && dpi < xml.find("</application>", v3)));
    for (HIMAGELIST images : {HIMAGELIST{}, ListView_GetImageList(List(window), LVSIL_SMALL),
                              ListView_GetImageList(List(window), LVSIL_NORMAL), TreeView_GetImageList(Tree(window), TVSIL_NORMAL)}) {
        IMAGEINFO info = {};
        BITMAP picture = {};
        ImageList_GetImageInfo(images, 0, &info);
        GetObjectA(images ? info.hbmImage : small.hbmColor, sizeof picture, &picture);
        settings.push_back(std::to_string(images ? picture.bmBitsPixel : picture.bmWidth));
    }
    RECT tree, status;  // the tree and the list end where the status bar starts
    GetWindowRect(Tree(window), &tree), GetWindowRect(GetDlgItem(window, 132), &status);
    settings.push_back(std::to_string(tree.bottom - status.top));
    CHECK_EQ(Join(settings), "32769|1|1|" + std::to_string(GetSystemMetrics(SM_CXSMICON)) + "|32|32|32|0");

    // F2 after a click in the tree still starts the edit.
    TestFolder folder("D:\\commands", {"f0", "f1", "f2", "f3"});
    Show(window, *folder);
    SelectRows(window, {1});
    SetFocus(Tree(window));
    PressKeys({VK_F2});
    HWND editor = EditControl(window);
    CHECK(RowText(window, 1) == WindowText(editor));
    // In the label editor Delete, Ctrl+A, Ctrl+C, Ctrl+X and Ctrl+V edit the name; nothing is deleted.
    DialogCatcher dialogs;
    SetWindowTextA(editor, "f1x");
    SendMessageA(editor, EM_SETSEL, 2, 2);
    PressKeys({VK_DELETE});
    Texts typed = {WindowText(editor)};
    for (WORD key : {'A', 'C', 'X', 'V', 'V'})
        PressKeys({VK_CONTROL, key}), typed.push_back(WindowText(editor));
    CHECK_EQ(Join(typed) + "|" + dialogs.Texts() + "|" + Rows(window), "f1|f1|f1||f1|f1f1||f0|f1|f2|f3");
    // Outside the editor Ctrl+A selects every row and F5 lists the folder again; a command inverts.
    SendMessageA(editor, WM_KEYDOWN, VK_ESCAPE, 0);
    WriteFileText(folder / "f4", "");
    SetFocus(List(window));
    PressKeys({VK_F5});
    SelectRows(window, {0});
    PressKeys({VK_CONTROL, 'A'});
    int all = static_cast<int>(SendMessageA(List(window), LVM_GETSELECTEDCOUNT, 0, 0));
    SelectRows(window, {0, 2});
    SendCommand(window, 32790);
    auto selected = [&](int row) {
        return SendMessageA(List(window), LVM_GETITEMSTATE, row, LVIS_SELECTED) ? '*' : '-';
    };
    CHECK_EQ(std::to_string(all) + selected(0) + selected(1) + selected(2) + selected(3) + selected(4), "5-*-**");

    // Each entry of the context menus sends the command its text names.
    g_window = (WNDPROC)SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)WatchWindow);
    TestFolder("D:\\menus", {"a.txt"});
    MakeVaultEntry('D', "menus+b.txt");
    Texts menus;
    for (const char* location : {"", "hide", "D:\\menus"}) {
        Show(window, location);
        menus.push_back(ShownMenu(window, List(window)));  // nothing selected: the background menu
        SelectRows(window, {0});
        menus.push_back(ShownMenu(window, List(window)));
    }
    menus.push_back(ShownMenu(window, Tree(window)));
    CHECK_EQ(Join(menus), Join({"", "打开磁盘=105", "", "移除Quillvane(移除不打开=32816|移除并打开=32823)",
                                "查看(图标=32793|列表=32794|详细信息=32795)|-|"
                                "排列图标(名称=32796|大小=32797|类型=32798|修改时间=32799)|刷新(&E)=32805|-|"
                                "新建(文件夹=32773|-|BMP图像=32775|Microsoft Word 文档=32811|"
                                "Microsoft PowerPoint 演示文稿=32812|文本文档=32776|波形声音=32813|"
                                "Microsoft Excel 工作表=32814)|-|属性=32780",
                                "打开=105|-|移入Quillvane=32815|-|重命名=32779|删除=32778|-|属性=32780", ""}));
}

// At 150% every fixed size is half as large again, and each column title fits its column.
QV_TEST_AT_DPI(SizesFollowTheSystemDpi, 144)
{
    HWND window = StartMainWindow();
    RECT frame, tree, list;  // the tree starts at the client area's left edge
    GetWindowRect(window, &frame), GetWindowRect(Tree(window), &tree), GetWindowRect(List(window), &list);
    int left = GetSystemMetrics(SM_CXFULLSCREEN) / 2 - 675, top = GetSystemMetrics(SM_CYFULLSCREEN) / 2 - 450;
    Texts sizes;
    for (LONG size : {frame.right - frame.left, frame.bottom - frame.top, frame.left - left, frame.top - top,
                      tree.right - tree.left, list.left - tree.left})
        sizes.push_back(std::to_string(size));
    TestFolder folder("D:\\dpi");
    for (const char* location : {"", *folder, "hide"}) {
        Show(window, location);
        HWND header = ListView_GetHeader(List(window));
        HDC dc = GetDC(header);
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(header, WM_GETFONT, 0, 0)));
        char title[32];
        LVCOLUMNA column = {LVCF_TEXT | LVCF_WIDTH, 0, 0, title, sizeof title, 0, 0, 0, 0, 0, 0};
        for (int i = 0; SendMessageA(List(window), LVM_GETCOLUMNA, i, (LPARAM)&column); ++i) {
            SIZE text = {};
            GetTextExtentPoint32A(dc, title, lstrlenA(title), &text);
            bool cut = text.cx + 2 * Header_GetBitmapMargin(header) > column.cx;  // the margin on each side
            sizes.push_back(std::to_string(column.cx) + (cut ? " cuts " + std::string(title) : ""));
        }
        ReleaseDC(header, dc);
    }
    CHECK_EQ(Join(sizes), "1350|900|0|0|372|375|240|150|150|150|150|330|150|180|180|840");
}

// A place that can't be read says why and the view stays; Enter opens as a click does; menus asked for from the
// keyboard open beside the focused row; a file opened runs in its own folder.
QV_TEST(PlacesThatCannotBeReadAndTheKeyboard)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\gone", {"a.qvt", "sub\\", "z.txt"});
    TestFolder("D:\\empty");
    Show(window, "A:");  // an empty drive's root, like an empty folder, is an empty list
    CHECK_EQ(RowCount(window), 0);
    Show(window, "D:\\empty");
    CHECK_EQ(StatusText(window, 1), "0 个对象");
    Show(window, *folder);
    RemoveTree(folder / "a.qvt"), RemoveTree(folder / "sub");
    {
        DialogCatcher dialogs;
        DoubleClickRow(window, "a.qvt");
        DoubleClickRow(window, "sub");
        char slow = SlowDrive();
        if (slow)
            Show(window, (std::string(1, slow) + ":\\locked").c_str());  // its file system refuses to list it
        Texts expected = {folder / "a.qvt:" + SystemText(ERROR_FILE_NOT_FOUND),
                          folder / "sub:" + SystemText(ERROR_PATH_NOT_FOUND)};
        if (slow)
            expected.push_back(std::string(1, slow) + ":\\locked:" + SystemText(ERROR_ACCESS_DENIED));
        CHECK_EQ(dialogs.Texts(true), Join(expected));
        CHECK_EQ(Current(), folder.path);
        CHECK_EQ(RowCount(window), 3);
    }

    // Enter on a row opens it, in the file's own folder; on a tree node it shows the node. Arrows only move.
    RegisterOpenRecorder();
    WriteFileText(folder / "a.qvt", "");
    Show(window, *folder);
    SelectRows(window, {FindRow(window, "a.qvt")});
    SetFocus(List(window));
    PressKeys({VK_RETURN});
    CHECK(WaitFor([] { return PathExists("C:\\qv\\opened.txt"); }, 15000));
    CHECK_EQ(ReadFileText("C:\\qv\\opened.txt").substr(0, folder.path.size() + 1), folder.path + "|");
    HTREEITEM computer = TreeRoot(window), drive = TreeChild(window, nullptr, " (E:)");
    TreeView_SelectItem(Tree(window), computer);
    SetFocus(Tree(window));
    PressKeys({VK_DOWN});
    CHECK_EQ(Current(), folder.path);
    TreeView_SelectItem(Tree(window), drive);
    PressKeys({VK_RETURN});
    CHECK_EQ(Current(), "E:");

    // Shift+F10 and the menu key send (-1, -1): beside the focused row, else at the list's top-left corner.
    Show(window, *folder);
    RECT row = {LVIR_SELECTBOUNDS, 0, 0, 0}, list = {};
    SendMessageA(List(window), LVM_GETITEMRECT, 1, (LPARAM)&row);
    GetWindowRect(List(window), &list);
    SelectRows(window, {});
    POINT corner = ContextMenuPosition(List(window), MAKELPARAM(-1, -1));
    SelectRows(window, {1});
    POINT beside = ContextMenuPosition(List(window), MAKELPARAM(-1, -1));
    POINT mouse = ContextMenuPosition(List(window), MAKELPARAM(-20, 30));  // a monitor left of the first
    POINT client = {row.left, row.bottom};
    ClientToScreen(List(window), &client);
    CHECK_EQ(std::to_string(beside.x) + "," + std::to_string(beside.y), std::to_string(client.x) + "," + std::to_string(client.y));
    POINT origin = {0, 0};
    ClientToScreen(List(window), &origin);
    CHECK(corner.x == origin.x && corner.y == origin.y && origin.x >= list.left && origin.y >= list.top);
    CHECK(mouse.x == -20 && mouse.y == 30);
}
