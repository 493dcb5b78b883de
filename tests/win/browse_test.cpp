// What the drives view, the folder tree and the listings show, and moving between them.
#include "tests/win/harness.h"

#include "base/app_state.h"
#include "browse/browse.h"
#include "browse/browse_parts.h"

#include <shellapi.h>

using namespace qvtest;

namespace {

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

}  // namespace

QV_TEST(DrivesViewAndTreeLeaveOutTheCdRom)
{
    HWND window = StartMainWindow();
    CHECK_EQ(StatusText(window, 1) + Rows(window) + "|" + Rows(window, 1),
             "5 个分区 (A:)| (C:)| (D:)| (E:)|可移动磁盘|本地磁盘|本地磁盘|本地磁盘");
    std::string size = RowText(window, 3, 2);  // the floppy alone is not asked for its space
    CHECK(RowText(window, 0, 2).empty() && size.size() > 5 && size[size.size() - 5] == '.' && size.back() == 'G');
    CHECK(SendMessageA(Tree(window), TVM_GETITEMSTATE, (WPARAM)TreeRoot(window), TVIS_EXPANDED) & TVIS_EXPANDED);
    CHECK_EQ(TreeChildren(window, TreeRoot(window)), " (A:)| (C:)| (D:)| (E:)|Quillvane");
    CHECK_EQ(TreeNodePath(window, TreeRoot(window)) + TreeNodePath(window, TreeChild(window, nullptr, " (D:)")) +
                 TreeNodePath(window, TreeChild(window, nullptr, "Quillvane")),
             "rootD:hide");
}

QV_TEST(FolderAndVaultListings)
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
    std::string texts = RowText(window, hidden, 1) + RowText(window, file, 1) + RowText(window, sub, 1) + "|";
    for (auto rows : {std::vector<int>{file}, {sub}, {0, 1, 2}}) {  // what the selection is
        SelectRows(window, rows);
        Notify(window, 130, static_cast<UINT>(NM_CLICK));
        texts += StatusText(window, 0) + "|";
    }
    CHECK_EQ(texts, "1KB2KB|类型: " + RowText(window, file, 2) + " 修改日期: " + RowText(window, file, 3) +
                        " 大小: 2KB|选定 1 个对象|选定 3 个对象|");
    // One row for a path: appended as shown normally, inserted dimmed when hidden.
    AppendPathRow(window, (folder / "a.txt").c_str());
    InsertPathRow(window, (folder / "a.txt").c_str(), 1);
    CHECK(RowText(window, 1) == "a.txt" && RowText(window, 4) == "a.txt" && Dimmed(window, 1) && !Dimmed(window, 4));
    // Column widths the user set stay when a folder is opened from the list.
    SendMessageA(List(window), LVM_SETCOLUMNWIDTH, 0, 333);
    DoubleClickRow(window, "b");
    CHECK_EQ(Location(window) + std::to_string(SendMessageA(List(window), LVM_GETCOLUMNWIDTH, 0, 0)),
             folder / "b|" + folder / "b|4333");
    RemoveTree(folder.Path());  // deleted behind the program's back: the refresh lists nothing
    SendCommand(window, 32805);
    CHECK_EQ(std::string(CurrentFolder()) + "|" + StatusText(window, 1), folder / "b|0 个对象");

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
}

QV_TEST(TreeNodesFillOnceWithChineseAndHiddenSubFolders)
{
    HWND window = StartMainWindow();
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
    ShowLocation(window, *folder);
    DoubleClickRow(window, "誠");
    CHECK_EQ(std::string(CurrentFolder()) + ":" + Rows(window), "D:\\中文\\誠:deep");
    RemoveTree(folder / "誠");  // the harness empties a folder whose name ends in 0x5C
    CHECK(!PathExists(folder / "誠"));
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
    LVITEMA label = {};  // a drive row opens its drive even when its name hides the letter
    label.pszText = const_cast<char*>("本地磁盘");
    SendMessageA(List(window), LVM_SETITEMTEXTA, 3, (LPARAM)&label);
    SelectRows(window, {3});
    SendCommand(window, 105);
    DoubleClickRow(window, "double");
    DoubleClickRow(window, "sub");
    CHECK_EQ(Location(window), "E:\\double\\sub|E:\\double\\sub|4");
    MakeVaultEntry('E', "v.txt");  // vault rows are not opened from the list
    ShowLocation(window, "hide");
    DoubleClickRow(window, "E:\\v.txt");
    CHECK_EQ(Location(window) + Rows(window), "hide|Quillvane|1E:\\v.txt");
    RemoveTree("E:\\ \\");
}

QV_TEST(OpeningFilesAndPathsTooLong)
{
    HWND window = StartMainWindow();
    RegisterOpenRecorder();
    TestFolder folder("D:\\open", {"doc.qvt", "odd.zzq"});
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
    for (INT_PTR code : {SE_ERR_SHARE, SE_ERR_DLLNOTFOUND, SE_ERR_OOM})  // codes outside the table show nothing
        ReportOpenError(window, "X:\\f", code);
    // A folder whose search pattern can't fit is not opened; entries whose
    // full path can't fit are left out, and the user is told.
    DoubleClickRow(window, std::string(250, 'd'));
    CHECK_EQ(std::string(CurrentFolder()) + std::to_string(RowCount(window)), folder.Path() + "4");
    DoubleClickRow(window, std::string(200, 'b'));
    CHECK_EQ(std::string(CurrentFolder()) + "|" + Rows(window), folder / std::string(200, 'b') + "|short.txt");
    CHECK_EQ(dialogs.Texts(), Join({Text(Message::OpenNoAssociation), Text(Message::OpenSharingViolation),
                                    Text(Message::OpenDllNotFound), Text(Message::PathTooLongToOpen, folder / std::string(250, 'd')),
                                    "有 1 个项目的路径过长，未列出"}));
    CHECK_EQ(dialogs.Seen()[0].caption + "|" + dialogs.Seen()[1].caption, folder / "odd.zzq|X:\\f");
    RemoveDirectoryW(deep.c_str());
    DeleteFileW((base + L"\\" + std::wstring(70, L'n')).c_str());
}
