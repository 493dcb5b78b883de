// New items, delete, rename, properties and the numbered folder tree.
#include "tests/win/harness.h"

#include "base/app_state.h"
#include "base/messages.h"
#include "browse/browse.h"
#include "fileops/fileops.h"

using namespace qvtest;

namespace {

std::string Text(Message message) { return RuleOf(message).text; }

HWND EditControl(HWND window) { return reinterpret_cast<HWND>(SendMessageA(List(window), LVM_GETEDITCONTROL, 0, 0)); }

std::string SystemText(DWORD code)
{
    char text[256];
    SystemErrorText(code, text, sizeof text);
    return text;
}

// Edits a row's label as a user does: F2, the text typed, then Enter or Esc.
void EditLabel(HWND window, int row, const std::string& text, WPARAM key = VK_RETURN)
{
    SelectRows(window, {row});
    SendCommand(window, 32779);
    HWND edit = EditControl(window);
    SetWindowTextA(edit, text.c_str());
    SendMessageA(edit, WM_KEYDOWN, key, 0);
    Pump();
}

// The text of the next message box the worker thread shows, closed after reading.
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
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        if (found.cFileName[0] != '.')
            count += CountFolders(folder + "\\" + found.cFileName);
    }
    FindClose(search);
    return count;
}

}  // namespace

QV_TEST(NewItemsAreCreatedOnceAndOpenedForRenaming)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\new");
    ShowLocation(window, folder.Path().c_str());
    const std::pair<WORD, const char*> kinds[] = {
        {32773, "新建文件夹"},         {32775, "新建 BMP 图像.bmp"},
        {32811, "新建 Microsoft Word 文档.doc"}, {32812, "新建 Microsoft PowerPoint 演示文稿.ppt"},
        {32776, "新建 文本文档.txt"},   {32813, "新建 波形声音.wav"},
        {32814, "新建 Microsoft Excel 工作表.xls"}};
    for (const auto& kind : kinds) {
        Context context(kind.second);
        SendCommand(window, kind.first);
        int last = RowCount(window) - 1;
        CHECK_EQ(RowText(window, last), kind.second);
        char text[MAX_PATH] = {};
        GetWindowTextA(EditControl(window), text, sizeof text);
        CHECK_EQ(std::string(text), kind.second);
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        CHECK(GetFileAttributesExA((folder / kind.second).c_str(), GetFileExInfoStandard, &data));
        CHECK_EQ(data.nFileSizeLow + (kind.first == 32773 ? 0 : data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY), 0u);
    }

    // A second item of a kind is refused; the first keeps its content, and no edit starts.
    WriteFileText(folder / "新建 文本文档.txt", "keep");
    SendMessageA(List(window), LVM_CANCELEDITLABEL, 0, 0);
    DialogCatcher dialogs;
    for (WORD command : {WORD{32776}, WORD{32812}, WORD{32773}})
        SendCommand(window, command);
    CHECK(EditControl(window) == nullptr);
    CHECK_EQ(RowCount(window), 7);
    CHECK_EQ(ReadFileText(folder / "新建 文本文档.txt"), "keep");
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
    CloseHandle(CreateFileW(L"D:\\delete\\thai\x0e01.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    CloseHandle(CreateFileW(L"D:\\delete\\thai\x0e02.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ShowLocation(window, folder.Path().c_str());
    SendCommand(window, 32796);
    HWND owner = nullptr;
    auto answer = [&](int button) {
        return [&owner, button](HWND dialog) {
            owner = GetWindow(dialog, GW_OWNER);
            PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(button), 0);
        };
    };
    {
        DialogCatcher dialogs;
        dialogs.Handle(answer(IDNO));
        SelectRows(window, {0, 1, 2});
        SendCommand(window, 32778);
        CHECK_EQ(RowCount(window), 6);
        CHECK(owner == window);
        dialogs.Handle(answer(IDYES));
        SelectRows(window, {0, 1, 2, 4});  // a.txt b.txt c.txt thai?.txt
        PressKeys({VK_DELETE});
        CHECK_EQ(dialogs.Seen().size(), 3u);
        CHECK(dialogs.Texts().find("有 1 个项目未删除：\nthai?.txt：名称含有无法表示的字符") != std::string::npos);
    }
    CHECK_EQ(Rows(window, 0, true), "keep.txt|thai?.txt|thai?.txt");
    CHECK(!PathExists(folder / "a.txt") && !PathExists(folder / "c.txt"));

    // Outside a folder view the key and the command delete nothing.
    for (const char* location : {"", "hide"}) {
        DialogCatcher dialogs;
        MakeVaultEntry('D', "delete+keep.txt");
        ShowLocation(window, location);
        SelectRows(window, {0});
        SendCommand(window, 32778);
        CHECK(dialogs.Seen().empty());
        CHECK(PathExists("D:\\ \\Quillnest\\delete+keep.txt"));
    }
    RemoveTree("D:\\ \\");
}

