// What the drives view, the folder tree and the listings show.
#include "tests/win/harness.h"

#include "app/app_state.h"
#include "app/frame.h"
#include "browse/browse.h"
#include "browse/item_text.h"

#include <algorithm>

using namespace qvtest;

namespace {

// The hidden root of a drive's vault; without the trailing backslash the
// name would lose its space and mean the drive's root.
std::string VaultRoot(char drive) { return std::string(1, drive) + ":\\ \\"; }

// Puts an entry into a drive's vault the way the program lays vaults out.
void MakeVaultEntry(char drive, const std::string& storedName)
{
    std::string root = VaultRoot(drive);
    if (!PathExists(root)) {
        MakeFolder(root);
        SetFileAttributesA(root.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    }
    if (!PathExists(root + "Quillnest"))
        MakeFolder(root + "Quillnest");
    WriteFileText(root + "Quillnest\\" + storedName, "vault");
}

bool IsExpanded(HWND window, HTREEITEM node)
{
    return SendMessageA(Tree(window), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node), TVIS_EXPANDED) & TVIS_EXPANDED;
}

}  // namespace

QV_TEST(DrivesViewAndTreeLeaveOutTheCdRom)
{
    HWND window = StartMainWindow();
    CHECK_EQ(StatusText(window, 0), "我的电脑");
    CHECK_EQ(StatusText(window, 1), "5 个分区");

    std::string letters;
    for (const std::string& name : ColumnOfRows(window, 0))
        letters += DriveLetterOfDisplayName(name.c_str());
    CHECK_EQ(letters, "ACDE");
    CHECK_EQ(Join(ColumnOfRows(window, 1)), "可移动磁盘|本地磁盘|本地磁盘|本地磁盘");
    CHECK_EQ(RowText(window, 0, 2) + RowText(window, 0, 3), "");  // the floppy is not asked for its space
    for (int row = 1; row < RowCount(window); ++row) {
        Context context("drive row " + RowText(window, row));
        std::string total = RowText(window, row, 2);
        CHECK(total.size() > 5 && total.back() == 'G' && total[total.size() - 5] == '.');
        CHECK(RowText(window, row, 3).back() == 'G');
        CHECK(!RowText(window, row, 4).empty());
    }

    HTREEITEM computer = TreeRoot(window);
    CHECK_EQ(TreeNodePath(window, computer), "root");
    CHECK(IsExpanded(window, computer));
    Texts paths;
    for (const std::string& text : TreeChildTexts(window, computer))
        paths.push_back(TreeNodePath(window, TreeChild(window, computer, text)));
    CHECK_EQ(Join(paths), "A:|C:|D:|E:|hide");
    CHECK_EQ(TreeChildTexts(window, computer).back(), "Quillvane");
}

