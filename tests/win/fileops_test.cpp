// New items, delete, rename, properties and the numbered folder tree.
#include "tests/win/harness.h"

#include "base/app_state.h"
#include "base/file_search.h"
#include "browse/browse.h"
#include "fileops/fileops.h"
#include "res/resource.h"

#include <map>

using namespace qvtest;

namespace {

// Reads and closes the next message box of the worker thread; owner says which window owns it.
SeenDialog WorkerMessage(HWND& owner)
{
    HWND box = nullptr;
    if (!WaitFor([&] { return IsWindowVisible(box = FindWindowA("#32770", nullptr)); }, 20000))  // made whole
        FailTest("the worker showed no box within 20 seconds");
    SeenDialog seen = ReadDialog(box);
    owner = GetWindow(box, GW_OWNER);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    WaitFor([&] { return !IsWindow(box); });
    return seen;
}

int CountFolders(const std::string& folder)
{
    int count = 1;
    for (FileSearch search = FileSearch::InFolder(folder.c_str()); search.Next();)
        count += search.IsDotOrDotDot() ? 0 : CountFolders(folder + "\\" + search.Entry().cFileName);
    return count;
}

}  // namespace

QV_TEST(NewItemsDeleteAndPropertiesInAFolderAndTheNumberedTree)
{
    HWND window = StartMainWindow();
    Context section("new items");
    TestFolder folder("D:\\new");
    Show(window, *folder);
    const std::pair<WORD, const char*> kinds[] = {
        {IDM_NEW_FOLDER, "新建文件夹"}, {IDM_NEW_BITMAP, "新建 BMP 图像.bmp"},
        {IDM_NEW_WORD, "新建 Microsoft Word 文档.doc"}, {IDM_NEW_POWERPOINT, "新建 Microsoft PowerPoint 演示文稿.ppt"},
        {IDM_NEW_TEXT, "新建 文本文档.txt"}, {IDM_NEW_WAVE, "新建 波形声音.wav"},
        {IDM_NEW_EXCEL, "新建 Microsoft Excel 工作表.xls"}};
    for (const auto& kind : kinds) {
        Context made(kind.second);
        SendCommand(window, kind.first);
        std::string row = RowText(window, RowCount(window) - 1);
        CHECK_EQ(row, kind.second);
        CHECK_EQ(WindowText(EditControl(window)), row);
        CHECK(PathExists(folder / row));
        CHECK_EQ(ReadFileText(folder / row), "");
    }
    section.Set("a second item of a kind is refused, no edit starts, the first keeps its content; each failure told");
    WriteFileText(folder / "新建 文本文档.txt", "keep");
    SendMessageA(List(window), LVM_CANCELEDITLABEL, 0, 0);
    DialogCatcher dialogs;
    for (WORD command : {WORD{IDM_NEW_TEXT}, WORD{IDM_NEW_POWERPOINT}, WORD{IDM_NEW_FOLDER}})
        SendCommand(window, command);
    CHECK(!EditControl(window));
    CHECK_EQ(RowCount(window), 7);
    CHECK_EQ(ReadFileText(folder / "新建 文本文档.txt"), "keep");
    RemoveTree(folder.path);  // the folder is gone: each kind says why under its own caption
    for (const auto& kind : kinds)
        SendCommand(window, kind.first);
    TestFolder deep("D:\\" + std::string(240, 'd'));  // a text document's path would take 261 bytes
    Show(window, *deep);
    SendCommand(window, IDM_NEW_TEXT);
    Show(window, "");
    SendCommand(window, IDM_NEW_FOLDER);
    const std::string exists = "当文件已存在时，无法创建该文件";
    Seen expected = {{"新建文本文档时出错", exists, "error"}, {"新建压缩文件时出错", exists, "error"},
                     {"新建文件夹时出错", SystemText(ERROR_ALREADY_EXISTS), "error"}};
    for (const char* kind : {"文件夹", "BMP图像", "Word", "压缩文件", "文本文档", "波形声音文件", "Excel"})
        expected.push_back({"新建" + std::string(kind) + "时出错", SystemText(ERROR_PATH_NOT_FOUND), "error"});
    expected.push_back({"新建文本文档时出错", SystemText(ERROR_FILENAME_EXCED_RANGE), "error"});
    expected.push_back({"Explorer", "磁盘页面不能新建文件", "error"});
    CHECK_SEEN(dialogs.seen, expected);
    dialogs.seen.clear();

    section.Set("deleting asks the shell, whose dialog belongs to the window, and removes only what it deleted");
    TestFolder other("D:\\delete", {"a.txt", "b.txt", "c.txt", "keep.txt"});
    MakeVaultEntry('D', "delete+a.txt");
    Show(window, *other);
    SendCommand(window, IDM_SORT_NAME);
    HWND owner = nullptr;
    for (int button : {IDNO, IDYES})
        dialogs.handlers.push_back(
            [&owner, button](HWND box) { owner = GetWindow(box, GW_OWNER), PostMessageA(box, WM_COMMAND, button, 0); });
    SelectRows(window, {0, 1, 2});
    SendCommand(window, IDM_DELETE);
    CHECK_EQ(RowCount(window), 4);
    CHECK(owner == window);
    SelectRows(window, {0, 1, 2});
    SetFocus(List(window));
    PressKeys({VK_DELETE});
    CHECK_EQ(Rows(window), "keep.txt");
    CHECK_EQ(dialogs.seen.size(), 2u);
    for (const char* location : {"", "hide"}) {  // outside a folder view nothing is deleted or renamed
        Context outside(*location ? location : "the drives view");
        Show(window, location);
        SelectRows(window, {0});
        SendCommand(window, IDM_RENAME);
        CHECK(!EditControl(window));
        SendCommand(window, IDM_DELETE);
    }
    CHECK_EQ(dialogs.seen.size(), 2u);
    CHECK(PathExists("D:\\ \\Quillnest\\delete+a.txt"));

    section.Set("properties name the item, else the drive by its root");
    TestFolder props("D:\\props", {"a.txt"});
    char path[MAX_PATH];
    auto target = [&](const char* location, std::vector<int> rows) {
        Show(window, location);
        SelectRows(window, rows);
        return PropertiesTarget(window, path) ? std::string(path) : "<none>";
    };
    CHECK_EQ(target(*props, {0}), props / "a.txt");
    CHECK_EQ(target(*props, {}), "D:\\");
    CHECK_EQ(target("", {3}), "E:\\");
    CHECK_EQ(target("", {}), "explorer");
    CHECK_EQ(target("hide", {}), "<none>");

    // The numbered tree, built on a worker, reports in a box no window owns: the folders that can't
    // be made (1,111 and 111 below two files) with the first reason, or success over what stands.
    section.Set("the numbered tree");
    TestFolder safe("C:\\Safe", {"3", "5\\", "5\\5"});  // an earlier run's tree is removed first
    SendCommand(window, IDM_BUILD_NUMBERED_TREE);
    CHECK_SEEN(Seen{WorkerMessage(owner)},
               {{"提示", "有 1222 个文件夹未能创建：" + SystemText(ERROR_ALREADY_EXISTS), "error"}});
    CHECK(owner == nullptr);
    CHECK_EQ(ReadFileText(safe / "3"), "3");
    DeleteFileA((safe / "3").c_str()), DeleteFileA((safe / "5\\5").c_str());
    SendCommand(window, IDM_BUILD_NUMBERED_TREE);
    CHECK(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr));  // the window answers meanwhile
    CHECK_SEEN(Seen{WorkerMessage(owner)}, {{"提示", "创建成功", ""}});
    CHECK(owner == nullptr);
    CHECK_EQ(CountFolders("C:\\Safe"), 11111);
    CHECK_EQ(CountFolders("C:\\Safe\\3\\1\\4\\1"), 1);
}

