// The password gate, and transfers into the vault and back: nothing may be lost.
#include "tests/win/harness.h"

#include "base/app_state.h"
#include "base/file_search.h"
#include "browse/browse.h"
#include "guide_commands.h"  // made from the guide by tests/win/CMakeLists.txt

#include <algorithm>
#include <map>

using namespace qvtest;

namespace {

const char kKey[] = "Software\\Quillvane";

// A dialog handler: types into the password field with key messages, then a button, Esc (0) or the close box (-1).
std::function<void(HWND)> Type(const std::string& text, int button)
{
    return [=](HWND dialog) {
        SetDlgItemTextA(dialog, 1012, "");
        for (char c : text)
            PostMessageA(GetDlgItem(dialog, 1012), WM_CHAR, static_cast<unsigned char>(c), 0);
        UINT message = button == 0 ? WM_KEYDOWN : button < 0 ? WM_CLOSE : WM_COMMAND;
        PostMessageA(button ? dialog : GetDlgItem(dialog, 1012), message, button ? std::max(button, 0) : VK_ESCAPE, 0);
    };
}

// Clicks the vault node, first forgetting the remembered password as a restart would when asked.
std::string ClickVaultNode(HWND window, bool restart, std::initializer_list<std::function<void(HWND)>> handlers)
{
    if (restart)
        g_app.rememberedPassword[0] = '\0';
    Show(window, "C:");
    DialogCatcher dialogs;
    dialogs.handlers = handlers;
    ClickTreeNode(window, TreeChild(window, nullptr, "Quillvane"));
    return dialogs.Texts() + "=>" + CurrentFolder();
}

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
    for (WORD id : {WORD{32796}, WORD{32789}, command})
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
    const std::string set = "<设置Quillvane密码>", enter = "<输入Quillvane密码>",
                      firstUse = "首次使用Quillvane需要设置Quillvane密码！", wrong = "密码不正确";
    auto told = [](const std::string& password) { return "您设置的Quillvane密码是：" + password + "，请务必牢记！"; };
    // First use: the set-password dialog refuses an empty password and ignores Esc.
    auto escapeThenSet = [](HWND d) {
        PostMessageA(GetDlgItem(d, 1012), WM_KEYDOWN, VK_ESCAPE, 0), Type("Secret", 1009)(d);
    };
    CHECK_EQ(ClickVaultNode(window, false, {Type("", 1009), escapeThenSet}),
             Join({firstUse, set, "密码不能为空", set, told("Secret")}) + "=>hide");
    CHECK_EQ(Rows(window) + "|" + StoredPassword(), "D:\\docs\\a.txt|Secret");
    CHECK_EQ(ClickVaultNode(window, false, {}), "=>hide");  // remembered for the run
    // After a restart: case counts; Esc is the reset button, which wants the current password.
    CHECK_EQ(ClickVaultNode(window, true, {Type("secret", 1011), Type("Secret", 1011)}),
             Join({enter, wrong, enter}) + "=>hide");
    CHECK_EQ(ClickVaultNode(window, true, {Type("", 0), Type("", -1)}),
             Join({enter, "原始密码不正确，不能重设密码", enter}) + "=>C:");
    // A wrong password replaces the remembered one: the stored one changed and changed back, it asks again.
    CHECK_EQ(ClickVaultNode(window, false, {Type("Secret", 1011)}), enter + "=>hide");
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "PassWord", REG_SZ, "Other", 5);
    CHECK_EQ(ClickVaultNode(window, false, {Type("wrong", 1011), Type("", -1)}), Join({enter, wrong, enter}) + "=>C:");
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "PassWord", REG_SZ, "Secret", 6);
    CHECK_EQ(ClickVaultNode(window, false, {Type("Secret", 0), Type("新密码", 1009)}),
             Join({enter, set, told("新密码")}) + "=>hide");
    CHECK_EQ(StoredPassword(), "新密码");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, "PassWord");  // deleted behind the program's back
    CHECK_EQ(ClickVaultNode(window, false, {Type("", -1)}), Join({firstUse, set}) + "=>C:");

    // A new password has 32 characters at most; any stored one of 99 bytes at most can be typed, none longer.
    const std::string longest = "密密密密密密密密密密密密密密密密密密密密密密密密密密密密密密密密";  // 32 characters
    LRESULT limit = 0;
    auto readLimit = [&](HWND d) {
        limit = SendDlgItemMessageA(d, 1012, EM_GETLIMITTEXT, 0, 0), Type(longest + "x", 1009)(d);
    };
    CHECK_EQ(ClickVaultNode(window, true, {readLimit, Type(longest, 1009)}),
             Join({firstUse, set, "密码不能超过 32 个字符", set, told(longest)}) + "=>hide");
    CHECK_EQ(ClickVaultNode(window, true, {Type(longest, 1011)}) + std::to_string(limit), enter + "=>hide99");
    for (int length : {32, 33, 64, 99, 100}) {
        std::string older(static_cast<size_t>(length), 'q');
        RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "PassWord", REG_SZ, older.data(), static_cast<DWORD>(length));
        CHECK_EQ(ClickVaultNode(window, true, {length < 100 ? Type(older, 1011) : Type("", -1)}),
                 length < 100 ? enter + "=>hide" : firstUse + "|" + set + "=>C:");
    }
}