QV_TEST(FolderListingSkipsSystemEntriesAndDimsHiddenOnes)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\listing");
    WriteFileText(folder / "a.txt", "hidden");
    SetFileAttributesA((folder / "a.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    MakeFolder(folder / "b");
    WriteFileText(folder / "c.sys", "system");
    SetFileAttributesA((folder / "c.sys").c_str(), FILE_ATTRIBUTE_SYSTEM);
    WriteFileText(folder / "k.dat", std::string(1024, 'k'));

    ShowFolder(window, folder.Path());
    CHECK_EQ(Join(ColumnTitles(window)), "名称|大小|类型|修改时间");
    Texts names = ColumnOfRows(window);
    std::sort(names.begin(), names.end());
    CHECK_EQ(Join(names), "a.txt|b|k.dat");
    CHECK_EQ(StatusText(window, 0), folder.Path());
    CHECK_EQ(StatusText(window, 1), "3 个对象");
    CHECK_EQ(std::string(g_app.currentFolder), folder.Path());

    int hidden = FindRow(window, "a.txt");
    int sub = FindRow(window, "b");
    CHECK(RowState(window, hidden, LVIS_CUT) & LVIS_CUT);
    CHECK(!(RowState(window, sub, LVIS_CUT) & LVIS_CUT));
    CHECK_EQ(RowText(window, hidden, 1), "1KB");
    CHECK_EQ(RowText(window, FindRow(window, "k.dat"), 1), "2KB");
    CHECK_EQ(RowText(window, sub, 1), "");
    CHECK_EQ(RowText(window, sub, 3).size(), std::string("2026-12-07 10:00").size());

    // Empty and missing folders list nothing; a missing one still becomes the current folder.
    TestFolder empty("D:\\listing-empty");
    for (const std::string& path : {empty.Path(), std::string("D:\\listing-missing")}) {
        Context context(path);
        ShowFolder(window, path);
        CHECK_EQ(RowCount(window), 0);
        CHECK_EQ(StatusText(window, 1), "0 个对象");
        CHECK_EQ(std::string(g_app.currentFolder), path);
    }

    // A folder deleted behind the program's back refreshes to an empty view.
    ShowFolder(window, folder.Path());
    RemoveTree(folder.Path());
    SendCommand(window, 32805);
    CHECK_EQ(RowCount(window), 0);
    CHECK_EQ(std::string(g_app.currentFolder), folder.Path());
    CHECK_EQ(Join(ColumnTitles(window)), "名称|大小|类型|修改时间");
}

QV_TEST(DriveRootIsListedAsTheLetterAndColon)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\rootdir");
    MakeFolder(folder / "inner");
    HTREEITEM drive = TreeChild(window, TreeRoot(window), TreeChildTexts(window, TreeRoot(window))[2]);
    CHECK_EQ(TreeNodePath(window, drive), "D:");
    ClickTreeNode(window, drive, TreePart::Label);
    CHECK_EQ(std::string(g_app.currentFolder), "D:");
    CHECK_EQ(StatusText(window, 0), "D:");
    CHECK_EQ(Join(ColumnTitles(window)), "名称|大小|类型|修改时间");
    int row = FindRow(window, "rootdir");
    CHECK(row >= 0);

    SelectRows(window, {row});
    Notify(window, 130, static_cast<UINT>(NM_DBLCLK));
    CHECK_EQ(std::string(g_app.currentFolder), "D:\\rootdir");
    CHECK_EQ(Join(ColumnOfRows(window)), "inner");
}

