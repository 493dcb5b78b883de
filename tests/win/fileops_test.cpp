// New items, delete, rename, properties and the numbered folder tree.
#include "tests/win/harness.h"

#include "base/app_state.h"
#include "base/messages.h"
#include "browse/browse.h"
#include "fileops/fileops.h"

using namespace qvtest;

namespace {

std::string Text(Message message) { return RuleOf(message).text; }

HWND EditControl(HWND window) { return (HWND)SendMessageA(List(window), LVM_GETEDITCONTROL, 0, 0); }

std::string SystemText(DWORD code)
{
    char text[256];
    SystemErrorText(code, text, sizeof text);
    return text;
}

// Reads and closes the next message box of the worker thread, noting its owner.
std::string WorkerMessage(HWND& owner)
{
    HWND box = nullptr;
    WaitFor([&] { return (box = FindWindowA("#32770", "提示")) != nullptr; }, 30000);
    char text[512] = {};
    GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof text);
    owner = GetWindow(box, GW_OWNER);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    WaitFor([&] { return !IsWindow(box); });
    return text;
}

int CountFolders(const std::string& folder)
{
    int count = 1;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        count += found.cFileName[0] != '.' ? CountFolders(folder + "\\" + found.cFileName) : 0;
    FindClose(search);
    return count;
}

}  // namespace

QV_TEST(NewItemsAreCreatedOnceAndOpenedForRenaming)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\new");
    ShowLocation(window, *folder);
    const char* names[] = {"新建文件夹", "新建 BMP 图像.bmp", "新建 Microsoft Word 文档.doc",
                           "新建 Microsoft PowerPoint 演示文稿.ppt", "新建 文本文档.txt", "新建 波形声音.wav",
                           "新建 Microsoft Excel 工作表.xls"};
    const WORD commands[] = {32773, 32775, 32811, 32812, 32776, 32813, 32814};
    for (int type = 0; type < 7; ++type) {
        SendCommand(window, commands[type]);
        char edited[MAX_PATH] = {};
        GetWindowTextA(EditControl(window), edited, sizeof edited);
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        CHECK(GetFileAttributesExA((folder / names[type]).c_str(), GetFileExInfoStandard, &data) && data.nFileSizeLow == 0);
        CHECK_EQ(RowText(window, type) + "|" + edited, std::string(names[type]) + "|" + names[type]);
    }
    // A second item of a kind is refused, and no edit starts; the first keeps its content.
    WriteFileText(folder / names[4], "keep");
    SendMessageA(List(window), LVM_CANCELEDITLABEL, 0, 0);
    DialogCatcher dialogs;
    for (WORD command : {WORD{32776}, WORD{32812}, WORD{32773}})
        SendCommand(window, command);
    CHECK(EditControl(window) == nullptr && RowCount(window) == 7 && ReadFileText(folder / names[4]) == "keep");
    RemoveTree(folder.Path());
    SendCommand(window, 32776);  // the folder is gone: the system's reason
    ShowLocation(window, "");
    SendCommand(window, 32773);
    Texts seen;
    for (const SeenDialog& dialog : dialogs.Seen())
        seen.push_back(dialog.caption + ":" + dialog.text);
    CHECK_EQ(Join(seen), Join({"新建文本文档时出错:" + Text(Message::FileExists), "新建压缩文件时出错:" + Text(Message::FileExists),
                               "新建文件夹时出错:" + SystemText(ERROR_ALREADY_EXISTS),
                               "新建文本文档时出错:" + SystemText(ERROR_PATH_NOT_FOUND),
                               "Explorer:" + Text(Message::NewItemInDrivesView)}));
}

QV_TEST(DeleteAsksTheShellAndRefusesWhatItCannotName)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\delete");
    for (const char* name : {"a.txt", "b.txt", "c.txt", "keep.txt"})
        WriteFileText(folder / name, name);
    for (const wchar_t* name : {L"D:\\delete\\thai\x0e01.txt", L"D:\\delete\\thai\x0e02.txt"})
        CloseHandle(CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ShowLocation(window, *folder);
    SendCommand(window, 32796);
    HWND owner = nullptr;
    auto answer = [&owner](int button) {
        return [&owner, button](HWND dialog) { owner = GetWindow(dialog, GW_OWNER), PostMessageA(dialog, WM_COMMAND, button, 0); };
    };
    DialogCatcher dialogs;
    dialogs.Handle(answer(IDNO));
    dialogs.Handle(answer(IDYES));
    SelectRows(window, {0, 1, 2});
    SendCommand(window, 32778);
    CHECK(RowCount(window) == 6 && owner == window);  // the shell's dialog is the window's
    SelectRows(window, {0, 1, 2, 4});  // a.txt b.txt c.txt thai?.txt
    PressKeys({VK_DELETE});
    CHECK_EQ(dialogs.Seen().size(), 3u);
    CHECK(dialogs.Texts().find("有 1 个项目未删除：\nthai?.txt：名称含有无法表示的字符") != std::string::npos);
    CHECK_EQ(Rows(window, 0, true), "keep.txt|thai?.txt|thai?.txt");
    // Outside a folder view the key and the command delete nothing.
    MakeVaultEntry('D', "delete+keep.txt");
    for (const char* location : {"", "hide"}) {
        ShowLocation(window, location);
        SelectRows(window, {0});
        SendCommand(window, 32778);
    }
    CHECK(dialogs.Seen().size() == 3 && PathExists("D:\\ \\Quillnest\\delete+keep.txt"));
    RemoveTree("D:\\ \\");
}

