// New items, delete, rename, properties and the numbered folder tree.
#include "tests/win/harness.h"

#include "base/app_state.h"
#include "base/file_search.h"
#include "browse/browse.h"
#include "fileops/fileops.h"

#include <map>

using namespace qvtest;

namespace {

// Reads and closes the next message box of the worker thread; owned says by a window.
std::string WorkerMessage()
{
    HWND box = nullptr;
    WaitFor([&] { return (box = FindWindowA("#32770", "提示")) != nullptr; }, 30000);
    std::string text = WindowText(GetDlgItem(box, 0xFFFF)) + (GetWindow(box, GW_OWNER) ? " owned" : "");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    WaitFor([&] { return !IsWindow(box); });
    return text;
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
    TestFolder folder("D:\\new");
    Show(window, *folder);
    Texts made;
    const WORD kinds[] = {32773, 32775, 32811, 32812, 32776, 32813, 32814};  // folder, BMP, Word, ... Excel
    for (WORD command : kinds) {
        SendCommand(window, command);
        std::string row = RowText(window, RowCount(window) - 1), edited = WindowText(EditControl(window));
        made.push_back(row +
                       (row == edited && PathExists(folder / row) && ReadFileText(folder / row).empty() ? "" : "!"));
    }
    CHECK_EQ(Join(made),
             "新建文件夹|新建 BMP 图像.bmp|新建 Microsoft Word 文档.doc|新建 Microsoft PowerPoint 演示文稿.ppt|"
             "新建 文本文档.txt|新建 波形声音.wav|新建 Microsoft Excel 工作表.xls");
    // A second item of a kind is refused, and no edit starts; the first keeps its content.
    WriteFileText(folder / "新建 文本文档.txt", "keep");
    SendMessageA(List(window), LVM_CANCELEDITLABEL, 0, 0);
    DialogCatcher dialogs;
    for (WORD command : {WORD{32776}, WORD{32812}, WORD{32773}})
        SendCommand(window, command);
    CHECK(!EditControl(window) && RowCount(window) == 7 && ReadFileText(folder / "新建 文本文档.txt") == "keep");
    RemoveTree(folder.path);  // the folder is gone: each kind says why under its own caption
    for (WORD command : kinds)
        SendCommand(window, command);
    Show(window, "");
    SendCommand(window, 32773);
    std::string gone;
    for (const char* kind : {"文件夹", "BMP图像", "Word", "压缩文件", "文本文档", "波形声音文件", "Excel"})
        gone += "|新建" + std::string(kind) + "时出错:" + SystemText(ERROR_PATH_NOT_FOUND);
    CHECK_EQ(dialogs.Texts(true),
             "新建文本文档时出错:当文件已存在时，无法创建该文件|新建压缩文件时出错:当文件已存在时，无法创建该文件|"
             "新建文件夹时出错:" +
                 SystemText(ERROR_ALREADY_EXISTS) + gone + "|Explorer:磁盘页面不能新建文件");

    // Deleting asks the shell, whose dialog belongs to the window, and removes only what it deleted.
    TestFolder other("D:\\delete", {"a.txt", "b.txt", "c.txt", "keep.txt"});
    MakeVaultEntry('D', "delete+a.txt");
    Show(window, *other);
    SendCommand(window, 32796);
    HWND owner = nullptr;
    for (int button : {IDNO, IDYES})
        dialogs.handlers.push_back(
            [&owner, button](HWND box) { owner = GetWindow(box, GW_OWNER), PostMessageA(box, WM_COMMAND, button, 0); });
    SelectRows(window, {0, 1, 2});
    SendCommand(window, 32778);
    CHECK(RowCount(window) == 4 && owner == window);
    SelectRows(window, {0, 1, 2});
    SetFocus(List(window));
    PressKeys({VK_DELETE});
    CHECK_EQ(Rows(window) + std::to_string(dialogs.seen.size()), "keep.txt13");
    for (const char* location : {"", "hide"}) {  // outside a folder view nothing is deleted or renamed
        Show(window, location);
        SelectRows(window, {0});
        SendCommand(window, 32779);
        CHECK(!EditControl(window));
        SendCommand(window, 32778);
    }
    CHECK(dialogs.seen.size() == 13 && PathExists("D:\\ \\Quillnest\\delete+a.txt"));

    // Properties name the item, else the drive by its root.
    TestFolder props("D:\\props", {"a.txt"});
    char path[MAX_PATH];
    auto target = [&](const char* location, std::vector<int> rows) {
        Show(window, location);
        SelectRows(window, rows);
        return PropertiesTarget(window, path) ? std::string(path) : "<none>";
    };
    CHECK_EQ(Join({target(*props, {0}), target(*props, {}), target("", {3}), target("", {}), target("hide", {})}),
             props / "a.txt|D:\\|E:\\|explorer|<none>");

    // The numbered tree, built on a worker, reports in a box no window owns: the folders that can't
    // be made (1,111 and 111 below two files) with the first reason, or success over what stands.
    TestFolder safe("C:\\Safe", {"3", "5\\", "5\\5"});  // an earlier run's tree is removed first
    SendCommand(window, 32821);
    CHECK_EQ(WorkerMessage() + ReadFileText(safe / "3"),
             "有 1222 个文件夹未能创建：" + SystemText(ERROR_ALREADY_EXISTS) + "3");
    DeleteFileA((safe / "3").c_str()), DeleteFileA((safe / "5\\5").c_str());
    SendCommand(window, 32821);
    CHECK(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr));  // the window answers meanwhile
    CHECK_EQ(WorkerMessage(), "创建成功");
    CHECK(CountFolders("C:\\Safe") == 11111 && CountFolders("C:\\Safe\\3\\1\\4\\1") == 1);
}