QV_TEST(VaultViewListsEveryDriveUnderItsHomePaths)
{
    HWND window = StartMainWindow();
    MakeVaultEntry('D', "docs+work+a.txt");
    MakeVaultEntry('C', "x.doc");
    MakeVaultEntry('E', "+a.txt");
    MakeVaultEntry('D', "hidden-system.txt");
    SetFileAttributesA("D:\\ \\Quillnest\\hidden-system.txt", FILE_ATTRIBUTE_SYSTEM);

    SetCurrentFolder("hide");
    SendCommand(window, 32805);
    CHECK_EQ(Join(ColumnTitles(window)), "文件所在路径");
    CHECK_EQ(Join(ColumnOfRows(window)), "C:\\x.doc|D:\\docs\\work\\a.txt|E:\\\\a.txt");
    CHECK_EQ(StatusText(window, 0), "Quillvane");
    CHECK_EQ(StatusText(window, 1), "3 个对象");
    CHECK_EQ(std::string(g_app.currentFolder), "hide");

    // One copy of the vault icon serves every row.
    CHECK_EQ(ImageList_GetImageCount(g_app.smallIcons), 1);
    CHECK_EQ(ImageList_GetImageCount(g_app.largeIcons), 1);
    for (int row = 0; row < RowCount(window); ++row) {
        LVITEMA item = {};
        item.mask = LVIF_IMAGE | LVIF_STATE;
        item.stateMask = LVIS_CUT;
        item.iItem = row;
        SendMessageA(List(window), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        CHECK_EQ(item.iImage, 0);
        CHECK_EQ(item.state & LVIS_CUT, 0u);
    }

    // The hidden system root never shows in a folder view or the tree.
    ShowFolder(window, "D:");
    CHECK_EQ(FindRow(window, " "), -1);
    for (char drive : {'C', 'D', 'E'})
        RemoveTree(VaultRoot(drive));
}

QV_TEST(ChineseNamesAndBackslashTrailBytes)
{
    HWND window = StartMainWindow();
    // 誠 is D5 5C in code page 936: its second byte is a backslash.
    TestFolder folder("D:\\中文");
    MakeFolder(folder / "誠");
    WriteFileText(folder / "誠\\文件.txt", "x");
    WriteFileText(folder / "说明.txt", "x");

    ShowFolder(window, folder.Path());
    Texts names = ColumnOfRows(window);
    Texts expected = {"誠", "说明.txt"};
    CHECK(std::is_permutation(names.begin(), names.end(), expected.begin(), expected.end()));
    SelectRows(window, {FindRow(window, "誠")});
    Notify(window, 130, static_cast<UINT>(NM_DBLCLK));
    CHECK_EQ(std::string(g_app.currentFolder), "D:\\中文\\誠");
    CHECK_EQ(Join(ColumnOfRows(window)), "文件.txt");
    CHECK_EQ(RowText(window, 0, 1), "1KB");

    HTREEITEM drive = TreeChild(window, TreeRoot(window), TreeChildTexts(window, TreeRoot(window))[2]);
    SendMessageA(Tree(window), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(drive));
    HTREEITEM chinese = TreeChild(window, drive, "中文");
    CHECK(chinese != nullptr);
    SendMessageA(Tree(window), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(chinese));
    CHECK_EQ(TreeNodePath(window, TreeChild(window, chinese, "誠")), "D:\\中文\\誠");
}

QV_TEST(TreeNodesFillWithSubFoldersOnce)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\tree");
    MakeFolder(folder / "s1");
    MakeFolder(folder / "s1\\deep");
    MakeFolder(folder / "s2");
    MakeFolder(folder / "s2\\vaultlike");
    SetFileAttributesA((folder / "s2\\vaultlike").c_str(), FILE_ATTRIBUTE_SYSTEM);
    MakeFolder(folder / "hidden");
    SetFileAttributesA((folder / "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    MakeFolder(folder / "system");
    SetFileAttributesA((folder / "system").c_str(), FILE_ATTRIBUTE_SYSTEM);
    WriteFileText(folder / "f.txt", "x");
    TestFolder filesOnly("D:\\tree-files");
    WriteFileText(filesOnly / "only.txt", "x");

    HWND tree = Tree(window);
    HTREEITEM drive = TreeChild(window, TreeRoot(window), TreeChildTexts(window, TreeRoot(window))[2]);
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(drive));
    HTREEITEM node = TreeChild(window, drive, "tree");
    CHECK(node != nullptr);
    for (int round = 0; round < 2; ++round) {
        Context context("expansion " + std::to_string(round + 1));
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
        Texts children = TreeChildTexts(window, node);
        std::sort(children.begin(), children.end());
        CHECK_EQ(Join(children), "hidden|s1|s2");
        SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(node));
    }
    CHECK_EQ(TreeNodePath(window, TreeChild(window, node, "s1")), "D:\\tree\\s1");

    // Only a folder with a sub-folder the tree would show gets an expand button.
    auto hasButton = [&](const char* name) {
        TVITEMA item = {};
        item.mask = TVIF_CHILDREN;
        item.hItem = TreeChild(window, node, name);
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item.cChildren;
    };
    CHECK_EQ(hasButton("s1"), 1);
    CHECK_EQ(hasButton("s2"), 0);
    CHECK_EQ(hasButton("hidden"), 0);

    HTREEITEM files = TreeChild(window, drive, "tree-files");
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(files));
    CHECK(TreeChildTexts(window, files).empty());
    CHECK(std::string(g_app.currentFolder).empty());  // filling nodes leaves the item list alone
}

