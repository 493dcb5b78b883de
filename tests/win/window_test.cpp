// The main window: its views, tree, menus and keys, and moving between locations.
#include "tests/win/harness.h"

#include "base/app_state.h"
#include "base/messages.h"
#include "browse/browse.h"
#include "browse/browse_parts.h"
#include "browse/item_text.h"
#include "browse/kinds.h"
#include "res/resource.h"

#include <shellapi.h>

#include <algorithm>

using namespace qvtest;

namespace {

std::string Current() { return CurrentFolder(); }

// The ids of res/resource.h the tests use, with the numbers that pin them: two commands of one number would run
// one operation.
#define QV_ID(name, number) {#name, name, number}
struct KnownId {
    const char* name;
    UINT id, number;
};
const KnownId kIds[] = {
    QV_ID(IDC_FOLDER_TREE, 129), QV_ID(IDC_ITEM_LIST, 130), QV_ID(IDC_STATUS_BAR, 132), QV_ID(IDC_PASSWORD_RESET, 2),
    QV_ID(IDC_PASSWORD_ENTER, 1011), QV_ID(IDC_PASSWORD_EDIT, 1012), QV_ID(IDC_PASSWORD_SET, 1009),
    QV_ID(IDM_OPEN, 105), QV_ID(IDM_NEW_FOLDER, 32773), QV_ID(IDM_NEW_BITMAP, 32775), QV_ID(IDM_NEW_TEXT, 32776),
    QV_ID(IDM_NEW_WORD, 32811), QV_ID(IDM_NEW_POWERPOINT, 32812), QV_ID(IDM_NEW_WAVE, 32813),
    QV_ID(IDM_NEW_EXCEL, 32814), QV_ID(IDM_DELETE, 32778), QV_ID(IDM_RENAME, 32779), QV_ID(IDM_PROPERTIES, 32780),
    QV_ID(IDM_SELECT_ALL, 32789), QV_ID(IDM_INVERT_SELECTION, 32790), QV_ID(IDM_VIEW_ICON, 32793),
    QV_ID(IDM_VIEW_LIST, 32794), QV_ID(IDM_VIEW_DETAILS, 32795), QV_ID(IDM_SORT_NAME, 32796),
    QV_ID(IDM_SORT_SIZE, 32797), QV_ID(IDM_SORT_TYPE, 32798), QV_ID(IDM_SORT_TIME, 32799), QV_ID(IDM_REFRESH, 32805),
    QV_ID(IDM_VAULT_MOVE_IN, 32815), QV_ID(IDM_VAULT_MOVE_OUT, 32816), QV_ID(IDM_VAULT_MOVE_OUT_OPEN, 32823),
    QV_ID(IDM_BUILD_NUMBERED_TREE, 32821)};


// The current folder, the status bar's location text and the column titles.
const std::string kDriveColumns = "名称|类型|总大小|可用空间|文件系统", kFolderColumns = "名称|大小|类型|修改时间";
void CheckLocation(HWND window, const std::string& folder, const std::string& status, const std::string& columns,
                   const char* file, int line)
{
    Texts titles;
    char title[32];
    for (LVCOLUMNA column = {LVCF_TEXT, 0, 0, title, sizeof title, 0, 0, 0, 0, 0, 0};
         SendMessageA(List(window), LVM_GETCOLUMNA, titles.size(), (LPARAM)&column);)
        titles.push_back(title);
    CheckEqual(Current(), folder, file, line, "the current folder");
    CheckEqual(StatusText(window, 0), status, file, line, "the status bar's location");
    CheckEqual(Join(titles), columns, file, line, "the column titles");
}
#define CHECK_LOCATION(window, folder, status, columns) CheckLocation((window), (folder), (status), (columns), __FILE__, __LINE__)

// Replaces the folder view's rows by rows of (name, size as shown, the extension of its kind, a write time in
// minutes of which only the order counts); an empty size makes a folder.
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
        facts.writeTime = (std::stoull(texts[3]) + 1000000) * 600000000u;  // minutes from 1601, past any time zone
        Rows().Add(texts[0].c_str(), texts[0].size(), facts);
    }
    ShowRowCount(window);
}