QV_TEST(RenameChecksTheTypedNameAndWarnsWhenTheExtensionChanges)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\rename", {"a.txt", "readme", "notes.old\\", "h.txt"});
    SetFileAttributesA((folder / "h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    Show(window, *folder);
    const std::string longName(200, 'n'), veryLong(250, 'n'), tooLong = SystemText(ERROR_FILENAME_EXCED_RANGE);
    const char ask[] = "如果改变文件扩展名，可能会导致文件不可用。\n确实要更改吗?", warning[] = "warning";
    const struct {
        const char *from, *to;
        int answer;  // -1: Esc ends the edit
        const char *said, *icon, *after;
    } cases[] = {{"a.txt", "a.doc", IDNO, ask, warning, "a.txt"},
                 {"a.txt", "..\\a.txt", 0, "文件名不能包含下列字符：\\ / : * ? \" < > |，也不能包含控制字符", warning, "a.txt"},
                 {"a.txt", "con.txt", 0, "“con.txt”是系统保留的设备名，不能用作文件名", warning, "a.txt"},
                 {"a.txt", "readme", 0, "此文件夹中已有名为“readme”的项目", warning, "a.txt"},
                 // A change of letter case alone is no clash (Wine's shell then keeps the name).
                 {"a.txt", "A.txt", 0, "", "", "a.txt"},
                 {"a.txt", "b.TXT . .", IDYES, ask, warning, "b.TXT"},
                 {"b.TXT", ". ..", 0, "文件名不能为空", warning, "b.TXT"},
                 {"readme", "readme.txt", 0, "", "", "readme.txt"},
                 {"notes.old", "memo.old", 0, "", "", "memo.old"},
                 {"memo.old", "memo", IDYES, ask, warning, "memo"},
                 {"memo", "memo", 0, "", "", "memo"},
                 {"memo", longName.c_str(), 0, "", "", longName.c_str()},
                 {longName.c_str(), "memo", 0, "", "", "memo"},
                 {"memo", veryLong.c_str(), 0, tooLong.c_str(), "error", "memo"},  // refused, not cut
                 {"memo", "other", -1, "", "", "memo"},
                 {"h.txt", "h2.txt", 0, "", "", "h2.txt"}};  // a hidden item stays dimmed
    for (const auto& c : cases) {
        Context renamed("case", &c - cases);
        DialogCatcher dialogs;
        if (c.answer > 0)
            dialogs.answers = {c.answer};
        int row = FindRow(window, c.from);
        SelectRows(window, {row});
        SendCommand(window, IDM_RENAME);
        SetWindowTextA(EditControl(window), c.to);
        SendMessageA(EditControl(window), WM_KEYDOWN, c.answer < 0 ? VK_ESCAPE : VK_RETURN, 0);
        CHECK_SEEN(dialogs.seen, *c.said ? Seen{{"重命名", c.said, c.icon}} : Seen{});
        CHECK_EQ(RowText(window, row), c.after);
        CHECK(PathExists(folder / c.after));
        CHECK_EQ(Dimmed(window, row), *c.from == 'h');
    }
    CHECK_EQ(ReadFileText(folder / "b.TXT"), "a.txt");
    CHECK_EQ(ReadFileText(folder / "readme.txt"), "readme");
    CHECK_EQ(RowCount(window), 4);
}

QV_TEST_IN(CommandsLeaveNamesWindowsReadsAsOthersAlone, "en_US.UTF-8")
{
    // "a." names "a", "..." the folder; under 1252 a character it can't hold is listed as '?' (after é).
    HWND window = StartMainWindow();
    CHECK_EQ(GetACP(), 1252u);
    TestFolder folder("D:\\names", {"a", "\xE9z"});
    for (const wchar_t* name : {L"a.", L"b ", L"...", L"\x00e9\x4e2d"})
        WriteFileText(L"\\\\?\\D:\\names\\" + std::wstring(name), "odd");
    Show(window, *folder);
    const std::string dot = "名称以点或空格结尾，系统会把它当作另一个名称";
    std::map<int, std::string> lines = {{FindRow(window, "a."), "a.：" + dot},
                                        {FindRow(window, "b "), "b ：" + dot},
                                        {FindRow(window, "..."), "...：名称只有点，系统会把它当作所在的文件夹"},
                                        {FindRow(window, "\xE9?"), "\xE9?：名称含有无法表示的字符"}};
    std::string listed;
    std::vector<int> odd;
    for (const auto& line : lines)
        listed += line.second + "\n", odd.push_back(line.first);
    DialogCatcher dialogs;
    for (WORD command : {WORD{IDM_DELETE}, WORD{IDM_VAULT_MOVE_IN}})  // each refreshes the list
        SelectRows(window, odd), SendCommand(window, command);
    SelectRows(window, {FindRow(window, "a.")});
    char path[MAX_PATH];
    SendCommand(window, IDM_OPEN);
    Notify(window, IDC_ITEM_LIST, static_cast<UINT>(NM_DBLCLK));
    SendCommand(window, IDM_RENAME);
    CHECK(!PropertiesTarget(window, path));
    CHECK(!EditControl(window));
    const SeenDialog refused = {"提示", "无法处理“a.”：" + dot, "warning"};
    CHECK_SEEN(dialogs.seen, {{"提示", "有 4 个项目未删除：\n" + listed, "warning"},
                              {"提示", "有 4 个项目未能移动，原样保留：\n" + listed, "warning"},
                              refused, refused, refused, refused});
    CHECK_EQ(ReadFileText(folder / "a"), "a");
    CHECK_EQ(ReadFileText(folder / "\xE9z"), "\xE9z");
    CHECK_EQ(RowCount(window), 6);
    CHECK(!PathExists("D:\\ \\Quillnest\\names+a"));
    CHECK(!PathExists("D:\\ \\Quillnest\\names+"));
}