QV_TEST(TreeClicksOnLabelsNavigateButNotOnButtons)
{
    HWND window = StartMainWindow();
    HTREEITEM computer = TreeRoot(window);
    Texts drives = TreeChildTexts(window, computer);
    ClickTreeNode(window, TreeChild(window, computer, drives[2]), TreePart::Label);
    CHECK_EQ(std::string(g_app.currentFolder), "D:");
    int rows = RowCount(window);

    SetStatusText(window, 0, "");
    ClickTreeNode(window, TreeChild(window, computer, drives[3]), TreePart::Button);
    CHECK_EQ(std::string(g_app.currentFolder), "D:");
    CHECK_EQ(RowCount(window), rows);
    CHECK_EQ(StatusText(window, 0), "D:");

    ClickTreeNode(window, computer, TreePart::Label);
    CHECK(std::string(g_app.currentFolder).empty());
    CHECK_EQ(StatusText(window, 0), "我的电脑");
    CHECK_EQ(Join(ColumnTitles(window)), "名称|类型|总大小|可用空间|文件系统");
    CHECK_EQ(RowCount(window), 4);
}

QV_TEST(DoubleClickOpensTheRowAtTheSelectionMark)
{
    HWND window = StartMainWindow();
    TestFolder folder("E:\\double");
    MakeFolder(folder / "sub");

    // Nothing selected: nothing happens.
    SelectRows(window, {});
    Notify(window, 130, static_cast<UINT>(NM_DBLCLK));
    CHECK(std::string(g_app.currentFolder).empty());

    // A drive row opens its drive, even when its name hides the letter.
    int row = 3;
    CHECK_EQ(DriveLetterOfDisplayName(RowText(window, row).c_str()), 'E');
    LVITEMA rename = {};
    rename.pszText = const_cast<char*>("本地磁盘");
    SendMessageA(List(window), LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&rename));
    SelectRows(window, {row});
    SendCommand(window, 105);
    CHECK_EQ(std::string(g_app.currentFolder), "E:");
    CHECK_EQ(StatusText(window, 0), "E:");
    CHECK_EQ(Join(ColumnTitles(window)), "名称|大小|类型|修改时间");

    SelectRows(window, {FindRow(window, "double")});
    Notify(window, 130, static_cast<UINT>(NM_DBLCLK));
    SelectRows(window, {FindRow(window, "sub")});
    Notify(window, 130, static_cast<UINT>(NM_DBLCLK));
    CHECK_EQ(std::string(g_app.currentFolder), "E:\\double\\sub");

    // Vault rows are not opened from the list.
    MakeVaultEntry('E', "double+sub+v.txt");
    SetCurrentFolder("hide");
    SendCommand(window, 32805);
    SelectRows(window, {0});
    Notify(window, 130, static_cast<UINT>(NM_DBLCLK));
    CHECK_EQ(std::string(g_app.currentFolder), "hide");
    CHECK_EQ(RowCount(window), 1);
    RemoveTree(VaultRoot('E'));
}