// The entries of a menu with their commands' names ('!' when grayed), submenus in brackets.
std::string Describe(HMENU menu)
{
    Texts entries;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[64] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        UINT id = GetMenuItemID(menu, i), grayed = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED;
        auto known = std::find_if(std::begin(kIds), std::end(kIds), [id](const KnownId& k) { return k.id == id; });
        std::string name = known != std::end(kIds) ? known->name : std::to_string(id);
        entries.push_back(id == UINT(-1) ? text + ("(" + Describe(GetSubMenu(menu, i)) + ")")
                          : id == 0      ? "-"
                                         : text + ("=" + name) + (grayed ? "!" : ""));
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
    Context section("the drives view");
    CHECK_EQ(StatusText(window, 1), slow ? "6 个分区" : "5 个分区");
    CHECK_EQ(Rows(window), std::string(" (A:)| (C:)| (D:)| (E:)") + (slow ? "| (G:)" : ""));
    CHECK_EQ(Rows(window, 1), std::string("可移动磁盘|本地磁盘|本地磁盘|本地磁盘") + (slow ? "|网络磁盘" : ""));
    // D:'s figures are the system's; its free bytes lie between the caller's and all (Wine tells them alike).
    ULARGE_INTEGER mine = {}, total = {}, free = {};
    GetDiskFreeSpaceExA("D:\\", &mine, &total, &free);
    char fileSystem[16] = {}, size[32];
    GetVolumeInformationA("D:\\", nullptr, 0, nullptr, nullptr, nullptr, fileSystem, sizeof fileSystem);
    FormatGigabytes(total.QuadPart, size, sizeof size);  // its rounding is tested natively
    CHECK_EQ(RowText(window, 2, 2), std::string(size));
    CHECK_EQ(RowText(window, 2, 4), std::string(fileSystem));
    CHECK_EQ(RowText(window, 0, 2), "");  // the floppy's sizes
    CHECK_EQ(RowText(window, 0, 3), "");
    auto shown = static_cast<ULONGLONG>(std::stod(RowText(window, 2, 3)) * 1073741824.0);  // to half a MiB
    CHECK(shown + 1048576 >= mine.QuadPart);
    CHECK(shown <= free.QuadPart + 1048576);
    section.Set("the tree");
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
    CHECK_EQ(TreeChildren(window, node), "hidden|s2|誠");
    CHECK_EQ(TreeNodePath(window, TreeChild(window, node, "誠")), "D:\\中文\\誠");
    CHECK_EQ(Current(), "");  // filling nodes leaves the item list alone

    section.Set("moving between locations");
    TestFolder("E:\\double");
    ClickTreeNode(window, TreeChild(window, nullptr, " (D:)"));
    CHECK_LOCATION(window, "D:", "D:", kFolderColumns);
    ClickTreeNode(window, TreeRoot(window));
    CHECK_LOCATION(window, "", "我的电脑", kDriveColumns);
    // A drive row opens its own drive after a sort: by type (the fixed disks after the floppy), then by name.
    for (WORD sort : {WORD{IDM_SORT_TYPE}, WORD{IDM_SORT_NAME}}) {
        Context sorted("after the sort command", sort);
        Show(window, "");
        SendCommand(window, sort);
        DoubleClickRow(window, " (D:)");
        CHECK_LOCATION(window, "D:", "D:", kFolderColumns);
    }
    Show(window, "");
    SelectRows(window, {3});
    SendCommand(window, IDM_OPEN);
    DoubleClickRow(window, "double");
    CHECK_LOCATION(window, "E:\\double", "E:\\double", kFolderColumns);

    section.Set("a folder's rows");
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
    CHECK_EQ(Rows(window, 0, true), "a.txt|b|k.dat");
    CHECK_LOCATION(window, folder.path, folder.path, kFolderColumns);
    CHECK_EQ(StatusText(window, 1), "3 个对象");
    int hidden = FindRow(window, "a.txt"), sub = FindRow(window, "b"), file = FindRow(window, "k.dat");
    CHECK(Dimmed(window, hidden));
    CHECK(!Dimmed(window, sub));
    CHECK_EQ(RowText(window, sub, 3).size(), 16u);
    CHECK_EQ(RowText(window, hidden, 1), "1KB");
    CHECK_EQ(RowText(window, file, 1), "2KB");
    CHECK_EQ(RowText(window, sub, 1), "");
    // A click shows what is selected: a file's type (the shell's), time and size, else how many.
    SHFILEINFOA shell = {};
    SHGetFileInfoA("k.dat", FILE_ATTRIBUTE_NORMAL, &shell, sizeof shell, SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES);
    const std::pair<std::vector<int>, std::string> clicks[] = {
        {{file}, "类型: " + std::string(shell.szTypeName) + " 修改日期: 2021-03-04 05:06 大小: 2KB"},
        {{sub}, "选定 1 个对象"}, {{file, sub}, "选定 2 个对象"}, {{}, folder.path}};
    for (const auto& click : clicks) {
        Context clicked("click", &click - clicks);
        SelectRows(window, click.first);
        Notify(window, IDC_ITEM_LIST, static_cast<UINT>(NM_CLICK));
        CHECK_EQ(StatusText(window, 0), click.second);
    }
    SendMessageA(List(window), LVM_SETCOLUMNWIDTH, 0, 333);  // a width the user set stays in the next folder
    DoubleClickRow(window, "b");
    CHECK_LOCATION(window, folder / "b", folder / "b", kFolderColumns);
    CHECK_EQ(SendMessageA(List(window), LVM_GETCOLUMNWIDTH, 0, 0), 333);

    section.Set("the vault view");
    for (const char* stored : {"Ddocs+work+a.txt", "Cx.doc", "E+a.txt", "Dsystem.txt", "Dopen.qvt"})
        MakeVaultEntry(stored[0], stored + 1);
    MakeFolder("D:\\ \\Quillnest\\dir"), SetFileAttributesA("D:\\ \\Quillnest\\system.txt", FILE_ATTRIBUTE_SYSTEM);
    Show(window, "hide");
    const std::string entries = "C:\\x.doc|D:\\dir|D:\\docs\\work\\a.txt|D:\\open.qvt|E:\\\\a.txt";
    CHECK_EQ(Rows(window), entries);
    CHECK_LOCATION(window, "hide", "Quillvane", "文件所在路径");
    CHECK_EQ(StatusText(window, 1), "5 个对象");
    // A double-click on an entry opens nothing: neither the file kept in the vault nor a folder.
    RegisterOpenRecorder();
    DialogCatcher dialogs;
    for (const char* entry : {"D:\\open.qvt", "D:\\dir"}) {
        Context clicked(entry);
        DoubleClickRow(window, entry);
        CHECK_EQ(Current(), "hide");
        CHECK_EQ(Rows(window), entries);
    }
    CHECK_EQ(dialogs.seen.size(), 0u);
    CHECK(!WaitFor([] { return PathExists("C:\\qv\\opened.txt"); }, 2000));
    dialogs.seen.clear();
    Show(window, "D:");  // the hidden system root shows neither in a folder view nor in the tree
    TreeView_Expand(Tree(window), TreeChild(window, nullptr, " (D:)"), TVE_EXPAND);
    WaitIdle();
    CHECK_EQ(FindRow(window, " "), -1);
    CHECK(!TreeChild(window, TreeChild(window, nullptr, " (D:)"), " "));

    // By name (lower case first), size (folders first; past 2^31 KB no wrap), type and time, from the
    // menu and from the headers, each starting from another order.
    section.Set("sorting");
    FillRows(window, {{"b", "2147483649KB", "b", "3"}, {"A", "5KB", "c", "2"}, {"a", "2147483648KB", "a", "4"},
                      {"d", "", "d", "1"}});
    const char* const orders[] = {"a|A|b|d", "d|A|a|b", "a|b|A|d", "d|A|b|a"};  // by name, size, type, time: columns 0 to 3
    for (int sort : {IDM_SORT_NAME, 1, IDM_SORT_TYPE, 3, 0, IDM_SORT_SIZE, 2, IDM_SORT_TIME}) {
        Context sorted("by the command or the column's title", sort);
        NMLISTVIEW click = {};
        click.iSubItem = sort;
        sort > 3 ? SendCommand(window, static_cast<WORD>(sort))
                 : (void)Notify(window, IDC_ITEM_LIST, static_cast<UINT>(LVN_COLUMNCLICK), &click.hdr);
        CHECK_EQ(Rows(window), orders[sort > 3 ? sort - IDM_SORT_NAME : sort]);
    }

    section.Set("paths too long are refused, not cut: a folder too deep to search stays shut, entries too long stay out");
    TestFolder open("D:\\open");
    std::string deep = open / std::string(250, 'd'), base = open / std::string(200, 'b');
    MakeFolder(deep), MakeFolder(base);
    WriteFileText(base + "\\" + std::string(70, 'n'), ""), WriteFileText(base + "\\short.txt", "");
    WriteFileText(open / "x.zzz", ""), WriteFileText(open / "bad.exe", "not a program");
    Show(window, *open);
    DoubleClickRow(window, "x.zzz");  // a file of no known type: the view stays
    DoubleClickRow(window, "bad.exe");
    DoubleClickRow(window, std::string(250, 'd'));
    CHECK_EQ(Current(), open.path);
    CHECK_EQ(RowCount(window), 4);
    DoubleClickRow(window, std::string(200, 'b'));
    CHECK_EQ(Current(), base);
    CHECK_EQ(Rows(window), "short.txt");
    CHECK_SEEN(dialogs.seen, {{open / "x.zzz", "没有与给定的文件扩展名关联的应用程序", "error"},
                              {open / "bad.exe", open / "bad.exe 不是有效的 Win32 应用程序", "error"},
                              {"提示", "路径太长，无法打开：" + deep, "warning"},
                              {"提示", "有 1 个项目的路径过长，未列出", "warning"}});
}

