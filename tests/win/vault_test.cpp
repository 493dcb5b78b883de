// The password gate, and transfers into the vault and back: nothing may be lost.
#include "tests/win/harness.h"

#include "base/app_state.h"
#include "base/file_search.h"
#include "browse/browse.h"
#include "guide_commands.h"  // made from the guide by tests/win/CMakeLists.txt
#include "res/resource.h"

#include <algorithm>
#include <map>

using namespace qvtest;

namespace {

const char kKey[] = "Software\\Quillvane";
const int kEscape = 0, kCloseBox = -1;

// A dialog handler: types into the password field with key messages, then a button, Esc or the close box.
std::function<void(HWND)> Type(const std::string& text, int button)
{
    return [=](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_PASSWORD_EDIT, "");
        for (char c : text)
            PostMessageA(GetDlgItem(dialog, IDC_PASSWORD_EDIT), WM_CHAR, static_cast<unsigned char>(c), 0);
        UINT message = button == kEscape ? WM_KEYDOWN : button == kCloseBox ? WM_CLOSE : WM_COMMAND;
        HWND to = button == kEscape ? GetDlgItem(dialog, IDC_PASSWORD_EDIT) : dialog;
        PostMessageA(to, message, button == kEscape ? VK_ESCAPE : std::max(button, 0), 0);
    };
}

// Clicks the vault node, first forgetting the remembered password as a restart would when asked; what it showed.
Seen ClickVaultNode(HWND window, bool restart, std::initializer_list<std::function<void(HWND)>> handlers)
{
    if (restart)
        g_app.rememberedPassword[0] = '\0';
    Show(window, "C:");
    DialogCatcher dialogs;
    dialogs.handlers = handlers;
    ClickTreeNode(window, TreeChild(window, nullptr, "Quillvane"));
    return dialogs.seen;
}
// Checks what a click on the vault node showed, then where it ended.
#define CHECK_GATE(clicked, folder, ...) (CHECK_SEEN(clicked, __VA_ARGS__), CHECK_EQ(CurrentFolder(), std::string(folder)))

std::string StoredPassword()
{
    char text[128] = {};
    DWORD size = sizeof text;
    return RegGetValueA(HKEY_CURRENT_USER, kKey, "PassWord", RRF_RT_REG_SZ, nullptr, text, &size), text;
}

// Shows a location, selects every row in name order and sends a command.
void Transfer(HWND window, WORD command, const char* location)
{
    Show(window, location);
    for (WORD id : {WORD{IDM_SORT_NAME}, WORD{IDM_SELECT_ALL}, command})
        SendCommand(window, id);
}

// Every file and folder under a folder: relative path -> attributes and contents.
void Snapshot(const std::string& folder, const std::string& prefix, std::map<std::string, std::string>& entries)
{
    for (FileSearch search = FileSearch::InFolder(folder.c_str()); search.Next();) {
        std::string name = search.Entry().cFileName, path = folder + "\\" + name;
        if (search.IsDotOrDotDot())
            continue;
        entries[prefix + name] = std::to_string(search.Entry().dwFileAttributes & 0x13) + ReadFileText(path);
        if (search.Entry().dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            Snapshot(path, prefix + name + "\\", entries);
    }
}

// Runs commands in cmd.exe, each as if typed at its prompt; their output.
std::string RunInCmd(std::initializer_list<const char*> commands)
{
    std::string output;
    for (const char* command : commands) {
        FILE* pipe = _popen(command, "r");
        for (char chunk[256]; size_t read = fread(chunk, 1, sizeof chunk, pipe);)
            output.append(chunk, read);
        _pclose(pipe);
    }
    return output;
}

}  // namespace