QV_TEST(OpeningFilesUsesTheirAssociation)
{
    HWND window = StartMainWindow();
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        WriteRegistryText(root, "Software\\Classes\\.qvt", "", "qvtest.document");
        WriteRegistryText(root, "Software\\Classes\\qvtest.document\\shell\\open\\command", "",
                          "C:\\qv\\qv_open_recorder.exe \"%1\"");
    }
    DeleteFileA("C:\\qv\\opened.txt");
    TestFolder folder("D:\\open");
    WriteFileText(folder / "doc.qvt", "x");
    WriteFileText(folder / "odd.zzq", "x");
    ShowFolder(window, folder.Path());

    SelectRows(window, {FindRow(window, "doc.qvt")});
    Notify(window, 130, static_cast<UINT>(NM_DBLCLK));
    CHECK(WaitFor([] { return PathExists("C:\\qv\\opened.txt"); }, 15000));
    CHECK_EQ(std::string(g_app.currentFolder), folder.Path());
    CHECK_EQ(RowCount(window), 2);

    DialogCatcher dialogs;
    SelectRows(window, {FindRow(window, "odd.zzq")});
    Notify(window, 130, static_cast<UINT>(NM_DBLCLK));
    CHECK_EQ(dialogs.Seen().size(), 1u);
    if (!dialogs.Seen().empty()) {
        CHECK_EQ(dialogs.Seen()[0].caption, folder / "odd.zzq");
        CHECK_EQ(dialogs.Seen()[0].text, "没有与给定的文件扩展名关联的应用程序");
    }
    CHECK_EQ(std::string(g_app.currentFolder), folder.Path());
    CHECK_EQ(RowCount(window), 2);
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
    ShowFolder(window, folder.Path());

    SelectRows(window, {});
    Notify(window, 130, static_cast<UINT>(NM_CLICK));
    CHECK_EQ(StatusText(window, 0), folder.Path());

    int file = FindRow(window, "big.bin");
    CHECK_EQ(RowText(window, file, 1), "97656251KB");
    SelectRows(window, {file});
    Notify(window, 130, static_cast<UINT>(NM_CLICK));
    CHECK_EQ(StatusText(window, 0),
             "类型: " + RowText(window, file, 2) + " 修改日期: " + RowText(window, file, 3) + " 大小: 97656251KB");

    SelectRows(window, {FindRow(window, "sub")});
    Notify(window, 130, static_cast<UINT>(NM_CLICK));
    CHECK_EQ(StatusText(window, 0), "选定 1 个对象");

    SelectRows(window, {0, 1, 2});
    Notify(window, 130, static_cast<UINT>(NM_CLICK));
    CHECK_EQ(StatusText(window, 0), "选定 3 个对象");
    CHECK_EQ(StatusText(window, 1), "3 个对象");
}

QV_TEST(LabelEditOfADriveOffersItsLabel)
{
    HWND window = StartMainWindow();
    LVITEMA label = {};
    label.pszText = const_cast<char*>("本地磁盘 (D:)");
    SendMessageA(List(window), LVM_SETITEMTEXTA, 2, reinterpret_cast<LPARAM>(&label));
    SelectRows(window, {2});
    SendCommand(window, 32779);
    HWND edit = reinterpret_cast<HWND>(SendMessageA(List(window), LVM_GETEDITCONTROL, 0, 0));
    CHECK(edit != nullptr);
    char text[MAX_PATH] = {};
    GetWindowTextA(edit, text, sizeof text);
    CHECK_EQ(std::string(text), "本地磁盘");
    CHECK_EQ(std::string(g_app.labelEditOldName), "本地磁盘 (D:)");
}

QV_TEST(EachDistinctIconIsStoredOncePerListing)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\icons");
    for (const char* name : {"a.txt", "b.txt", "c.TXT", "d.bmp", "e.bmp", "f.exe", "g.exe"})
        WriteFileText(folder / name, "x");
    MakeFolder(folder / "s1");
    MakeFolder(folder / "s2");
    ShowFolder(window, folder.Path());

    auto imageOf = [&](const char* name) {
        LVITEMA item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = FindRow(window, name);
        SendMessageA(List(window), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item.iImage;
    };
    CHECK_EQ(imageOf("a.txt"), imageOf("b.txt"));
    CHECK_EQ(imageOf("a.txt"), imageOf("c.TXT"));
    CHECK_EQ(imageOf("d.bmp"), imageOf("e.bmp"));
    CHECK_EQ(imageOf("s1"), imageOf("s2"));
    CHECK(imageOf("f.exe") != imageOf("g.exe"));  // a program's icon is its own
    CHECK_EQ(ImageList_GetImageCount(g_app.smallIcons), 5);
    CHECK_EQ(ImageList_GetImageCount(g_app.largeIcons), 5);
    CHECK_EQ(RowText(window, FindRow(window, "a.txt"), 2), RowText(window, FindRow(window, "c.TXT"), 2));

    // A refill starts the icon lists again.
    SendCommand(window, 32805);
    CHECK_EQ(ImageList_GetImageCount(g_app.smallIcons), 5);
}

