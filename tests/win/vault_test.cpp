// The password gate, and transfers into the vault and back: nothing may be lost.
#include "tests/win/harness.h"

#include "base/app_state.h"
#include "base/messages.h"
#include "browse/browse.h"

#include <algorithm>
#include <map>
#include <random>

using namespace qvtest;

namespace {

const char kKey[] = "Software\\Quillvane";

std::string Text(Message message) { return RuleOf(message).text; }

// A dialog handler: types a text into the password field, then presses a
// button (or the Esc key, or the close box).
enum class Press { Button, Escape, CloseBox };
std::function<void(HWND)> Type(const std::string& text, Press press = Press::Button, int button = 0)
{
    return [=](HWND dialog) {
        HWND field = GetDlgItem(dialog, 1012);
        SetWindowTextA(field, text.c_str());
        if (press == Press::Escape)
            PostMessageA(field, WM_KEYDOWN, VK_ESCAPE, 0);
        else if (press == Press::CloseBox)
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        else
            PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(button), 0);
    };
}

// Clicks the vault node with these dialog handlers; returns what was shown.
std::string ClickVaultNode(HWND window, std::initializer_list<std::function<void(HWND)>> handlers)
{
    DialogCatcher dialogs;
    for (const auto& handler : handlers)
        dialogs.Handle(handler);
    ClickTreeNode(window, TreeChild(window, nullptr, "Quillvane"));
    return dialogs.Texts();
}

std::string Formatted(Message message, const char* argument)
{
    char text[512];
    snprintf(text, sizeof text, RuleOf(message).text, argument);
    return text;
}

void Restart(HWND window)
{
    g_app.rememberedPassword[0] = '\0';
    ShowLocation(window, "C:");
}

void Transfer(HWND window, WORD command, const std::string& location)
{
    ShowLocation(window, location.c_str());
    SendCommand(window, 32796);  // sorted by name, so the selection's order is known
    SendMessageA(window, WM_COMMAND, 32789, 0);
    SendCommand(window, command);
}

// Every file and folder under a folder: relative path, attributes, contents.
void Snapshot(const std::string& folder, const std::string& prefix, std::map<std::string, std::string>& entries)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        DWORD attributes = found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
                                                     FILE_ATTRIBUTE_READONLY);
        bool isFolder = attributes & FILE_ATTRIBUTE_DIRECTORY;
        entries[prefix + name] = std::to_string(attributes) + ":" + (isFolder ? "" : ReadFileText(folder + "\\" + name));
        if (isFolder)
            Snapshot(folder + "\\" + name, prefix + name + "\\", entries);
    }
    FindClose(search);
}

// A random tree of files and folders with awkward names and attributes.
void MakeRandomTree(std::mt19937& random, const std::string& folder, int depth, int& serial)
{
    const char* parts[] = {"文件", "誠", "a b", "x.y", "表", "Read Me", "数据.old", "z"};
    const char* extensions[] = {".txt", "", ".doc", ".誠", ".tar.gz"};
    int count = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < count; ++i) {
        std::string name = std::string(parts[random() % 8]) + std::to_string(++serial) + extensions[random() % 5];
        std::string path = folder + "\\" + name;
        if (depth < 3 && random() % 3 == 0) {
            MakeFolder(path);
            MakeRandomTree(random, path, depth + 1, serial);
        } else {
            WriteFileText(path, std::string(random() % 3000, static_cast<char>('a' + random() % 26)));
        }
        static const DWORD attributes[] = {0, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_READONLY};
        if (DWORD extra = attributes[random() % 3])
            SetFileAttributesA(path.c_str(), GetFileAttributesA(path.c_str()) | extra);
    }
}

}  // namespace

