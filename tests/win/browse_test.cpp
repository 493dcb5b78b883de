// What the drives view, the folder tree and the listings show, and moving
// between them.
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

int ImageOf(HWND window, int row)
{
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    SendMessageA(List(window), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

void DoubleClickRow(HWND window, const std::string& name)
{
    SelectRows(window, {FindRow(window, name)});
    Notify(window, 130, static_cast<UINT>(NM_DBLCLK));
}

// Sends the tree's expansion notification for a node, as a click on its button does.
void Expand(HWND window, HTREEITEM node)
{
    NMTREEVIEWA expanding = {};
    expanding.action = TVE_EXPAND;
    expanding.itemNew.hItem = node;
    Notify(window, 129, static_cast<UINT>(TVN_ITEMEXPANDINGA), &expanding.hdr);
}

}  // namespace

QV_TEST(DrivesViewAndTreeLeaveOutTheCdRom)
{
    HWND window = StartMainWindow();
    CHECK_EQ(StatusText(window, 0), "我的电脑");
    CHECK_EQ(StatusText(window, 1), "5 个分区");
    CHECK_EQ(Rows(window), " (A:)| (C:)| (D:)| (E:)");
    CHECK_EQ(Rows(window, 1), "可移动磁盘|本地磁盘|本地磁盘|本地磁盘");
    CHECK_EQ(RowText(window, 0, 2) + RowText(window, 0, 3), "");  // the floppy is not asked for its space
    for (int row = 1; row < RowCount(window); ++row) {
        Context context("drive row " + RowText(window, row));
        std::string total = RowText(window, row, 2);
        CHECK(total.size() > 5 && total.back() == 'G' && total[total.size() - 5] == '.');
        CHECK(RowText(window, row, 3).back() == 'G' && !RowText(window, row, 4).empty());
    }
    HTREEITEM computer = TreeRoot(window);
    CHECK_EQ(TreeNodePath(window, computer), "root");
    CHECK(SendMessageA(Tree(window), TVM_GETITEMSTATE, (WPARAM)computer, TVIS_EXPANDED) & TVIS_EXPANDED);
    CHECK_EQ(TreeChildren(window, computer), " (A:)| (C:)| (D:)| (E:)|Quillvane");
    CHECK_EQ(TreeNodePath(window, TreeChild(window, nullptr, " (D:)")), "D:");
    CHECK_EQ(TreeNodePath(window, TreeChild(window, nullptr, "Quillvane")), "hide");
}

QV_TEST(FolderListingSkipsSystemEntriesAndDimsHiddenOnes)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\listing");
    WriteFileText(folder / "a.txt", "hidden");
    SetFileAttributesA((folder / "a.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    MakeFolder(folder / "b");
    WriteFileText(folder / "b\\inner.txt", "x");
    WriteFileText(folder / "c.sys", "system");
    SetFileAttributesA((folder / "c.sys").c_str(), FILE_ATTRIBUTE_SYSTEM);
    WriteFileText(folder / "k.dat", std::string(1024, 'k'));

    ShowLocation(window, folder.Path().c_str());
    CHECK_EQ(Rows(window, 0, true), "a.txt|b|k.dat");
    CHECK_EQ(StatusText(window, 0) + "|" + StatusText(window, 1), folder.Path() + "|3 个对象");
    CHECK_EQ(std::string(CurrentFolder()), folder.Path());
    int hidden = FindRow(window, "a.txt");
    int sub = FindRow(window, "b");
    CHECK(Dimmed(window, hidden) && !Dimmed(window, sub));
    CHECK_EQ(RowText(window, hidden, 1) + RowText(window, FindRow(window, "k.dat"), 1) + RowText(window, sub, 1),
             "1KB2KB");
    CHECK_EQ(RowText(window, sub, 3).size(), std::string("2026-12-07 10:00").size());

    // One row for a path: appended as shown normally, inserted dimmed when hidden.
    AppendPathRow(window, (folder / "a.txt").c_str());
    InsertPathRow(window, (folder / "a.txt").c_str(), 1);
    CHECK_EQ(RowText(window, 1) + RowText(window, 4), "a.txta.txt");
    CHECK(Dimmed(window, 1) && !Dimmed(window, 4));
    CHECK_EQ(RowText(window, 1, 1), "1KB");

    // Column widths the user set stay when a folder is opened from the list.
    SendMessageA(List(window), LVM_SETCOLUMNWIDTH, 0, 333);
    DoubleClickRow(window, "b");
    CHECK_EQ(std::string(CurrentFolder()), folder / "b");
    CHECK_EQ(SendMessageA(List(window), LVM_GETCOLUMNWIDTH, 0, 0), 333);

    // Empty and missing folders list nothing; a missing one still becomes the current folder.
    for (const std::string& path : {folder / "b\\inner.txt\\x", std::string("D:\\listing-missing")}) {
        Context context(path);
        ShowLocation(window, path.c_str());
        CHECK_EQ(RowCount(window), 0);
        CHECK_EQ(StatusText(window, 1), "0 个对象");
        CHECK_EQ(std::string(CurrentFolder()), path);
    }

    // A folder deleted behind the program's back refreshes to an empty view.
    ShowLocation(window, folder.Path().c_str());
    RemoveTree(folder.Path());
    SendCommand(window, 32805);
    CHECK_EQ(RowCount(window), 0);
    CHECK_EQ(std::string(CurrentFolder()), folder.Path());
}

QV_TEST(VaultViewListsEveryDriveUnderItsHomePaths)
{
    HWND window = StartMainWindow();
    MakeVaultEntry('D', "docs+work+a.txt");
    MakeVaultEntry('C', "x.doc");
    MakeVaultEntry('E', "+a.txt");
    MakeVaultEntry('D', "hidden-system.txt");
    SetFileAttributesA("D:\\ \\Quillnest\\hidden-system.txt", FILE_ATTRIBUTE_SYSTEM);

    ShowLocation(window, "hide");
    CHECK_EQ(Rows(window), "C:\\x.doc|D:\\docs\\work\\a.txt|E:\\\\a.txt");
    CHECK_EQ(StatusText(window, 0) + "|" + StatusText(window, 1), "Quillvane|3 个对象");
    CHECK_EQ(std::string(CurrentFolder()), "hide");
    // One copy of the vault icon serves every row; no row is dimmed.
    CHECK_EQ(ImageList_GetImageCount(g_app.largeIcons), 1);
    for (int row = 0; row < RowCount(window); ++row)
        CHECK(ImageOf(window, row) == 0 && !Dimmed(window, row));

    // The hidden system root never shows in a folder view or the tree.
    ShowLocation(window, "D:");
    CHECK_EQ(FindRow(window, " "), -1);
    HTREEITEM drive = TreeChild(window, nullptr, " (D:)");
    Expand(window, drive);
    CHECK(TreeChild(window, drive, " ") == nullptr);
    for (char letter : {'C', 'D', 'E'})
        RemoveTree(std::string(1, letter) + ":\\ \\");
}

QV_TEST(ChineseNamesAndBackslashTrailBytes)
{
    HWND window = StartMainWindow();
    // 誠 is D5 5C in code page 936: its second byte is a backslash.
    TestFolder folder("D:\\中文");
    MakeFolder(folder / "誠");
    WriteFileText(folder / "誠\\文件.txt", "x");
    WriteFileText(folder / "说明.txt", "x");
    ShowLocation(window, folder.Path().c_str());
    CHECK_EQ(Rows(window, 0, true), "说明.txt|誠");
    DoubleClickRow(window, "誠");
    CHECK_EQ(std::string(CurrentFolder()), "D:\\中文\\誠");
    CHECK_EQ(Rows(window) + RowText(window, 0, 1), "文件.txt1KB");

    HTREEITEM drive = TreeChild(window, nullptr, " (D:)");
    Expand(window, drive);
    HTREEITEM chinese = TreeChild(window, drive, "中文");
    Expand(window, chinese);
    CHECK_EQ(TreeNodePath(window, TreeChild(window, chinese, "誠")), "D:\\中文\\誠");

    // The test harness empties and removes a folder whose name ends in 0x5C.
    RemoveTree(folder / "誠");
    CHECK(!PathExists(folder / "誠"));
}

QV_TEST(TreeNodesFillWithSubFoldersOnce)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\tree");
    for (const char* name : {"s1", "s1\\deep", "s2", "s2\\vaultlike", "hidden", "system"})
        MakeFolder(folder / name);
    SetFileAttributesA((folder / "s2\\vaultlike").c_str(), FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA((folder / "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA((folder / "system").c_str(), FILE_ATTRIBUTE_SYSTEM);
    WriteFileText(folder / "f.txt", "x");

    HTREEITEM drive = TreeChild(window, nullptr, " (D:)");
    Expand(window, drive);
    HTREEITEM node = TreeChild(window, drive, "tree");
    for (int round = 0; round < 2; ++round) {
        Context context("expansion " + std::to_string(round + 1));
        Expand(window, node);
        CHECK_EQ(TreeChildren(window, node, true), "hidden|s1|s2");
    }
    CHECK_EQ(TreeNodePath(window, TreeChild(window, node, "s1")), "D:\\tree\\s1");

    // Only a folder with a sub-folder the tree would show gets an expand button.
    std::string buttons;
    for (const char* name : {"s1", "s2", "hidden"}) {
        TVITEMA item = {};
        item.mask = TVIF_CHILDREN;
        item.hItem = TreeChild(window, node, name);
        SendMessageA(Tree(window), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        buttons += std::to_string(item.cChildren);
    }
    CHECK_EQ(buttons, "100");
    HTREEITEM s2 = TreeChild(window, node, "s2");
    Expand(window, s2);
    CHECK_EQ(TreeChildren(window, s2), "");
    CHECK(std::string(CurrentFolder()).empty());  // filling nodes leaves the item list alone
}

QV_TEST(TreeClicksOnLabelsNavigateButNotOnButtons)
{
    HWND window = StartMainWindow();
    struct Click {
        const char* node;
        bool onButton;
        const char* folder;
        const char* status;
        const char* columns;
    };
    const Click clicks[] = {
        {" (D:)", false, "D:", "D:", "名称|大小|类型|修改时间"},
        {" (E:)", true, "D:", "D:", "名称|大小|类型|修改时间"},
        {"", false, "", "我的电脑", "名称|类型|总大小|可用空间|文件系统"},
        {" (C:)", false, "C:", "C:", "名称|大小|类型|修改时间"},
    };
    for (const Click& click : clicks) {
        Context context(std::string("click on ") + click.node + (click.onButton ? " button" : ""));
        SetStatusText(window, 0, "");
        ClickTreeNode(window, click.node[0] ? TreeChild(window, nullptr, click.node) : TreeRoot(window),
                      click.onButton);
        CHECK_EQ(std::string(CurrentFolder()), click.folder);
        CHECK_EQ(StatusText(window, 0), click.status);
        CHECK_EQ(ColumnTitles(window), click.columns);
    }
}

QV_TEST(DoubleClickOpensTheRowAtTheSelectionMark)
{
    HWND window = StartMainWindow();
    TestFolder folder("E:\\double");
    MakeFolder(folder / "sub");
    SelectRows(window, {});
    Notify(window, 130, static_cast<UINT>(NM_DBLCLK));
    CHECK(std::string(CurrentFolder()).empty());

    // A drive row opens its drive, even when its name hides the letter.
    LVITEMA rename = {};
    rename.pszText = const_cast<char*>("本地磁盘");
    SendMessageA(List(window), LVM_SETITEMTEXTA, 3, reinterpret_cast<LPARAM>(&rename));
    SelectRows(window, {3});
    SendCommand(window, 105);
    CHECK_EQ(std::string(CurrentFolder()) + "|" + StatusText(window, 0), "E:|E:");
    CHECK_EQ(ColumnTitles(window), "名称|大小|类型|修改时间");
    DoubleClickRow(window, "double");
    DoubleClickRow(window, "sub");
    CHECK_EQ(std::string(CurrentFolder()), "E:\\double\\sub");

    // Vault rows are not opened from the list.
    MakeVaultEntry('E', "double+sub+v.txt");
    ShowLocation(window, "hide");
    DoubleClickRow(window, "E:\\double\\sub\\v.txt");
    CHECK_EQ(std::string(CurrentFolder()) + Rows(window), "hideE:\\double\\sub\\v.txt");
    RemoveTree("E:\\ \\");
}

QV_TEST(OpeningFilesUsesTheirAssociationOrSaysWhyNot)
{
    HWND window = StartMainWindow();
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        WriteRegistryText(root, "Software\\Classes\\.qvt", "", "qvtest.document");
        WriteRegistryText(root, "Software\\Classes\\qvtest.document\\shell\\open\\command", "",
                          "C:\\qv\\qv_open_recorder.exe \"%1\"");
    }
    DeleteFileA("C:\\qv\\opened.txt");
    TestFolder folder("D:\\open");
    for (const char* name : {"doc.qvt", "odd.zzq", "bad.exe"})
        WriteFileText(folder / name, "not a program");
    ShowLocation(window, folder.Path().c_str());
    DoubleClickRow(window, "doc.qvt");
    CHECK(WaitFor([] { return PathExists("C:\\qv\\opened.txt"); }, 15000));

    DialogCatcher dialogs;
    DoubleClickRow(window, "odd.zzq");
    DoubleClickRow(window, "bad.exe");
    ReportOpenError(window, "X:\\f", SE_ERR_SHARE);
    ReportOpenError(window, "X:\\f", SE_ERR_DLLNOTFOUND);
    ReportOpenError(window, "X:\\f", SE_ERR_OOM);  // codes outside the table show nothing
    CHECK_EQ(dialogs.Texts(), std::string(RuleOf(Message::OpenNoAssociation).text) + "|" + folder / "bad.exe" +
                                  " 不是有效的 Win32 应用程序|" + RuleOf(Message::OpenSharingViolation).text + "|" +
                                  RuleOf(Message::OpenDllNotFound).text);
    CHECK_EQ(dialogs.Seen().size() > 1 ? dialogs.Seen()[0].caption + "|" + dialogs.Seen()[1].caption : "",
             folder / "odd.zzq|" + folder / "bad.exe");
    CHECK_EQ(std::string(CurrentFolder()), folder.Path());
    CHECK_EQ(RowCount(window), 3);
}

QV_TEST(SelectionStatusDescribesTheSelection)
{
    HWND window = StartMainWindow();
    SelectRows(window, {1});
    Notify(window, 130, static_cast<UINT>(NM_CLICK));
    CHECK_EQ(StatusText(window, 0), "选定 1 个对象");

    TestFolder folder("D:\\status");
    MakeFolder(folder / "sub");
    WriteFileText(folder / "small.txt", "x");
    // A sparse file of 100,000,000,000 bytes: its size text has ten characters.
    HANDLE big = CreateFileA((folder / "big.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = 100000000000LL;
    SetFilePointerEx(big, size, nullptr, FILE_BEGIN);
    SetEndOfFile(big);
    CloseHandle(big);
    ShowLocation(window, folder.Path().c_str());

    int file = FindRow(window, "big.bin");
    const std::pair<std::initializer_list<int>, std::string> cases[] = {
        {{}, folder.Path()},
        {{file}, "类型: " + RowText(window, file, 2) + " 修改日期: " + RowText(window, file, 3) + " 大小: 97656251KB"},
        {{FindRow(window, "sub")}, "选定 1 个对象"},
        {{0, 1, 2}, "选定 3 个对象"},
    };
    for (const auto& c : cases) {
        SelectRows(window, c.first);
        Notify(window, 130, static_cast<UINT>(NM_CLICK));
        CHECK_EQ(StatusText(window, 0), c.second);
    }
    CHECK_EQ(StatusText(window, 1), "3 个对象");
}

QV_TEST(IconsAndTypeNamesAreAskedOnceEach)
{
    HWND window = StartMainWindow();
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        WriteRegistryText(root, "Software\\Classes\\.qvk", "", "qvtest.kind");
        WriteRegistryText(root, "Software\\Classes\\qvtest.kind", "", "旧类型");
    }
    TestFolder folder("D:\\icons");
    for (const char* name : {"a.txt", "b.txt", "c.TXT", "d.bmp", "e.bmp", "f.exe", "g.exe", "k.qvk"})
        WriteFileText(folder / name, "x");
    MakeFolder(folder / "s1");
    MakeFolder(folder / "s2");
    ShowLocation(window, folder.Path().c_str());
    auto imageOf = [&](const char* name) { return ImageOf(window, FindRow(window, name)); };
    CHECK(imageOf("a.txt") == imageOf("b.txt") && imageOf("a.txt") == imageOf("c.TXT"));
    CHECK(imageOf("d.bmp") == imageOf("e.bmp") && imageOf("s1") == imageOf("s2"));
    CHECK(imageOf("f.exe") != imageOf("g.exe"));  // a program's icon is its own
    CHECK_EQ(ImageList_GetImageCount(g_app.smallIcons), 6);
    CHECK_EQ(ImageList_GetImageCount(g_app.largeIcons), 6);
    CHECK_EQ(RowText(window, FindRow(window, "k.qvk"), 2), "旧类型");

    // The shell is asked once per run, until the user refreshes.
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        WriteRegistryText(root, "Software\\Classes\\qvtest.kind", "", "新类型");
    ShowLocation(window, folder.Path().c_str());
    CHECK_EQ(RowText(window, FindRow(window, "k.qvk"), 2), "旧类型");
    SendCommand(window, 32805);
    CHECK_EQ(RowText(window, FindRow(window, "k.qvk"), 2), "新类型");
    CHECK_EQ(ImageList_GetImageCount(g_app.smallIcons), 6);
}

QV_TEST(PathsTooLongAreRefusedNotCut)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\long");
    // Made through the wide functions, which take paths past MAX_PATH.
    std::wstring deep = L"\\\\?\\D:\\long\\" + std::wstring(250, L'd');
    std::wstring base = L"\\\\?\\D:\\long\\" + std::wstring(200, L'b');
    std::wstring longFile = base + L"\\" + std::wstring(70, L'n');
    CHECK(CreateDirectoryW(deep.c_str(), nullptr) && CreateDirectoryW(base.c_str(), nullptr));
    CloseHandle(CreateFileW(longFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    CloseHandle(CreateFileW((base + L"\\short.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ShowLocation(window, folder.Path().c_str());
    CHECK_EQ(RowCount(window), 2);

    // A folder whose search pattern cannot fit is not opened; entries whose
    // full path cannot fit are left out, and the user is told.
    DialogCatcher dialogs;
    DoubleClickRow(window, std::string(250, 'd'));
    CHECK_EQ(std::string(CurrentFolder()), folder.Path());
    CHECK_EQ(RowCount(window), 2);
    DoubleClickRow(window, std::string(200, 'b'));
    CHECK_EQ(std::string(CurrentFolder()), folder / std::string(200, 'b'));
    CHECK_EQ(Rows(window), "short.txt");
    CHECK_EQ(dialogs.Texts(), "路径太长，无法打开：" + folder / std::string(250, 'd') + "|有 1 个项目的路径过长，未列出");
    RemoveDirectoryW(deep.c_str());
    DeleteFileW(longFile.c_str());
}