QV_TEST(PasswordGateAsksSetsAndRemembers)
{
    HWND window = StartMainWindow();
    MakeVaultEntry('D', "docs+a.txt");
    const SeenDialog set = {"设置Quillvane密码", "<设置Quillvane密码>", ""},  // the dialogs
                     enter = {"输入Quillvane密码", "<输入Quillvane密码>", ""},
                     firstUse = {"提示", "首次使用Quillvane需要设置Quillvane密码！", "warning"},
                     wrong = {"提示", "密码不正确", "error"}, empty = {"提示", "密码不能为空", "error"};
    auto told = [](const std::string& password) {
        return SeenDialog{"提示", "您设置的Quillvane密码是：" + password + "，请务必牢记！", "warning"};
    };
    // First use: the set-password dialog refuses an empty password and ignores Esc.
    auto escapeThenSet = [](HWND d) { Type("", kEscape)(d), Type("Secret", IDC_PASSWORD_SET)(d); };
    CHECK_GATE(ClickVaultNode(window, false, {Type("", IDC_PASSWORD_SET), escapeThenSet}), "hide",
               {firstUse, set, empty, set, told("Secret")});
    CHECK_EQ(Rows(window), "D:\\docs\\a.txt");
    CHECK_EQ(StoredPassword(), "Secret");
    CHECK_GATE(ClickVaultNode(window, false, {}), "hide", {});  // remembered for the run
    // After a restart: case counts; Esc is the reset button, which wants the current password.
    CHECK_GATE(ClickVaultNode(window, true, {Type("secret", IDC_PASSWORD_ENTER), Type("Secret", IDC_PASSWORD_ENTER)}),
               "hide", {enter, wrong, enter});
    CHECK_GATE(ClickVaultNode(window, true, {Type("", kEscape), Type("", kCloseBox)}), "C:",
               {enter, {"提示", "原始密码不正确，不能重设密码", "error"}, enter});
    // A wrong password replaces the remembered one: the stored one changed and changed back, it asks again.
    CHECK_GATE(ClickVaultNode(window, false, {Type("Secret", IDC_PASSWORD_ENTER)}), "hide", {enter});
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "PassWord", REG_SZ, "Other", 5);
    CHECK_GATE(ClickVaultNode(window, false, {Type("wrong", IDC_PASSWORD_ENTER), Type("", kCloseBox)}), "C:",
               {enter, wrong, enter});
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "PassWord", REG_SZ, "Secret", 6);
    CHECK_GATE(ClickVaultNode(window, false, {Type("Secret", kEscape), Type("新密码", IDC_PASSWORD_SET)}), "hide",
               {enter, set, told("新密码")});
    CHECK_EQ(StoredPassword(), "新密码");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, "PassWord");  // deleted behind the program's back
    CHECK_GATE(ClickVaultNode(window, false, {Type("", kCloseBox)}), "C:", {firstUse, set});

    // A new password has 32 characters at most; any stored one of 99 bytes at most can be typed, none longer.
    const std::string longest = "密密密密密密密密密密密密密密密密密密密密密密密密密密密密密密密密";  // 32 characters
    LRESULT limit = 0;
    auto readLimit = [&](HWND d) {
        limit = SendDlgItemMessageA(d, IDC_PASSWORD_EDIT, EM_GETLIMITTEXT, 0, 0);
        Type(longest + "x", IDC_PASSWORD_SET)(d);
    };
    CHECK_GATE(ClickVaultNode(window, true, {readLimit, Type(longest, IDC_PASSWORD_SET)}), "hide",
               {firstUse, set, {"提示", "密码不能超过 32 个字符", "error"}, set, told(longest)});
    CHECK_GATE(ClickVaultNode(window, true, {Type(longest, IDC_PASSWORD_ENTER)}), "hide", {enter});
    CHECK_EQ(limit, 99);
    for (int length : {32, 33, 64, 99, 100}) {
        Context stored("a stored password of bytes", length);
        std::string older(static_cast<size_t>(length), 'q');
        RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "PassWord", REG_SZ, older.data(), static_cast<DWORD>(length));
        CHECK_GATE(ClickVaultNode(window, true, {length < 100 ? Type(older, IDC_PASSWORD_ENTER) : Type("", kCloseBox)}),
                   length < 100 ? "hide" : "C:", length < 100 ? Seen{enter} : Seen{firstUse, set});
    }

}