QV_TEST(TransfersMoveItemsInAndBackAndLoseNothing)
{
    HWND window = StartMainWindow();
    TestFolder docs("D:\\docs", {"a.txt"});
    WriteFileText("E:\\root.txt", "root");
    Transfer(window, 32815, *docs);
    Transfer(window, 32815, "E:");
    CHECK_EQ(std::to_string(RowCount(window)) + ReadFileText("D:\\ \\Quillnest\\docs+a.txt"), "0a.txt");
    CHECK_EQ(GetFileAttributesA("D:\\ \\") & 0x16, 0x16u);  // a folder, hidden and system
    RemoveTree(docs.path);                                  // the home folder is made again on the way out
    Transfer(window, 32816, "hide");
    CHECK_EQ(std::to_string(RowCount(window)) + ReadFileText(docs / "a.txt") + ReadFileText("E:\\root.txt"),
             "0a.txtroot");
    // A '+' in a path ends the move in at that row; the rows before it moved.
    for (const char* name : {"1.txt", "2+.txt", "3.txt"})
        WriteFileText(docs / name, "");
    DialogCatcher failures;
    Transfer(window, 32815, *docs);
    CHECK_EQ(failures.Texts() + "|" + Rows(window, 0, true), "文件名或文件所在路径不能带包含 ‘+’|2+.txt|3.txt|a.txt");
    // Moving out and opening opens the file at its home path.
    RegisterOpenRecorder();
    WriteFileText("E:\\open.qvt", "x"), WriteFileText("E:\\shut.qvt", "x");
    Transfer(window, 32815, "E:");
    Show(window, "hide");
    CHECK_EQ(Rows(window, 0, true), "D:\\docs\\1.txt|E:\\open.qvt|E:\\root.txt|E:\\shut.qvt");
    SelectRows(window, {FindRow(window, "E:\\shut.qvt")});
    SendCommand(window, 32816);  // out, not opened
    CHECK(!WaitFor([] { return PathExists("C:\\qv\\opened.txt"); }, 2000) && PathExists("E:\\shut.qvt"));
    SelectRows(window, {FindRow(window, "E:\\open.qvt")});
    SendCommand(window, 32823);
    // It runs in the file's own folder, a drive's root with its backslash.
    CHECK(WaitFor([] { return ReadFileText("C:\\qv\\opened.txt").find("E:\\open.qvt") != std::string::npos; }, 15000));
    CHECK_EQ(ReadFileText("C:\\qv\\opened.txt").substr(0, 4), "E:\\|");
    RemoveTree("D:\\ \\"), RemoveTree("E:\\ \\"), RemoveTree("E:\\open.qvt");

    // Moves that fail lose and overwrite nothing, and are reported together.
    const std::string longName(245, 'L');  // its vault path would take 262 bytes
    TestFolder folder("D:\\f", {"ok.txt", "same.txt", longName});
    MakeVaultEntry('D', "f+same.txt", "old");
    Transfer(window, 32815, *folder);
    CHECK(failures.seen.back().text.find("有 2 个项目未能移动") == 0 && failures.seen.size() == 2 &&
          failures.Texts().find("\n" + longName + "：路径过长\n") != std::string::npos);
    CHECK_EQ(Rows(window, 0, true) + ReadFileText("D:\\ \\Quillnest\\f+same.txt") + ReadFileText(folder / "same.txt"),
             longName + "|same.txtoldsame.txt");
    // On the way out: a file already at the home path, and a file where a home folder should be.
    MakeVaultEntry('D', "f+taken.txt", "vault");
    MakeVaultEntry('D', "f+blocked+x.txt", "inside");
    WriteFileText(folder / "taken.txt", "home");
    WriteFileText(folder / "blocked", "file");
    Transfer(window, 32816, "hide");
    CHECK(failures.seen.back().text.find("有 3 个项目未能移动") == 0);
    CHECK_EQ(Rows(window, 0, true), "D:\\f\\blocked\\x.txt|D:\\f\\same.txt|D:\\f\\taken.txt");
    CHECK_EQ(ReadFileText(folder / "taken.txt") + ReadFileText("D:\\ \\Quillnest\\f+taken.txt") +
                 ReadFileText(folder / "ok.txt") + ReadFileText(folder / "blocked"),
             "homevaultok.txtfile");
    RemoveTree("D:\\ \\");

    // When the vault can't be made, each item is reported with the reason of that failure.
    WriteFileText("D:\\ ", "in the way");
    TestFolder two("D:\\two", {"1.txt", "2.txt"});
    Transfer(window, 32815, *two);
    const std::string exists = SystemText(ERROR_ALREADY_EXISTS);
    CHECK_EQ(failures.seen.back().text + Rows(window) + std::to_string(GetFileAttributesW(L"\\\\?\\D:\\ ") & 6),
             "有 2 个项目未能移动，原样保留：\n1.txt：" + exists + "\n2.txt：" + exists + "\n1.txt|2.txt0");
    RemoveTree("D:\\ ");
    // A move is a rename or nothing: to or from another file system it fails, and nothing is copied.
    if (!PathExists("D:\\elsewhere\\")) {
        printf("Moves across file systems untried: this machine has no second file system.\n");
    } else {
        WriteFileText("D:\\elsewhere\\far.txt", "far");
        MakeVaultEntry('D', "elsewhere+back.txt", "back");
        Transfer(window, 32815, "D:\\elsewhere");
        std::string in = failures.seen.back().text;
        Transfer(window, 32816, "hide");
        const std::string other = "有 1 个项目未能移动，原样保留：\n",
                          reason = "：" + SystemText(ERROR_NOT_SAME_DEVICE);
        CHECK_EQ(in + failures.seen.back().text,
                 other + "far.txt" + reason + "\n" + other + "D:\\elsewhere\\back.txt" + reason + "\n");
        CHECK(ReadFileText("D:\\elsewhere\\far.txt") + ReadFileText("D:\\ \\Quillnest\\elsewhere+back.txt") ==
                  "farback" &&
              !PathExists("D:\\ \\Quillnest\\elsewhere+far.txt") && !PathExists("D:\\elsewhere\\back.txt"));
        RemoveTree("D:\\elsewhere\\far.txt");
    }
    RemoveTree("D:\\ \\");

    // Awkward names, nested, hidden and read-only items come back exactly, and the vault is left empty.
    TestFolder tree("D:\\rt", {"文件 1.txt", "誠\\", "誠\\a b.tar.gz", "誠\\x.y\\", "誠\\x.y\\Read Me", "e\\"});
    SetFileAttributesA((tree / "文件 1.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA((tree / "誠\\x.y").c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);
    std::map<std::string, std::string> before, after, left;
    Snapshot(tree.path, "", before);
    Transfer(window, 32815, *tree);
    CHECK(RowCount(window) == 0 && PathExists("D:\\ \\Quillnest\\rt+誠\\x.y\\Read Me"));
    Transfer(window, 32816, "hide");
    Snapshot(tree.path, "", after), Snapshot("D:\\ \\Quillnest", "", left);
    CHECK(RowCount(window) == 0 && before == after && before.size() == 6 && left.empty());
}

// The guide's commands, as it prints them: an entry the program moved in goes home, and what it leaves is removed
// once the vault is empty, not before.
QV_TEST(GuideCommandsBringAnEntryHomeAndRemoveOnlyEmptyFolders)
{
    HWND window = StartMainWindow();
    TestFolder docs("D:\\文档", {"工资单.xls"});
    Transfer(window, 32815, *docs);
    RemoveTree(docs.path);
    RunInCmd({QV_GUIDE_CLEANUP});
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "PassWord", REG_SZ, "Secret", 6);
    CHECK(RunInCmd({QV_GUIDE_RECIPE}).find(" 文档+工资单.xls") != std::string::npos);
    CHECK_EQ(ReadFileText(docs / "工资单.xls"), "工资单.xls");
    RunInCmd({QV_GUIDE_CLEANUP});
    CHECK(!PathExists("D:\\ \\") && StoredPassword().empty());
}