QV_TEST(PasswordGateAsksSetsAndRemembers)
{
    HWND window = StartMainWindow();
    MakeVaultEntry('D', "docs+a.txt");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, "PassWord");
    const std::string setDialog = "<dialog>", openedWithSecret = Formatted(Message::PasswordSet, "Secret");

    // First use: the warning, then the set-password dialog, which refuses an
    // empty password and ignores Esc.
    auto escapeThenSet = [](HWND dialog) {
        PostMessageA(GetDlgItem(dialog, 1012), WM_KEYDOWN, VK_ESCAPE, 0);
        Type("Secret", Press::Button, 1009)(dialog);
    };
    CHECK_EQ(ClickVaultNode(window, {Type("", Press::Button, 1009), escapeThenSet}),
             Join({Text(Message::FirstUse), setDialog, Text(Message::EmptyPassword), setDialog, openedWithSecret}));
    CHECK_EQ(std::string(CurrentFolder()) + Rows(window), "hideD:\\docs\\a.txt");
    std::string stored;
    CHECK(ReadRegistryText(HKEY_CURRENT_USER, kKey, "PassWord", stored) && stored == "Secret");
    ShowLocation(window, "C:");
    CHECK_EQ(ClickVaultNode(window, {}), "");  // remembered for the run
    CHECK_EQ(std::string(CurrentFolder()), "hide");

    // After a restart: letter case counts; the right password opens the vault.
    Restart(window);
    CHECK_EQ(ClickVaultNode(window, {Type("secret", Press::Button, 1011), Type("Secret", Press::Button, 1011)}),
             Join({setDialog, Text(Message::WrongPassword), setDialog}));
    CHECK_EQ(std::string(CurrentFolder()), "hide");

    // Esc is the reset button, which wants the current password; the close
    // box leaves the list as it was.
    Restart(window);
    CHECK_EQ(ClickVaultNode(window, {Type("", Press::Escape), Type("", Press::CloseBox)}),
             Join({setDialog, Text(Message::WrongOldPassword), setDialog}));
    CHECK_EQ(std::string(CurrentFolder()), "C:");
    CHECK_EQ(ClickVaultNode(window, {Type("Secret", Press::Escape), Type("新密码", Press::Button, 1009)}),
             Join({setDialog, setDialog, Formatted(Message::PasswordSet, "新密码")}));
    CHECK(ReadRegistryText(HKEY_CURRENT_USER, kKey, "PassWord", stored) && stored == "新密码");

    // A value deleted behind the program's back brings back the first use.
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, "PassWord");
    ShowLocation(window, "C:");
    CHECK_EQ(ClickVaultNode(window, {Type("", Press::CloseBox)}), Join({Text(Message::FirstUse), setDialog}));
    CHECK_EQ(std::string(CurrentFolder()), "C:");
    RemoveTree("D:\\ \\");
}

QV_TEST(EveryPasswordThatCanBeSetCanBeEntered)
{
    HWND window = StartMainWindow();
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, "PassWord");
    std::string longest;
    for (int i = 0; i < 32; ++i)
        longest += "密";
    int limit = 0;
    auto readLimit = [&](HWND dialog) {
        limit = static_cast<int>(SendDlgItemMessageA(dialog, 1012, EM_GETLIMITTEXT, 0, 0));
        Type(longest + "x", Press::Button, 1009)(dialog);
    };
    CHECK_EQ(ClickVaultNode(window, {readLimit, Type(longest, Press::Button, 1009)}),
             Join({Text(Message::FirstUse), "<dialog>", "密码不能超过 32 个字符", "<dialog>",
                   Formatted(Message::PasswordSet, longest.c_str())}));
    CHECK_EQ(limit, 32);
    Restart(window);
    CHECK_EQ(ClickVaultNode(window, {Type(longest, Press::Button, 1011)}), "<dialog>");
    CHECK_EQ(std::string(CurrentFolder()), "hide");

    // A password of 32 bytes stored by earlier versions, without its NUL.
    std::string older(32, 'q');
    RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "PassWord", REG_SZ, older.data(), 32);
    Restart(window);
    CHECK_EQ(ClickVaultNode(window, {Type(older, Press::Button, 1011)}), "<dialog>");
    CHECK_EQ(std::string(CurrentFolder()), "hide");
}

QV_TEST(TransfersMoveItemsInAndBackToTheirHomePaths)
{
    HWND window = StartMainWindow();
    TestFolder docs("D:\\docs");
    WriteFileText(docs / "a.txt", "a");
    WriteFileText(docs / "中文.txt", "中");
    MakeFolder(docs / "誠");
    WriteFileText(docs / "誠\\in+side.txt", "inside");
    WriteFileText("E:\\root.txt", "root");

    Transfer(window, 32815, docs.Path());
    Transfer(window, 32815, "E:");
    CHECK_EQ(FindRow(window, "root.txt"), -1);
    CHECK_EQ(ReadFileText("D:\\ \\Quillnest\\docs+誠\\in+side.txt") + ReadFileText("E:\\ \\Quillnest\\root.txt"),
             "insideroot");
    CHECK_EQ(GetFileAttributesA("D:\\ \\") & 0x16, 0x16u);  // a folder, hidden and system
    ShowLocation(window, docs.Path().c_str());
    CHECK_EQ(RowCount(window), 0);

    ShowLocation(window, "hide");
    CHECK_EQ(Rows(window, 0, true), "D:\\docs\\a.txt|D:\\docs\\誠|D:\\docs\\中文.txt|E:\\root.txt");
    RemoveTree(docs.Path());  // the home folder is recreated on the way out
    Transfer(window, 32816, "hide");
    CHECK_EQ(RowCount(window), 0);
    CHECK_EQ(ReadFileText(docs / "a.txt") + ReadFileText(docs / "中文.txt") + ReadFileText(docs / "誠\\in+side.txt") +
                 ReadFileText("E:\\root.txt"),
             "a中insideroot");
    CHECK(PathExists("D:\\ \\Quillnest") && PathExists("E:\\ \\Quillnest"));  // vaults stay, empty

    // A '+' in a path ends the move in at that row; the rows before it moved.
    for (const char* name : {"1.txt", "2+.txt", "3.txt"})
        WriteFileText(docs / name, name);
    {
        DialogCatcher dialogs;
        Transfer(window, 32815, docs.Path());
        CHECK_EQ(dialogs.Texts(), Text(Message::PlusInPath));
    }
    CHECK_EQ(Rows(window, 0, true), "2+.txt|3.txt|a.txt|誠|中文.txt");

    // Moving out and opening opens the file at its home path.
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        WriteRegistryText(root, "Software\\Classes\\.qvt", "", "qvtest.document");
        WriteRegistryText(root, "Software\\Classes\\qvtest.document\\shell\\open\\command", "",
                          "C:\\qv\\qv_open_recorder.exe \"%1\"");
    }
    DeleteFileA("C:\\qv\\opened.txt");
    WriteFileText("E:\\open.qvt", "x");
    Transfer(window, 32815, "E:");
    ShowLocation(window, "hide");
    SelectRows(window, {FindRow(window, "E:\\open.qvt")});
    SendCommand(window, 32823);
    CHECK(WaitFor([] { return ReadFileText("C:\\qv\\opened.txt").find("E:\\open.qvt") != std::string::npos; }, 15000));
    CHECK_EQ(Rows(window, 0, true), "D:\\docs\\1.txt|E:\\root.txt");
    RemoveTree("D:\\ \\");
    RemoveTree("E:\\ \\");
    DeleteFileA("E:\\root.txt");
    DeleteFileA("E:\\open.qvt");
}

