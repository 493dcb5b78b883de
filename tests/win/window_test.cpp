// The main window: its controls and commands, what the drives view, the folder tree and the
// listings show, and moving between them.
#include "tests/win/harness.h"

#include "base/app_state.h"
#include "browse/browse.h"
#include "browse/browse_parts.h"

#include <objbase.h>
#include <shellapi.h>

using namespace qvtest;

namespace {

HBITMAP Images(HIMAGELIST list)
{
    IMAGEINFO info = {};
    ImageList_GetImageInfo(list, 0, &info);
    return info.hbmImage;
}

bool Dimmed(HWND window, int row) { return SendMessageA(List(window), LVM_GETITEMSTATE, row, LVIS_CUT) & LVIS_CUT; }

// The tree's expansion notification for a node, as a click on its button sends it.
void Expand(HWND window, HTREEITEM node)
{
    NMTREEVIEWA expanding = {};
    expanding.action = TVE_EXPAND;
    expanding.itemNew.hItem = node;
    Notify(window, 129, static_cast<UINT>(TVN_ITEMEXPANDINGA), &expanding.hdr);
}

// The current folder, the status bar's location text and the number of columns.
std::string Location(HWND window)
{
    HWND header = (HWND)SendMessageA(List(window), LVM_GETHEADER, 0, 0);
    return std::string(CurrentFolder()) + "|" + StatusText(window, 0) + "|" +
           std::to_string(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
}

// Replaces the rows by file rows of (name, size, type, time) texts.
void FillRows(HWND window, const std::vector<Texts>& rows)
{
    SendMessageA(List(window), LVM_DELETEALLITEMS, 0, 0);
    for (const Texts& texts : rows) {
        ItemRecord record = {};
        std::pair<char*, int> fields[] = {
            {record.name, MAX_PATH}, {record.size, 30}, {record.type, 50}, {record.time, 40}};
        for (size_t i = 0; i < texts.size(); ++i)
            lstrcpynA(fields[i].first, texts[i].c_str(), fields[i].second);
        AppendListRow(List(window), record, RowLayout::File, -1, RowShade::Normal);
    }
}

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

QV_TEST(DrivesViewAndTreeWithChineseAndHiddenFolders)
{
    HWND window = StartMainWindow();
    CHECK_EQ(StatusText(window, 1) + Rows(window) + "|" + Rows(window, 1),
             "5 个分区 (A:)| (C:)| (D:)| (E:)|可移动磁盘|本地磁盘|本地磁盘|本地磁盘");
    std::string size = RowText(window, 3, 2);  // the floppy alone is not asked for its space
    CHECK(RowText(window, 0, 2).empty() && size.size() > 5 && size[size.size() - 5] == '.' && size.back() == 'G');
    CHECK(SendMessageA(Tree(window), TVM_GETITEMSTATE, (WPARAM)TreeRoot(window), TVIS_EXPANDED) & TVIS_EXPANDED);
    CHECK_EQ(TreeChildren(window, TreeRoot(window)), " (A:)| (C:)| (D:)| (E:)|Quillvane");

    // 誠 is D5 5C in code page 936: its second byte is a backslash.
    TestFolder folder("D:\\中文", {"誠\\", "誠\\deep\\", "s2\\", "hidden\\", "system\\", "a.txt"});
    SetFileAttributesA((folder / "system").c_str(), FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA((folder / "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    HTREEITEM drive = TreeChild(window, nullptr, " (D:)");
    Expand(window, drive);
    HTREEITEM node = TreeChild(window, drive, "中文");
    Expand(window, node);
    Expand(window, node);
    CHECK_EQ(TreeChildren(window, node) + "|" + TreeNodePath(window, TreeChild(window, node, "誠")) + CurrentFolder(),
             "hidden|s2|誠|D:\\中文\\誠");  // filling nodes leaves the item list alone
    RemoveTree(folder / "誠");              // the harness empties a folder whose name ends in 0x5C
    CHECK(!PathExists(folder / "誠"));
}

QV_TEST(FolderAndVaultListingsAndSorting)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\listing", {"a.txt", "c.sys", "b\\"});
    WriteFileText(folder / "k.dat", std::string(1024, 'k'));
    SetFileAttributesA((folder / "a.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA((folder / "c.sys").c_str(), FILE_ATTRIBUTE_SYSTEM);
    ShowLocation(window, *folder);
    CHECK_EQ(Rows(window, 0, true) + "|" + Location(window) + "|" + StatusText(window, 1),
             "a.txt|b|k.dat|" + folder.Path() + "|" + folder.Path() + "|4|3 个对象");
    int hidden = FindRow(window, "a.txt"), sub = FindRow(window, "b"), file = FindRow(window, "k.dat");
    CHECK(Dimmed(window, hidden) && !Dimmed(window, sub) && RowText(window, sub, 3).size() == 16);
    CHECK_EQ(RowText(window, hidden, 1) + RowText(window, file, 1) + RowText(window, sub, 1), "1KB2KB");
    // One row for a path: appended as shown normally, inserted dimmed when hidden.
    AppendPathRow(window, (folder / "a.txt").c_str());
    InsertPathRow(window, (folder / "a.txt").c_str(), 1);
    CHECK(RowText(window, 1) == "a.txt" && RowText(window, 4) == "a.txt" && Dimmed(window, 1) && !Dimmed(window, 4));
    // Column widths the user set stay when a folder is opened from the list.
    SendMessageA(List(window), LVM_SETCOLUMNWIDTH, 0, 333);
    DoubleClickRow(window, "b");
    CHECK_EQ(Location(window) + std::to_string(SendMessageA(List(window), LVM_GETCOLUMNWIDTH, 0, 0)),
             folder / "b|" + folder / "b|4333");

    for (const char* stored : {"Ddocs+work+a.txt", "Cx.doc", "E+a.txt", "Dsystem.txt"})
        MakeVaultEntry(stored[0], stored + 1);
    SetFileAttributesA("D:\\ \\Quillnest\\system.txt", FILE_ATTRIBUTE_SYSTEM);
    ShowLocation(window, "hide");
    CHECK_EQ(Rows(window) + "|" + Location(window) + "|" + StatusText(window, 1),
             "C:\\x.doc|D:\\docs\\work\\a.txt|E:\\\\a.txt|hide|Quillvane|1|3 个对象");
    CHECK(ImageList_GetImageCount(g_app.largeIcons) == 1 && !Dimmed(window, 2));  // one vault icon serves all rows
    ShowLocation(window, "D:");  // the hidden system root shows neither in a folder view nor in the tree
    Expand(window, TreeChild(window, nullptr, " (D:)"));
    CHECK(FindRow(window, " ") < 0 && !TreeChild(window, TreeChild(window, nullptr, " (D:)"), " "));
    for (const char* root : {"C:\\ \\", "D:\\ \\", "E:\\ \\"})
        RemoveTree(root);

    // By name (lower case first, as the locale orders), size (folders, with no size, first;
    // sizes past 2^31 KB don't wrap), type and time.
    ShowLocation(window, "C:");
    FillRows(window, {{"b", "2147483649KB", "b", "2020-01-01 10:00"},
                      {"A", "5KB", "c", "2019-12-31 23:59"},
                      {"a", "2147483648KB", "a", "2021-01-01 00:00"},
                      {"d", "", "d", "1999-01-01 00:00"}});
    SendCommand(window, 32796);  // 排列图标 > 名称 sorts as the name column's title does
    Texts orders = {Rows(window)};
    for (int column = 0; column < 4; ++column) {
        NMLISTVIEW click = {};
        click.iSubItem = column;
        Notify(window, 130, static_cast<UINT>(LVN_COLUMNCLICK), &click.hdr);
        orders.push_back(Rows(window));
    }
    CHECK_EQ(Join(orders), "a|A|b|d|a|A|b|d|d|A|a|b|a|b|A|d|d|A|b|a");
}

QV_TEST(ClicksAndDoubleClicksMoveBetweenLocations)
{
    HWND window = StartMainWindow();
    TestFolder folder("E:\\double", {"sub\\"});
    ClickTreeNode(window, TreeChild(window, nullptr, " (D:)"));
    CHECK_EQ(Location(window), "D:|D:|4");
    ClickTreeNode(window, TreeRoot(window));
    Notify(window, 130, static_cast<UINT>(NM_DBLCLK));  // nothing selected: nothing opens
    CHECK_EQ(Location(window), "|我的电脑|5");
    SelectRows(window, {3});
    SendCommand(window, 105);
    DoubleClickRow(window, "double");
    DoubleClickRow(window, "sub");
    CHECK_EQ(Location(window), "E:\\double\\sub|E:\\double\\sub|4");
}

QV_TEST(OpenErrorsAndPathsTooLong)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\open");
    // Made through the wide functions, which take paths past MAX_PATH.
    std::wstring deep = L"\\\\?\\D:\\open\\" + std::wstring(250, L'd'),
                 base = L"\\\\?\\D:\\open\\" + std::wstring(200, L'b');
    CHECK(CreateDirectoryW(deep.c_str(), nullptr) && CreateDirectoryW(base.c_str(), nullptr));
    for (std::wstring name : {std::wstring(70, L'n'), std::wstring(L"short.txt")})
        CloseHandle(CreateFileW((base + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ShowLocation(window, *folder);
    DialogCatcher dialogs;
    for (INT_PTR code : {SE_ERR_SHARE, SE_ERR_DLLNOTFOUND, SE_ERR_OOM})  // codes outside the table show nothing
        ReportOpenError(window, "X:\\f", code);
    std::string many;  // a message's text is never cut, least of all inside a character
    for (int i = 0; i < 1500; ++i)
        many += "誠";
    ShowFormattedMessage(window, Message::PathTooLongToOpen, nullptr, many.c_str());
    // A folder whose search pattern can't fit is not opened; entries whose
    // full path can't fit are left out, and the user is told.
    DoubleClickRow(window, std::string(250, 'd'));
    CHECK_EQ(std::string(CurrentFolder()) + std::to_string(RowCount(window)), folder.Path() + "2");
    DoubleClickRow(window, std::string(200, 'b'));
    CHECK_EQ(std::string(CurrentFolder()) + "|" + Rows(window), folder / std::string(200, 'b') + "|short.txt");
    CHECK_EQ(dialogs.Texts(),
             Join({Text(Message::OpenSharingViolation), Text(Message::OpenDllNotFound), "路径太长，无法打开：" + many,
                   Text(Message::PathTooLongToOpen, folder / std::string(250, 'd')), "有 1 个项目的路径过长，未列出"}));
    CHECK_EQ(dialogs.Seen()[0].caption, "X:\\f");
    RemoveDirectoryW(deep.c_str());
    DeleteFileW((base + L"\\" + std::wstring(70, L'n')).c_str());
}

QV_TEST(ColumnSetsCommandsAndKeys)
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

    TestFolder folder("D:\\commands", {"f0", "f1", "f2", "f3"});
    ShowLocation(window, *folder);
    // As Windows needs it: no "no disk" boxes, no redirected writes, icons with their alpha
    // channel, and a small icon of its own size.
    UINT mode = SetErrorMode(0);
    SetErrorMode(mode);
    HMODULE program = LoadLibraryExA("C:\\qv\\Quillvane.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC manifest = FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    std::string xml(static_cast<const char*>(LockResource(LoadResource(program, manifest))),
                    SizeofResource(program, manifest));
    ICONINFO small = {};
    GetIconInfo(reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM)), &small);
    BITMAP icon = {}, smallIcons = {}, treeIcons = {};
    GetObjectA(small.hbmColor, sizeof icon, &icon);
    GetObjectA(Images(g_app.smallIcons), sizeof smallIcons, &smallIcons);
    GetObjectA(Images(g_app.treeIcons), sizeof treeIcons, &treeIcons);
    CHECK_EQ(Join({std::to_string(mode & (SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)),
                   std::to_string(xml.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>") !=
                                  std::string::npos),
                   std::to_string(icon.bmWidth), std::to_string(smallIcons.bmBitsPixel),
                   std::to_string(treeIcons.bmBitsPixel)}),
             "32769|1|" + std::to_string(GetSystemMetrics(SM_CXSMICON)) + "|32|32");

    // F2 after a click in the tree still starts the edit: the list takes the focus.
    g_listProcedure = (WNDPROC)SetWindowLongPtrA(List(window), GWLP_WNDPROC, (LONG_PTR)WatchEditRequests);
    SelectRows(window, {1});
    SetFocus(Tree(window));
    PressKey(Tree(window), VK_F2);
    char edited[MAX_PATH] = {};
    GetWindowTextA(EditControl(window), edited, sizeof edited);
    CHECK(g_focusedWhenEditing && RowText(window, 1) == edited && RowText(window, 1) == g_app.labelEditOldName);
    // In the label editor Delete, Ctrl+A, Ctrl+C, Ctrl+X and Ctrl+V edit the name; nothing is deleted.
    DialogCatcher dialogs;
    HWND editor = EditControl(window);
    SetWindowTextA(editor, "f1x");
    SendMessageA(editor, EM_SETSEL, 2, 2);
    PressKeys({VK_DELETE});
    for (WORD key : {'A', 'C', 'X', 'V', 'V'})
        PressKeys({VK_CONTROL, key});
    GetWindowTextA(editor, edited, sizeof edited);
    CHECK_EQ(std::string(edited) + "|" + dialogs.Texts() + "|" + Rows(window), "f1f1||f0|f1|f2|f3");
}