QV_TEST(ColumnSetsMenusKeysAndWindowsSettings)
{
    HWND window = StartMainWindow();
    Context section("settings for Windows");
    CHECK_EQ(GetWindowLongA(List(window), GWL_STYLE) & 0xFFFF, LVS_REPORT | LVS_EDITLABELS | LVS_OWNERDATA);
    Show(window, "C:");  // fills the image lists
    // For Windows: no "no disk" boxes, redirected writes or stretched windows, icons with alpha, a small icon of its
    // size. Wine reports the system DPI to every program, with <dpiAware> or without.
    UINT mode = SetErrorMode(0);
    SetErrorMode(mode);
    CHECK_EQ(mode, static_cast<UINT>(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
    HMODULE program = LoadLibraryExA("C:\\qv\\Quillvane.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC manifest = FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    std::string xml(static_cast<const char*>(LockResource(LoadResource(program, manifest))),
                    SizeofResource(program, manifest));
    CHECK(xml.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>") != std::string::npos);
    size_t v3 = xml.find("<application xmlns=\"urn:schemas-microsoft-com:asm.v3\">");
    size_t dpi = xml.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</");
    CHECK(v3 < dpi);
    CHECK(dpi < xml.find("</application>", v3));
    ICONINFO small = {};
    BITMAP picture = {};
    GetIconInfo(reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM)), &small);
    GetObjectA(small.hbmColor, sizeof picture, &picture);
    CHECK_EQ(picture.bmWidth, GetSystemMetrics(SM_CXSMICON));
    const HIMAGELIST lists[] = {ListView_GetImageList(List(window), LVSIL_SMALL),
                                ListView_GetImageList(List(window), LVSIL_NORMAL),
                                TreeView_GetImageList(Tree(window), TVSIL_NORMAL)};
    for (const HIMAGELIST& images : lists) {
        Context list("image list", &images - lists);  // small, large, the tree's
        IMAGEINFO info = {};
        ImageList_GetImageInfo(images, 0, &info);
        GetObjectA(info.hbmImage, sizeof picture, &picture);
        CHECK_EQ(picture.bmBitsPixel, 32);
    }
    RECT tree, status;  // the tree and the list end where the status bar starts
    GetWindowRect(Tree(window), &tree), GetWindowRect(GetDlgItem(window, IDC_STATUS_BAR), &status);
    CHECK_EQ(tree.bottom, status.top);

    section.Set("F2 after a click in the tree still starts the edit, where the keys edit the name");
    TestFolder folder("D:\\commands", {"f0", "f1", "f2", "f3"});
    Show(window, *folder);
    SelectRows(window, {1});
    SetFocus(Tree(window));
    PressKeys({VK_F2});
    HWND editor = EditControl(window);
    CHECK_EQ(WindowText(editor), RowText(window, 1));  // the rename test holds the name it then renames
    // In the label editor Delete, Ctrl+A, Ctrl+C, Ctrl+X and Ctrl+V edit the name; nothing is deleted.
    DialogCatcher dialogs;
    SetWindowTextA(editor, "f1x");
    SendMessageA(editor, EM_SETSEL, 2, 2);
    PressKeys({VK_DELETE});
    Texts typed = {WindowText(editor)};  // the name after each key in turn
    for (WORD key : {'A', 'C', 'X', 'V', 'V'})
        PressKeys({VK_CONTROL, key}), typed.push_back(WindowText(editor));
    CHECK_EQ(Join(typed), "f1|f1|f1||f1|f1f1");
    CHECK_EQ(dialogs.seen.size(), 0u);
    CHECK_EQ(Rows(window), "f0|f1|f2|f3");
    SendMessageA(editor, WM_KEYDOWN, VK_ESCAPE, 0);
    // Outside the editor Ctrl+A selects every row and F5 lists the folder again; a command inverts.
    WriteFileText(folder / "f4", "");
    SetFocus(List(window));
    PressKeys({VK_F5});
    SelectRows(window, {0});
    PressKeys({VK_CONTROL, 'A'});
    CHECK_EQ(SendMessageA(List(window), LVM_GETSELECTEDCOUNT, 0, 0), 5);
    SelectRows(window, {0, 2});
    SendCommand(window, IDM_INVERT_SELECTION);
    std::string selected;  // each row's state
    for (int row = 0; row < RowCount(window); ++row)
        selected += SendMessageA(List(window), LVM_GETITEMSTATE, row, LVIS_SELECTED) ? '*' : '-';
    CHECK_EQ(selected, "-*-**");

    section.Set("each entry of the context menus sends the command its text names");  // none selected: the background's
    g_window = (WNDPROC)SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)WatchWindow);
    TestFolder("D:\\menus", {"a.txt"});
    MakeVaultEntry('D', "menus+b.txt");
    const char* const menus[][3] = {
        {"", "", "打开磁盘=IDM_OPEN"},
        {"hide", "", "移除Quillvane(移除不打开=IDM_VAULT_MOVE_OUT|移除并打开=IDM_VAULT_MOVE_OUT_OPEN)"},
        {"D:\\menus",
         "查看(图标=IDM_VIEW_ICON|列表=IDM_VIEW_LIST|详细信息=IDM_VIEW_DETAILS)|-|排列图标(名称=IDM_SORT_NAME|"
         "大小=IDM_SORT_SIZE|类型=IDM_SORT_TYPE|修改时间=IDM_SORT_TIME)|刷新(&E)=IDM_REFRESH|-|新建(文件夹=IDM_NEW_FOLDER|-|"
         "BMP图像=IDM_NEW_BITMAP|Microsoft Word 文档=IDM_NEW_WORD|"
         "Microsoft PowerPoint 演示文稿=IDM_NEW_POWERPOINT|文本文档=IDM_NEW_TEXT|波形声音=IDM_NEW_WAVE|"
         "Microsoft Excel 工作表=IDM_NEW_EXCEL)|-|属性=IDM_PROPERTIES",
         "打开=IDM_OPEN|-|移入Quillvane=IDM_VAULT_MOVE_IN|-|重命名=IDM_RENAME|删除=IDM_DELETE|-|属性=IDM_PROPERTIES"}};
    for (const auto& menu : menus) {
        Context location(*menu[0] ? menu[0] : "the drives view");
        Show(window, menu[0]);
        CHECK_EQ(ShownMenu(window, List(window)), menu[1]);
        SelectRows(window, {0});
        CHECK_EQ(ShownMenu(window, List(window)), menu[2]);
    }
    CHECK_EQ(ShownMenu(window, Tree(window)), "");
}

