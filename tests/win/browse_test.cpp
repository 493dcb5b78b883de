// What the drives view, the folder tree and the listings show, and moving between them.
#include "tests/win/harness.h"

#include "base/app_state.h"
#include "base/controls.h"
#include "base/messages.h"
#include "browse/browse.h"
#include "browse/browse_parts.h"

#include <shellapi.h>

using namespace qvtest;

namespace {

bool Dimmed(HWND window, int row) { return SendMessageA(List(window), LVM_GETITEMSTATE, row, LVIS_CUT) & LVIS_CUT; }

int ImageOf(HWND window, const std::string& name)
{
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = FindRow(window, name);
    SendMessageA(List(window), LVM_GETITEMA, 0, (LPARAM)&item);
    return item.iImage;
}

void DoubleClickRow(HWND window, const std::string& name)
{
    SelectRows(window, {FindRow(window, name)});
    Notify(window, 130, static_cast<UINT>(NM_DBLCLK));
}

// The tree's expansion notification for a node, as a click on its button sends it.
void Expand(HWND window, HTREEITEM node)
{
    NMTREEVIEWA expanding = {};
    expanding.action = TVE_EXPAND;
    expanding.itemNew.hItem = node;
    Notify(window, 129, static_cast<UINT>(TVN_ITEMEXPANDINGA), &expanding.hdr);
}

std::string Location(HWND window) { return std::string(CurrentFolder()) + "|" + StatusText(window, 0); }

}  // namespace

QV_TEST(DrivesViewAndTreeLeaveOutTheCdRom)
{
    HWND window = StartMainWindow();
    CHECK_EQ(StatusText(window, 0) + "|" + StatusText(window, 1), "我的电脑|5 个分区");
    CHECK_EQ(Rows(window) + "|" + Rows(window, 1), " (A:)| (C:)| (D:)| (E:)|可移动磁盘|本地磁盘|本地磁盘|本地磁盘");
    std::string size = RowText(window, 3, 2);  // the floppy alone is not asked for its space
    CHECK(RowText(window, 0, 2).empty() && size.size() > 5 && size[size.size() - 5] == '.' && size.back() == 'G');
    CHECK(SendMessageA(Tree(window), TVM_GETITEMSTATE, (WPARAM)TreeRoot(window), TVIS_EXPANDED) & TVIS_EXPANDED);
    CHECK_EQ(TreeChildren(window, TreeRoot(window)), " (A:)| (C:)| (D:)| (E:)|Quillvane");
    CHECK_EQ(TreeNodePath(window, TreeRoot(window)) + TreeNodePath(window, TreeChild(window, nullptr, " (D:)")) +
                 TreeNodePath(window, TreeChild(window, nullptr, "Quillvane")),
             "rootD:hide");
}