QV_TEST(RenameChecksTheTypedNameAndWarnsWhenTheExtensionChanges)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\rename", {"a.txt", "readme", "notes.old\\"});
    Show(window, *folder);
    const std::string longName(200, 'n'), veryLong(250, 'n'), tooLong = SystemText(ERROR_FILENAME_EXCED_RANGE);
    const char ask[] = "如果改变文件扩展名，可能会导致文件不可用。\n确实要更改吗?";
    const struct {
        const char *from, *to;
        int answer;  // -1: Esc ends the edit
        const char *said, *after;
    } cases[] = {{"a.txt", "a.doc", IDNO, ask, "a.txt"},
                 {"a.txt", "..\\a.txt", 0, "文件名不能包含下列字符：\\ / : * ? \" < > |，也不能包含控制字符", "a.txt"},
                 {"a.txt", "con.txt", 0, "“con.txt”是系统保留的设备名，不能用作文件名", "a.txt"},
                 {"a.txt", "readme", 0, "此文件夹中已有名为“readme”的项目", "a.txt"},
                 // A change of letter case alone is no clash (Wine's shell then keeps the name).
                 {"a.txt", "A.txt", 0, "", "a.txt"},
                 {"a.txt", "b.TXT . .", IDYES, ask, "b.TXT"},
                 {"b.TXT", ". ..", 0, "文件名不能为空", "b.TXT"},
                 {"readme", "readme.txt", 0, "", "readme.txt"},
                 {"notes.old", "memo.old", 0, "", "memo.old"},
                 {"memo.old", "memo", IDYES, ask, "memo"},
                 {"memo", "memo", 0, "", "memo"},
                 {"memo", longName.c_str(), 0, "", longName.c_str()},
                 {longName.c_str(), "memo", 0, "", "memo"},
                 {"memo", veryLong.c_str(), 0, tooLong.c_str(), "memo"},  // refused, not cut
                 {"memo", "other", -1, "", "memo"}};
    for (const auto& c : cases) {
        DialogCatcher dialogs;
        if (c.answer > 0)
            dialogs.answers = {c.answer};
        int row = FindRow(window, c.from);
        SelectRows(window, {row});
        SendCommand(window, 32779);
        SetWindowTextA(EditControl(window), c.to);
        SendMessageA(EditControl(window), WM_KEYDOWN, c.answer < 0 ? VK_ESCAPE : VK_RETURN, 0);
        CHECK_EQ(dialogs.Texts() + "|" + RowText(window, row) + (PathExists(folder / c.after) ? "" : " missing"),
                 c.said + std::string("|") + c.after);
    }
    CHECK_EQ(ReadFileText(folder / "b.TXT") + ReadFileText(folder / "readme.txt") + std::to_string(RowCount(window)),
             "a.txtreadme3");
}

QV_TEST_IN(CommandsLeaveNamesWindowsReadsAsOthersAlone, "en_US.UTF-8")
{
    // "a." names "a", "..." the folder; under 1252 a character it can't hold is listed as '?' (after é).
    HWND window = StartMainWindow();
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
    for (WORD command : {WORD{32778}, WORD{32815}})  // each refreshes the list
        SelectRows(window, odd), SendCommand(window, command);
    SelectRows(window, {FindRow(window, "a.")});
    char path[MAX_PATH];
    SendCommand(window, 105);
    Notify(window, 130, static_cast<UINT>(NM_DBLCLK));
    SendCommand(window, 32779);
    CHECK(!PropertiesTarget(window, path) && !EditControl(window));
    const std::string refused = "无法处理“a.”：" + dot;
    CHECK_EQ(std::to_string(GetACP()) + dialogs.Texts(),
             "1252" + Join({"有 4 个项目未删除：\n" + listed, "有 4 个项目未能移动，原样保留：\n" + listed, refused,
                            refused, refused, refused}));
    CHECK_EQ(ReadFileText(folder / "a") + ReadFileText(folder / "\xE9z") + std::to_string(RowCount(window)), "a\xE9z6");
    CHECK(!PathExists("D:\\ \\Quillnest\\names+a") && !PathExists("D:\\ \\Quillnest\\names+"));
}