QV_TEST(ResourceIdsKeepTheirNumbers)
{
    for (const auto& known : kIds) {
        Context id(known.name);
        CHECK_EQ(known.id, known.number);
    }
}

// At 150% every fixed size is half as large again, and each column title fits its column.
QV_TEST_AT_DPI(SizesFollowTheSystemDpi, 144)
{
    HWND window = StartMainWindow();
    RECT frame, tree, list;  // the tree starts at the client area's left edge
    GetWindowRect(window, &frame), GetWindowRect(Tree(window), &tree), GetWindowRect(List(window), &list);
    CHECK_EQ(frame.right - frame.left, 1350);
    CHECK_EQ(frame.bottom - frame.top, 900);
    CHECK_EQ(frame.left, GetSystemMetrics(SM_CXFULLSCREEN) / 2 - 675);
    CHECK_EQ(frame.top, GetSystemMetrics(SM_CYFULLSCREEN) / 2 - 450);
    CHECK_EQ(tree.right - tree.left, 372);
    CHECK_EQ(list.left - tree.left, 375);
    TestFolder folder("D:\\dpi");
    const std::pair<const char*, const char*> views[] = {
        {"", "240|150|150|150|150"}, {*folder, "330|150|180|180"}, {"hide", "840"}};
    for (const auto& view : views) {
        Context columns(*view.first ? view.first : "the drives view");
        Show(window, view.first);
        HWND header = ListView_GetHeader(List(window));
        HDC dc = GetDC(header);
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(header, WM_GETFONT, 0, 0)));
        Texts widths, cut;
        char title[32];
        LVCOLUMNA column = {LVCF_TEXT | LVCF_WIDTH, 0, 0, title, sizeof title, 0, 0, 0, 0, 0, 0};
        for (int i = 0; SendMessageA(List(window), LVM_GETCOLUMNA, i, (LPARAM)&column); ++i) {
            SIZE text = {};
            GetTextExtentPoint32A(dc, title, lstrlenA(title), &text);
            widths.push_back(std::to_string(column.cx));
            if (text.cx + 2 * Header_GetBitmapMargin(header) > column.cx)  // the margin on each side
                cut.push_back(title);
        }
        ReleaseDC(header, dc);
        CHECK_EQ(Join(widths), view.second);
        CHECK_EQ(Join(cut), "");
    }
}