QV_TEST(TransfersMoveItemsInAndBackAndLoseNothing)
{
    HWND window = StartMainWindow();
    Context section("in and out");
    TestFolder docs("D:\\docs", {"a.txt"});
    WriteFileText("E:\\root.txt", "root");
    Transfer(window, IDM_VAULT_MOVE_IN, *docs);
    Transfer(window, IDM_VAULT_MOVE_IN, "E:");
    CHECK_EQ(RowCount(window), 0);
    CHECK_EQ(ReadFileText("D:\\ \\Quillnest\\docs+a.txt"), "a.txt");
    CHECK_EQ(GetFileAttributesA("D:\\ \\") & 0x16, 0x16u);  // a folder, hidden and system
    RemoveTree(docs.path);                                  // the home folder is made again on the way out
    Transfer(window, IDM_VAULT_MOVE_OUT, "hide");
    CHECK_EQ(RowCount(window), 0);
    CHECK_EQ(ReadFileText(docs / "a.txt"), "a.txt");
    CHECK_EQ(ReadFileText("E:\\root.txt"), "root");
    section.Set("a '+' in a path ends the move-in: in a name there, the rows before it moved; in a folder at once");
    for (const char* name : {"1.txt", "2+.txt", "3.txt"})
        WriteFileText(docs / name, "");
    TestFolder plusFolder("D:\\a+b", {"1.txt", "2.txt"});
    DialogCatcher dialogs;
    Transfer(window, IDM_VAULT_MOVE_IN, *docs);
    CHECK_EQ(Rows(window, 0, true), "2+.txt|3.txt|a.txt");
    Transfer(window, IDM_VAULT_MOVE_IN, *plusFolder);
    CHECK_EQ(Rows(window, 0, true), "1.txt|2.txt");
    CHECK(PathExists(plusFolder / "1.txt"));
    CHECK(PathExists(plusFolder / "2.txt"));
    CHECK_SEEN(dialogs.seen, Seen(2, {"提示", "文件名或文件所在路径不能带包含 ‘+’", "warning"}));
    dialogs.seen.clear();
    section.Set("moving out and opening opens the file at its home path");
    RegisterOpenRecorder();
    WriteFileText("E:\\open.qvt", "x"), WriteFileText("E:\\shut.qvt", "x");
    Transfer(window, IDM_VAULT_MOVE_IN, "E:");
    Show(window, "hide");
    CHECK_EQ(Rows(window, 0, true), "D:\\docs\\1.txt|E:\\open.qvt|E:\\root.txt|E:\\shut.qvt");
    SelectRows(window, {FindRow(window, "E:\\shut.qvt")});
    SendCommand(window, IDM_VAULT_MOVE_OUT);  // out, not opened
    CHECK(!WaitFor([] { return PathExists("C:\\qv\\opened.txt"); }, 2000));
    CHECK(PathExists("E:\\shut.qvt"));
    SelectRows(window, {FindRow(window, "E:\\open.qvt")});
    SendCommand(window, IDM_VAULT_MOVE_OUT_OPEN);
    // It runs in the file's own folder, a drive's root with its backslash.
    CHECK(WaitFor([] { return ReadFileText("C:\\qv\\opened.txt").find("E:\\open.qvt") != std::string::npos; }, 15000));
    CHECK_EQ(ReadFileText("C:\\qv\\opened.txt").substr(0, 4), "E:\\|");
    RemoveTree("D:\\ \\"), RemoveTree("E:\\ \\"), RemoveTree("E:\\open.qvt");

    section.Set("moves that fail lose and overwrite nothing, and are reported together");
    const std::string exists = "：" + SystemText(ERROR_ALREADY_EXISTS) + "\n";
    auto notMoved = [](int count, const std::string& lines) {
        return SeenDialog{"提示", "有 " + std::to_string(count) + " 个项目未能移动，原样保留：\n" + lines, "warning"};
    };
    const std::string longName(245, 'L');  // its vault path would take 262 bytes
    TestFolder folder("D:\\f", {"ok.txt", "same.txt", longName});
    MakeVaultEntry('D', "f+same.txt", "old");
    Transfer(window, IDM_VAULT_MOVE_IN, *folder);
    CHECK_EQ(Rows(window, 0, true), longName + "|same.txt");
    CHECK_EQ(ReadFileText("D:\\ \\Quillnest\\f+same.txt"), "old");
    CHECK_EQ(ReadFileText(folder / "same.txt"), "same.txt");
    // On the way out: a file already at the home path, and a file where a home folder should be.
    MakeVaultEntry('D', "f+taken.txt", "vault"), MakeVaultEntry('D', "f+blocked+x.txt", "inside");
    WriteFileText(folder / "taken.txt", "home"), WriteFileText(folder / "blocked", "file");
    Transfer(window, IDM_VAULT_MOVE_OUT, "hide");
    CHECK_EQ(Rows(window, 0, true), "D:\\f\\blocked\\x.txt|D:\\f\\same.txt|D:\\f\\taken.txt");
    CHECK_EQ(ReadFileText(folder / "taken.txt"), "home");
    CHECK_EQ(ReadFileText("D:\\ \\Quillnest\\f+taken.txt"), "vault");
    CHECK_EQ(ReadFileText(folder / "ok.txt"), "ok.txt");
    CHECK_EQ(ReadFileText(folder / "blocked"), "file");
    RemoveTree("D:\\ \\");
    // When the vault can't be made, each item is reported with the reason of that failure.
    WriteFileText("D:\\ ", "in the way");
    TestFolder two("D:\\two", {"1.txt", "2.txt"});
    Transfer(window, IDM_VAULT_MOVE_IN, *two);
    CHECK_EQ(Rows(window), "1.txt|2.txt");
    CHECK_EQ(GetFileAttributesW(L"\\\\?\\D:\\ ") & 6, 0u);
    RemoveTree("D:\\ ");
    CHECK_SEEN(dialogs.seen, {notMoved(2, longName + "：路径过长\nsame.txt" + exists),
                              notMoved(3, folder / "blocked\\x.txt" + exists + folder / "same.txt" + exists +
                                              folder / "taken.txt" + exists),
                              notMoved(2, "1.txt" + exists + "2.txt" + exists)});

    section.Set("a move is a rename or nothing: to or from another file system it fails, and nothing is copied");
    if (!PathExists("D:\\elsewhere\\")) {
        printf("Moves across file systems untried: this machine has no second file system.\n");
    } else {
        dialogs.seen.clear();
        WriteFileText("D:\\elsewhere\\far.txt", "far");
        MakeVaultEntry('D', "elsewhere+back.txt", "back");
        Transfer(window, IDM_VAULT_MOVE_IN, "D:\\elsewhere");
        Transfer(window, IDM_VAULT_MOVE_OUT, "hide");
        const std::string reason = "：" + SystemText(ERROR_NOT_SAME_DEVICE) + "\n";
        CHECK_SEEN(dialogs.seen, {notMoved(1, "far.txt" + reason), notMoved(1, "D:\\elsewhere\\back.txt" + reason)});
        CHECK_EQ(ReadFileText("D:\\elsewhere\\far.txt"), "far");
        CHECK_EQ(ReadFileText("D:\\ \\Quillnest\\elsewhere+back.txt"), "back");
        CHECK(!PathExists("D:\\ \\Quillnest\\elsewhere+far.txt"));
        CHECK(!PathExists("D:\\elsewhere\\back.txt"));
        RemoveTree("D:\\elsewhere\\far.txt");
    }
    RemoveTree("D:\\ \\");

    section.Set("awkward names, nested, hidden and read-only items come back exactly, and the vault is left empty");
    TestFolder tree("D:\\rt", {"文件 1.txt", "誠\\", "誠\\a b.tar.gz", "誠\\x.y\\", "誠\\x.y\\Read Me", "e\\"});
    SetFileAttributesA((tree / "文件 1.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA((tree / "誠\\x.y").c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);
    std::map<std::string, std::string> before, after, left;
    Snapshot(tree.path, "", before);
    Transfer(window, IDM_VAULT_MOVE_IN, *tree);
    CHECK_EQ(RowCount(window), 0);
    CHECK(PathExists("D:\\ \\Quillnest\\rt+誠\\x.y\\Read Me"));
    Transfer(window, IDM_VAULT_MOVE_OUT, "hide");
    Snapshot(tree.path, "", after), Snapshot("D:\\ \\Quillnest", "", left);
    CHECK_EQ(RowCount(window), 0);
    CHECK_EQ(before.size(), 6u);
    CHECK(before == after);
    CHECK_EQ(left.size(), 0u);
}

// The guide's commands, as it prints them: an entry the program moved in goes home, and what it leaves is removed
// once the vault is empty, not before.
QV_TEST(GuideCommandsBringAnEntryHomeAndRemoveOnlyEmptyFolders)
{
    HWND window = StartMainWindow();
    TestFolder docs("D:\\文档", {"工资单.xls"});
    Transfer(window, IDM_VAULT_MOVE_IN, *docs);
    RemoveTree(docs.path);
    RunInCmd({QV_GUIDE_CLEANUP});
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "PassWord", REG_SZ, "Secret", 6);
    CHECK(RunInCmd({QV_GUIDE_RECIPE}).find(" 文档+工资单.xls") != std::string::npos);
    CHECK_EQ(ReadFileText(docs / "工资单.xls"), "工资单.xls");
    RunInCmd({QV_GUIDE_CLEANUP});
    CHECK(!PathExists("D:\\ \\"));
    CHECK_EQ(StoredPassword(), "");
}