QV_TEST(RenameWarnsWhenTheExtensionChanges)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\rename");
    WriteFileText(folder / "a.txt", "a");
    WriteFileText(folder / "readme", "r");
    MakeFolder(folder / "notes.old");
    ShowLocation(window, folder.Path().c_str());
    struct Case {
        const char* from;
        const char* to;
        WPARAM key;
        int answer;  // 0: not asked
        const char* after;
    };
    const Case cases[] = {
        {"a.txt", "a.doc", VK_RETURN, IDNO, "a.txt"},     {"a.txt", "b.TXT", VK_RETURN, IDYES, "b.TXT"},
        {"readme", "readme.txt", VK_RETURN, 0, "readme.txt"}, {"notes.old", "memo.old", VK_RETURN, 0, "memo.old"},
        {"memo.old", "memo", VK_RETURN, IDYES, "memo"},   {"memo", "memo", VK_RETURN, 0, "memo"},
        {"memo", "other", VK_ESCAPE, 0, "memo"},
    };
    for (const Case& c : cases) {
        Context context(std::string(c.from) + " -> " + c.to);
        DialogCatcher dialogs;
        dialogs.Answer({c.answer});
        int row = FindRow(window, c.from);
        EditLabel(window, row, c.to, c.key);
        CHECK_EQ(dialogs.Texts(), c.answer ? Text(Message::ExtensionChange) : "");
        CHECK_EQ(RowText(window, row), c.after);
        CHECK(PathExists(folder / c.after));
    }
    // No label edit starts in the drives view or the vault view.
    MakeVaultEntry('D', "rename+x.txt");
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
    CHECK_EQ(target(folder.Path().c_str(), {0}), folder / "a.txt");
    CHECK_EQ(target(folder.Path().c_str(), {}), "D:");
    CHECK_EQ(target("", {3}), "E:");
    CHECK_EQ(target("", {}), "explorer");
    CHECK_EQ(target("hide", {}), "<none>");
    ShowLocation(window, folder.Path().c_str());
    SendCommand(window, 32780);  // Wine draws no sheet; the call must simply return
}

QV_TEST(NumberedTreeIsBuiltOnAWorkerAndTellsTheTruth)
{
    HWND window = StartMainWindow();
    WriteFileText("C:\\Safe", "a file");
    SendCommand(window, 32821);
    HWND owner = nullptr;
    CHECK_EQ(WorkerMessage(owner), "有 11111 个文件夹未能创建：" + SystemText(ERROR_ALREADY_EXISTS));
    CHECK_EQ(ReadFileText("C:\\Safe"), "a file");
    DeleteFileA("C:\\Safe");

    for (int run = 1; run <= 2; ++run) {  // the second run finds every folder there already
        Context context("run " + std::to_string(run));
        SendCommand(window, 32821);
        DWORD_PTR result = 0;
        CHECK(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result));
        owner = window;
        CHECK_EQ(WorkerMessage(owner), "创建成功");
        CHECK(owner == nullptr);
    }
    CHECK_EQ(CountFolders("C:\\Safe"), 11111);
    CHECK(PathExists("C:\\Safe\\3\\1\\4\\1") && CountFolders("C:\\Safe\\3\\1\\4\\1") == 1);
}