QV_TEST(TypeNamesAreAskedOncePerRunUntilTheUserRefreshes)
{
    HWND window = StartMainWindow();
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        WriteRegistryText(root, "Software\\Classes\\.qvk", "", "qvtest.kind");
        WriteRegistryText(root, "Software\\Classes\\qvtest.kind", "", "旧类型");
    }
    TestFolder folder("D:\\kinds");
    WriteFileText(folder / "a.qvk", "x");
    ShowFolder(window, folder.Path());
    CHECK_EQ(RowText(window, 0, 2), "旧类型");

    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        WriteRegistryText(root, "Software\\Classes\\qvtest.kind", "", "新类型");
    ShowFolder(window, folder.Path());
    CHECK_EQ(RowText(window, 0, 2), "旧类型");
    SendCommand(window, 32805);
    CHECK_EQ(RowText(window, 0, 2), "新类型");
}

QV_TEST(PathsTooLongAreRefusedNotCut)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\long");
    // Made through the wide functions, which take paths past MAX_PATH.
    std::wstring deep = L"\\\\?\\D:\\long\\" + std::wstring(250, L'd');
    CHECK(CreateDirectoryW(deep.c_str(), nullptr));
    std::wstring base = L"\\\\?\\D:\\long\\" + std::wstring(200, L'b');
    CHECK(CreateDirectoryW(base.c_str(), nullptr));
    HANDLE file = CreateFileW((base + L"\\" + std::wstring(70, L'n')).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              0, nullptr);
    CloseHandle(file);
    CloseHandle(CreateFileW((base + L"\\short.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));

    ShowFolder(window, folder.Path());
    int rows = RowCount(window);
    CHECK_EQ(rows, 2);

    // A folder whose search pattern cannot fit is not opened.
    DialogCatcher dialogs;
    SelectRows(window, {FindRow(window, std::string(250, 'd'))});
    Notify(window, 130, static_cast<UINT>(NM_DBLCLK));
    CHECK_EQ(std::string(g_app.currentFolder), folder.Path());
    CHECK_EQ(RowCount(window), rows);
    CHECK_EQ(dialogs.Seen().size(), 1u);

    // Entries whose full path cannot fit are left out, and the user is told.
    SelectRows(window, {FindRow(window, std::string(200, 'b'))});
    Notify(window, 130, static_cast<UINT>(NM_DBLCLK));
    CHECK_EQ(std::string(g_app.currentFolder), folder / std::string(200, 'b'));
    CHECK_EQ(Join(ColumnOfRows(window)), "short.txt");
    CHECK_EQ(dialogs.Seen().size(), 2u);
    if (dialogs.Seen().size() == 2)
        CHECK_EQ(dialogs.Seen()[1].text, "有 1 个项目的路径过长，未列出");

    RemoveDirectoryW(deep.c_str());
    DeleteFileW((base + L"\\" + std::wstring(70, L'n')).c_str());
}

QV_TEST(OpeningAFileThatIsNoProgramSaysSo)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\badexe");
    WriteFileText(folder / "bad.exe", "this is not a program");
    ShowFolder(window, folder.Path());
    DialogCatcher dialogs;
    SelectRows(window, {0});
    Notify(window, 130, static_cast<UINT>(NM_DBLCLK));
    CHECK_EQ(dialogs.Seen().size(), 1u);
    if (!dialogs.Seen().empty()) {
        CHECK_EQ(dialogs.Seen()[0].caption, folder / "bad.exe");
        CHECK_EQ(dialogs.Seen()[0].text, folder / "bad.exe" + " 不是有效的 Win32 应用程序");
    }
    CHECK_EQ(std::string(g_app.currentFolder), folder.Path());
}