QV_TEST(FolderListingSkipsSystemEntriesAndDimsHiddenOnes)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\listing");
    for (const char* name : {"a.txt", "c.sys"})
        WriteFileText(folder / name, "x");
    WriteFileText(folder / "k.dat", std::string(1024, 'k'));
    SetFileAttributesA((folder / "a.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA((folder / "c.sys").c_str(), FILE_ATTRIBUTE_SYSTEM);
    MakeFolder(folder / "b");
    ShowLocation(window, *folder);
    CHECK_EQ(Rows(window, 0, true) + "|" + StatusText(window, 1), "a.txt|b|k.dat|3 个对象");
    CHECK_EQ(Location(window), folder.Path() + "|" + folder.Path());
    int hidden = FindRow(window, "a.txt"), sub = FindRow(window, "b");
    CHECK(Dimmed(window, hidden) && !Dimmed(window, sub) && RowText(window, sub, 3).size() == 16);
    CHECK_EQ(RowText(window, hidden, 1) + RowText(window, FindRow(window, "k.dat"), 1) + RowText(window, sub, 1), "1KB2KB");
    // One row for a path: appended as shown normally, inserted dimmed when hidden.
    AppendPathRow(window, (folder / "a.txt").c_str());
    InsertPathRow(window, (folder / "a.txt").c_str(), 1);
    CHECK(RowText(window, 1) == "a.txt" && RowText(window, 4) == "a.txt" && Dimmed(window, 1) && !Dimmed(window, 4));

    // Column widths the user set stay when a folder is opened from the list.
    SendMessageA(List(window), LVM_SETCOLUMNWIDTH, 0, 333);
    DoubleClickRow(window, "b");
    CHECK_EQ(Location(window) + std::to_string(SendMessageA(List(window), LVM_GETCOLUMNWIDTH, 0, 0)),
             folder / "b|" + folder / "b333");
    // A folder deleted behind the program's back lists empty and stays the current folder.
    RemoveTree(folder.Path());
    SendCommand(window, 32805);
    CHECK_EQ(std::string(CurrentFolder()) + "|" + StatusText(window, 1), folder / "b|0 个对象");
}

QV_TEST(VaultViewListsEveryDriveUnderItsHomePaths)
{
    HWND window = StartMainWindow();
    for (const char* stored : {"Ddocs+work+a.txt", "Cx.doc", "E+a.txt", "Dsystem.txt"})
        MakeVaultEntry(stored[0], stored + 1);
    SetFileAttributesA("D:\\ \\Quillnest\\system.txt", FILE_ATTRIBUTE_SYSTEM);
    ShowLocation(window, "hide");
    CHECK_EQ(Rows(window), "C:\\x.doc|D:\\docs\\work\\a.txt|E:\\\\a.txt");
    CHECK_EQ(Location(window) + "|" + StatusText(window, 1), "hide|Quillvane|3 个对象");
    CHECK(ImageList_GetImageCount(g_app.largeIcons) == 1 && ImageOf(window, "E:\\\\a.txt") == 0 && !Dimmed(window, 2));
    // The hidden system root shows neither in a folder view nor in the tree.
    ShowLocation(window, "D:");
    Expand(window, TreeChild(window, nullptr, " (D:)"));
    CHECK(FindRow(window, " ") < 0 && !TreeChild(window, TreeChild(window, nullptr, " (D:)"), " "));
    for (const char* root : {"C:\\ \\", "D:\\ \\", "E:\\ \\"})
        RemoveTree(root);
}

QV_TEST(TreeNodesFillOnceWithChineseAndHiddenSubFolders)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\中文");  // 誠 is D5 5C in code page 936: its second byte is a backslash
    for (const char* name : {"誠", "誠\\deep", "s2", "s2\\system", "hidden", "system"})
        MakeFolder(folder / name);
    for (const char* name : {"s2\\system", "system", "hidden"})
        SetFileAttributesA((folder / name).c_str(), name[0] == 'h' ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_SYSTEM);
    WriteFileText(folder / "誠\\文件.txt", "x");
    HTREEITEM drive = TreeChild(window, nullptr, " (D:)");
    Expand(window, drive);
    HTREEITEM node = TreeChild(window, drive, "中文");
    Expand(window, node);
    Expand(window, node);
    CHECK_EQ(TreeChildren(window, node, true), "hidden|s2|誠");
    CHECK_EQ(TreeNodePath(window, TreeChild(window, node, "誠")), "D:\\中文\\誠");
    std::string buttons;  // only a folder with a sub-folder the tree would show has one
    for (const char* name : {"誠", "s2", "hidden"}) {
        TVITEMA item = {TVIF_CHILDREN, TreeChild(window, node, name), 0, 0, nullptr, 0, 0, 0, 0, 0};
        SendMessageA(Tree(window), TVM_GETITEMA, 0, (LPARAM)&item);
        buttons += std::to_string(item.cChildren);
    }
    CHECK_EQ(buttons + CurrentFolder(), "100");  // filling nodes leaves the item list alone
    ShowLocation(window, *folder);
    DoubleClickRow(window, "誠");
    CHECK_EQ(std::string(CurrentFolder()) + ":" + Rows(window, 0, true), "D:\\中文\\誠:deep|文件.txt");
    RemoveTree(folder / "誠");  // the harness empties a folder whose name ends in 0x5C
    CHECK(!PathExists(folder / "誠"));
}

QV_TEST(ClicksAndDoubleClicksMoveBetweenLocations)
{
    HWND window = StartMainWindow();
    TestFolder folder("E:\\double");
    MakeFolder(folder / "sub");
    ClickTreeNode(window, TreeChild(window, nullptr, " (D:)"));
    CHECK_EQ(Location(window) + ColumnTitles(window), "D:|D:名称|大小|类型|修改时间");
    SetStatusText(window, 0, "");
    ClickTreeNode(window, TreeChild(window, nullptr, " (E:)"), true);  // a button only expands
    CHECK_EQ(Location(window), "D:|D:");
    ClickTreeNode(window, TreeRoot(window));
    Notify(window, 130, static_cast<UINT>(NM_DBLCLK));  // nothing selected: nothing opens
    CHECK_EQ(Location(window) + ColumnTitles(window), "|我的电脑名称|类型|总大小|可用空间|文件系统");
    LVITEMA label = {};  // a drive row opens its drive even when its name hides the letter
    label.pszText = const_cast<char*>("本地磁盘");
    SendMessageA(List(window), LVM_SETITEMTEXTA, 3, (LPARAM)&label);
    SelectRows(window, {3});
    SendCommand(window, 105);
    DoubleClickRow(window, "double");
    DoubleClickRow(window, "sub");
    CHECK_EQ(Location(window), "E:\\double\\sub|E:\\double\\sub");
    MakeVaultEntry('E', "v.txt");  // vault rows are not opened from the list
    ShowLocation(window, "hide");
    DoubleClickRow(window, "E:\\v.txt");
    CHECK_EQ(Location(window) + Rows(window), "hide|QuillvaneE:\\v.txt");
    RemoveTree("E:\\ \\");
}