QV_TEST(FailedMovesLoseAndOverwriteNothing)
{
    HWND window = StartMainWindow();
    TestFolder folder("D:\\f");
    for (std::string name : {"ok.txt", "same.txt", "busy.txt", "LLL"})
        WriteFileText(folder / (name == "LLL" ? std::string(245, 'L') : name), "new " + name);
    MakeVaultEntry('D', "f+same.txt", "old");
    CloseHandle(CreateFileW(L"D:\\f\\thai\x0e01.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    HANDLE busy = CreateFileA((folder / "busy.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    {
        DialogCatcher dialogs;
        Transfer(window, 32815, folder.Path());
        CHECK_EQ(dialogs.Seen().size(), 1u);
        CHECK(dialogs.Texts().find("有 4 个项目未能移动") == 0);
        CHECK(dialogs.Texts().find("thai?.txt：名称含有无法表示的字符") != std::string::npos);
        CHECK(dialogs.Texts().find(std::string(245, 'L') + "：路径过长") != std::string::npos);
    }
    CloseHandle(busy);
    CHECK_EQ(ReadFileText("D:\\ \\Quillnest\\f+same.txt") + "|" + ReadFileText(folder / "same.txt"), "old|new same.txt");
    CHECK_EQ(ReadFileText(folder / "busy.txt"), "new busy.txt");
    CHECK_EQ(ReadFileText(folder / std::string(245, 'L')), "new LLL");
    CHECK_EQ(Rows(window, 0, true), std::string(245, 'L') + "|busy.txt|same.txt|thai?.txt");
    CHECK(PathExists("D:\\ \\Quillnest\\f+ok.txt"));

    // On the way out: a file already at the home path, and a file where a
    // home folder should be.
    MakeVaultEntry('D', "f+taken.txt", "vault");
    WriteFileText(folder / "taken.txt", "home");
    MakeVaultEntry('D', "f+blocked+x.txt", "inside");
    WriteFileText(folder / "blocked", "a file");
    {
        DialogCatcher dialogs;
        Transfer(window, 32816, "hide");
        CHECK(dialogs.Texts().find("有 3 个项目未能移动") == 0);
    }
    CHECK_EQ(Rows(window, 0, true), "D:\\f\\blocked\\x.txt|D:\\f\\same.txt|D:\\f\\taken.txt");
    CHECK_EQ(ReadFileText(folder / "taken.txt") + ReadFileText("D:\\ \\Quillnest\\f+taken.txt"), "homevault");
    CHECK_EQ(ReadFileText(folder / "ok.txt") + ReadFileText(folder / "blocked"), "new ok.txta file");
    RemoveTree("D:\\ \\");
}

QV_TEST(RandomTreesComeBackExactly)
{
    HWND window = StartMainWindow();
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        Context context("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        TestFolder folder("D:\\rt " + std::to_string(seed));
        int serial = 0;
        MakeRandomTree(random, folder.Path(), 0, serial);
        std::map<std::string, std::string> before, after, vault;
        Snapshot(folder.Path(), "", before);

        Transfer(window, 32815, folder.Path());
        CHECK_EQ(RowCount(window), 0);
        Snapshot("D:\\ \\Quillnest", "", vault);
        CHECK(!vault.empty());
        Transfer(window, 32816, "hide");
        CHECK_EQ(RowCount(window), 0);
        Snapshot(folder.Path(), "", after);
        CHECK(before == after);
        vault.clear();
        Snapshot("D:\\ \\Quillnest", "", vault);
        CHECK(vault.empty());
    }
    RemoveTree("D:\\ \\");
}