QV_TEST(RenameWarnsWhenTheExtensionChanges)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\rename");
    WriteFileText(folder / "a.txt", "a");
    WriteFileText(folder / "readme", "r");
    MakeFolder(folder / "notes.old");
    ShowLocation(window, *folder);
    const struct {
        const char *from, *to;
        WPARAM key;
        int answer;  // 0: not asked
        const char* after;
    } cases[] = {{"a.txt", "a.doc", VK_RETURN, IDNO, "a.txt"},          {"a.txt", "b.TXT", VK_RETURN, IDYES, "b.TXT"},
                 {"readme", "readme.txt", VK_RETURN, 0, "readme.txt"}, {"notes.old", "memo.old", VK_RETURN, 0, "memo.old"},
                 {"memo.old", "memo", VK_RETURN, IDYES, "memo"},        {"memo", "memo", VK_RETURN, 0, "memo"},
                 {"memo", "other", VK_ESCAPE, 0, "memo"}};
    for (const auto& c : cases) {
        Context context(std::string(c.from) + " -> " + c.to);
        DialogCatcher dialogs;
        dialogs.Answer({c.answer});
        int row = FindRow(window, c.from);
        SelectRows(window, {row});
        SendCommand(window, 32779);
        SetWindowTextA(EditControl(window), c.to);
        SendMessageA(EditControl(window), WM_KEYDOWN, c.key, 0);
        CHECK_EQ(dialogs.Texts() + "|" + RowText(window, row), (c.answer ? Text(Message::ExtensionChange) : "") + "|" + c.after);
        CHECK(PathExists(folder / c.after));
    }
    MakeVaultEntry('D', "rename+x.txt");  // no label edit starts in the drives view or the vault view
    for (const char* location : {"", "hide"}) {
        ShowLocation(window, location);
        SelectRows(window, {0});
        SendCommand(window, 32779);
        CHECK(EditControl(window) == nullptr);
    }
    RemoveTree("D:\\ \\");
}

QV_TEST(PropertiesShowTheItemOrTheDrive)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\props");
    WriteFileText(folder / "a.txt", "a");
    char path[MAX_PATH];
    auto target = [&](const char* location, std::initializer_list<int> rows) {
        ShowLocation(window, location);
        SelectRows(window, rows);
        return PropertiesTarget(window, path) ? std::string(path) : "<none>";
    };
    CHECK_EQ(Join({target(*folder, {0}), target(*folder, {}), target("", {3}), target("", {}), target("hide", {})}),
             folder / "a.txt|D:|E:|explorer|<none>");
    ShowLocation(window, *folder);
    SendCommand(window, 32780);  // Wine draws no sheet; the call must simply return
}

QV_TEST(NumberedTreeIsBuiltOnAWorkerAndTellsTheTruth)
{
    HWND window = StartMainWindow();
    WriteFileText("C:\\Safe", "a file");
    SendCommand(window, 32821);
    HWND owner = nullptr;
    CHECK_EQ(WorkerMessage(owner) + ReadFileText("C:\\Safe"), "有 11111 个文件夹未能创建：" + SystemText(ERROR_ALREADY_EXISTS) + "a file");
    DeleteFileA("C:\\Safe");
    for (int run = 1; run <= 2; ++run) {  // the second run finds every folder there already
        SendCommand(window, 32821);
        DWORD_PTR result = 0;
        CHECK(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result));  // the window stays usable
        CHECK_EQ(WorkerMessage(owner) + (owner ? " owned" : ""), "创建成功");
    }
    CHECK_EQ(CountFolders("C:\\Safe"), 11111);
    CHECK_EQ(CountFolders("C:\\Safe\\3\\1\\4\\1"), 1);
}