// A place that can't be read says why and the view stays; Enter opens as a click does; menus asked for from the
// keyboard open beside the focused row; a file opened runs in its own folder.
QV_TEST(PlacesThatCannotBeReadAndTheKeyboard)
{
    HWND window = StartMainWindow();
    Context section("places that can't be read");
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
        Show(window, (folder / "nothere").c_str());
        Seen expected = {{folder / "a.qvt", SystemText(ERROR_FILE_NOT_FOUND), "error"},
                         {folder / "sub", SystemText(ERROR_PATH_NOT_FOUND), "error"},
                         {folder / "nothere", SystemText(ERROR_PATH_NOT_FOUND), "error"}};
        if (char slow = SlowDrive()) {
            const std::string locked = std::string(1, slow) + ":\\locked";  // its file system refuses to list it
            Show(window, locked.c_str());
            expected.push_back({locked, SystemText(ERROR_ACCESS_DENIED), "error"});
        } else {
            printf("A folder that can't be read is untried: this machine has no FUSE.\n");
        }
        CHECK_SEEN(dialogs.seen, expected);
        CHECK_EQ(Current(), folder.path);
        CHECK_EQ(RowCount(window), 3);
    }

    section.Set("Enter on a row opens it, in the file's own folder, on a tree node shows the node; arrows only move");
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

    section.Set("Shift+F10 and the menu key send (-1, -1): beside the focused row, else at the list's top-left corner");
    Show(window, *folder);
    RECT row = {LVIR_SELECTBOUNDS, 0, 0, 0};
    SendMessageA(List(window), LVM_GETITEMRECT, 1, (LPARAM)&row);
    SelectRows(window, {});
    POINT corner = ContextMenuPosition(List(window), MAKELPARAM(-1, -1));
    SelectRows(window, {1});
    POINT beside = ContextMenuPosition(List(window), MAKELPARAM(-1, -1));
    POINT mouse = ContextMenuPosition(List(window), MAKELPARAM(-20, 30));  // a monitor left of the first
    POINT client = {row.left, row.bottom}, origin = {0, 0};
    ClientToScreen(List(window), &client), ClientToScreen(List(window), &origin);
    CHECK_EQ(beside, client);
    CHECK_EQ(corner, origin);
    CHECK_EQ(mouse, (POINT{-20, 30}));
}

// The boxes of failures no test brings about (start-up, registry, memory, the shell's reasons Wine never gives).
QV_TEST(BoxesOfRareFailures)
{
    DialogCatcher dialogs;
    for (Message message : {Message::RegistrationFailed, Message::StartFailed, Message::TreeControlFailed,
                            Message::ListControlFailed, Message::PasswordNotStored, Message::OutOfMemory})
        ShowMessage(nullptr, message);
    for (INT_PTR code : {SE_ERR_SHARE, SE_ERR_DLLNOTFOUND, SE_ERR_ACCESSDENIED})
        ReportOpenError(nullptr, "D:\\a", code);
    CHECK_SEEN(dialogs.seen, {{"Error", "Windows Registration failed!", "warning"}, {"Error", "程序启动失败", "warning"},
                              {"提示", "创建树状控件失败", ""}, {"提示", "创建ListView控件失败", ""},
                              {"提示", "密码设置失败", "error"}, {"Explorer", "内存申请失败", "error"},
                              {"D:\\a", "发生共享冲突", "error"}, {"D:\\a", "指定的动态链接库没有被找到", "error"},
                              {"D:\\a", "拒绝访问，没有打开该文件的权限", "error"}});
}