QV_TEST(OpeningFilesAndPathsTooLong)
{
    HWND window = StartMainWindow();
    RegisterOpenRecorder();
    TestFolder folder("D:\\open");
    for (const char* name : {"doc.qvt", "odd.zzq", "bad.exe"})
        WriteFileText(folder / name, "not a program");
    // Made through the wide functions, which take paths past MAX_PATH.
    std::wstring deep = L"\\\\?\\D:\\open\\" + std::wstring(250, L'd'), base = L"\\\\?\\D:\\open\\" + std::wstring(200, L'b');
    CHECK(CreateDirectoryW(deep.c_str(), nullptr) && CreateDirectoryW(base.c_str(), nullptr));
    for (std::wstring name : {std::wstring(70, L'n'), std::wstring(L"short.txt")})
        CloseHandle(CreateFileW((base + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ShowLocation(window, *folder);
    DoubleClickRow(window, "doc.qvt");
    CHECK(WaitFor([] { return PathExists("C:\\qv\\opened.txt"); }, 15000));
    DialogCatcher dialogs;
    DoubleClickRow(window, "odd.zzq");
    DoubleClickRow(window, "bad.exe");
    for (INT_PTR code : {SE_ERR_SHARE, SE_ERR_DLLNOTFOUND, SE_ERR_OOM})  // codes outside the table show nothing
        ReportOpenError(window, "X:\\f", code);
    // A folder whose search pattern can't fit is not opened; entries whose
    // full path can't fit are left out, and the user is told.
    DoubleClickRow(window, std::string(250, 'd'));
    CHECK_EQ(std::string(CurrentFolder()) + std::to_string(RowCount(window)), folder.Path() + "5");
    DoubleClickRow(window, std::string(200, 'b'));
    CHECK_EQ(std::string(CurrentFolder()) + "|" + Rows(window), folder / std::string(200, 'b') + "|short.txt");
    CHECK_EQ(dialogs.Texts(), Join({RuleOf(Message::OpenNoAssociation).text, folder / "bad.exe 不是有效的 Win32 应用程序",
                                    RuleOf(Message::OpenSharingViolation).text, RuleOf(Message::OpenDllNotFound).text,
                                    "路径太长，无法打开：" + folder / std::string(250, 'd'), "有 1 个项目的路径过长，未列出"}));
    CHECK_EQ(dialogs.Seen()[0].caption + "|" + dialogs.Seen()[2].caption, folder / "odd.zzq|X:\\f");
    RemoveDirectoryW(deep.c_str());
    DeleteFileW((base + L"\\" + std::wstring(70, L'n')).c_str());
}

QV_TEST(SelectionStatusAndSharedIcons)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\status");
    MakeFolder(folder / "sub");
    MakeFolder(folder / "sub2");
    for (const char* name : {"a.txt", "c.TXT", "f.exe", "g.exe"})
        WriteFileText(folder / name, "x");
    HANDLE big = CreateFileA((folder / "big.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER size = {{1215752192, 23}};  // 100,000,000,000 bytes: a size text of ten characters
    SetFilePointerEx(big, size, nullptr, FILE_BEGIN);
    SetEndOfFile(big);
    CloseHandle(big);
    ShowLocation(window, *folder);
    int file = FindRow(window, "big.bin");
    const std::pair<std::vector<int>, std::string> cases[] = {
        {{}, folder.Path()},
        {{file}, "类型: " + RowText(window, file, 2) + " 修改日期: " + RowText(window, file, 3) + " 大小: 97656251KB"},
        {{FindRow(window, "sub")}, "选定 1 个对象"},
        {{0, 1, 2}, "选定 3 个对象"}};
    for (const auto& c : cases) {
        SelectRows(window, c.first);
        Notify(window, 130, static_cast<UINT>(NM_CLICK));
        CHECK_EQ(StatusText(window, 0), c.second);
    }
    // Each kind's icon is stored once per listing; a program's icon is its own.
    CHECK(ImageOf(window, "a.txt") == ImageOf(window, "c.TXT") && ImageOf(window, "sub") == ImageOf(window, "sub2"));
    CHECK(ImageOf(window, "f.exe") != ImageOf(window, "g.exe") && ImageList_GetImageCount(g_app.smallIcons) == 5);
}
