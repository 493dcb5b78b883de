#include "tests/win/harness.h"

#include "app/app.h"
#include "browse/browse.h"
#include "res/resource.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <map>

namespace qvtest {
namespace {

std::map<std::string, void (*)()>& Tests()
{
    static std::map<std::string, void (*)()> tests;
    return tests;
}
int g_failures, g_checks;
std::string g_contexts;  // of the contexts that live, each followed by ": "

template <typename L> LRESULT Send(HWND window, UINT message, WPARAM wParam, L lParam)
{
    return SendMessageA(window, message, wParam, (LPARAM)lParam);
}

HTREEITEM Node(HWND window, UINT relation, HTREEITEM node)
{
    return (HTREEITEM)Send(Tree(window), TVM_GETNEXTITEM, relation, node);
}

std::string NodeData(HWND window, HTREEITEM node, UINT mask)
{
    char text[MAX_PATH] = {};
    TVITEMA item = {mask | TVIF_HANDLE, node, 0, 0, text, sizeof text, 0, 0, 0, 0};
    Send(Tree(window), TVM_GETITEMA, 0, &item);
    return mask == TVIF_TEXT ? text : item.lParam ? reinterpret_cast<const char*>(item.lParam) : "";
}

DialogCatcher* g_catcher;  // while none lives, a box fails the test

void Answer(HWND dialog)
{
    HWND text = GetDlgItem(dialog, 0xFFFF);  // message boxes have it, the program's dialogs don't
    SeenDialog seen = ReadDialog(dialog);
    if (!g_catcher)
        FailTest("a box no check expects: " + seen.caption + ": " + seen.text);
    DialogCatcher& catcher = *g_catcher;
    catcher.seen.push_back(seen);
    if (!text && catcher.handled < catcher.handlers.size())
        return catcher.handlers[catcher.handled++](dialog);
    if (!text)
        return (void)PostMessageA(dialog, WM_CLOSE, 0, 0);
    int answer = catcher.answered < catcher.answers.size() ? catcher.answers[catcher.answered++]
                 : GetDlgItem(dialog, IDOK)                ? IDOK
                                                           : IDCANCEL;
    if (!GetDlgItem(dialog, answer))
        FailTest("no button " + std::to_string(answer) + " answers " + seen.caption + ": " + seen.text);
    PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(answer), 0);
}

LRESULT CALLBACK AnswerDialogs(int code, WPARAM wParam, LPARAM lParam)
{
    char className[32] = {};
    if (code == HCBT_ACTIVATE && GetClassNameA(reinterpret_cast<HWND>(wParam), className, sizeof className) &&
        lstrcmpA(className, "#32770") == 0)
        Answer(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::wstring Exact(const std::string& path)
{
    std::wstring wide(path.size() + 1, L'\0');
    int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    return L"\\\\?\\" + wide.substr(0, static_cast<size_t>(std::max(length - 1, 0)));
}

void ForEachEntry(const std::wstring& exactFolder, const std::function<void(const std::wstring&)>& visit)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((exactFolder + L"\\*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
        if (wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0)
            visit(exactFolder + L"\\" + found.cFileName);
    }
    FindClose(search);
}

void RemoveExactTree(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        ForEachEntry(path, RemoveExactTree), RemoveDirectoryW(path.c_str());
    else
        DeleteFileW(path.c_str());
}

const char kSlowDelayFile[] = "C:\\qv\\slow-delay";

// The link D:\elsewhere stays, emptied, and so does G:\locked, which can't be read; the 11,111 folders of C:\Safe
// take long to remove and stay.
void CleanUp()
{
    DeleteFileA(kSlowDelayFile);
    for (const wchar_t* drive : {L"\\\\?\\A:", L"\\\\?\\D:", L"\\\\?\\D:\\elsewhere", L"\\\\?\\E:", L"\\\\?\\G:"})
        ForEachEntry(drive, [](const std::wstring& path) {
            if (path != L"\\\\?\\D:\\elsewhere" && path != L"\\\\?\\G:\\locked")
                RemoveExactTree(path);
        });
    RemoveExactTree(L"\\\\?\\C:\\ ");
    DeleteFileA("C:\\qv\\opened.txt");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Quillvane", "PassWord");
    for (const char* key : {"Software\\Classes\\.qvt", "Software\\Classes\\qvtest.document"})
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, key);
}

// Ends the test when a step of its set-up failed, with the system's reason.
void Require(BOOL done, const std::string& step)
{
    if (!done)
        FailTest("could not " + step + ": " + SystemText(GetLastError()));
}

DWORD WINAPI Watchdog(void*)
{
    Sleep(30000);
    FailTest("the test did not end within 30 seconds");
}

}  // namespace

int Register(const char* name, void (*body)()) { return Tests()[name] = body, 0; }

void WatchDialogs() { SetWindowsHookExA(WH_CBT, AnswerDialogs, nullptr, GetCurrentThreadId()); }

Context::Context(const std::string& text) : depth(g_contexts.size()) { g_contexts += text + ": "; }

Context::~Context() { g_contexts.resize(depth); }

void Context::Set(const std::string& text) { g_contexts.resize(depth), g_contexts += text + ": "; }

void Check(bool ok, const char* file, int line, const std::string& what)
{
    ++g_checks;
    if (!ok)
        ++g_failures, printf("%s:%d: FAILED: %s%s\n", file, line, g_contexts.c_str(), what.c_str()), fflush(stdout);
}

void FailTest(const std::string& why)
{
    printf("FAILED: %s%s\n", g_contexts.c_str(), why.c_str());
    fflush(stdout);
    CleanUp();
    ExitProcess(1);
}

std::string Join(const Texts& texts)
{
    std::string joined;
    for (const std::string& text : texts)
        joined += (&text == &texts.front() ? "" : "|") + text;
    return joined;
}

std::string SystemText(DWORD code)
{
    char text[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0, text, sizeof text, nullptr);
    return std::string(text, strcspn(text, "\r\n"));
}

std::string WindowText(HWND window)
{
    std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

HWND StartMainWindow(bool waitForDrives)
{
    HWND window = StartApplication(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    if (!window)
        FailTest("the main window was not made");
    SetForegroundWindow(window);
    Pump(100);
    if (waitForDrives)
        WaitIdle();
    return window;
}

void WaitIdle()
{
    if (!WaitFor([] { return !IsWorkPending(); }, 20000))
        FailTest("the program's work did not end within 20 seconds");
    Pump(0);
}

void Show(HWND window, const char* location)
{
    ShowLocation(window, location);
    WaitIdle();
}

void Pump(int milliseconds)
{
    HWND window = FindWindowA("EXPLORER", nullptr);
    for (DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds); static_cast<int>(end - GetTickCount()) >= 0;) {
        for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);)
            message.message == WM_QUIT ? void() : DispatchThreadMessage(window, message);
        Sleep(5);
    }
}

void SendCommand(HWND window, WORD id)
{
    SendMessageA(window, WM_COMMAND, id, 0);
    WaitIdle();
}

LRESULT Notify(HWND window, int controlId, UINT code, NMHDR* header)
{
    NMHDR plain = {};
    NMHDR* sent = header ? header : &plain;
    *sent = {GetDlgItem(window, controlId), static_cast<UINT_PTR>(controlId), code};
    LRESULT result = Send(window, WM_NOTIFY, sent->idFrom, sent);
    WaitIdle();
    return result;
}

HWND List(HWND window) { return GetDlgItem(window, IDC_ITEM_LIST); }
HWND Tree(HWND window) { return GetDlgItem(window, IDC_FOLDER_TREE); }
HWND EditControl(HWND window) { return (HWND)Send(List(window), LVM_GETEDITCONTROL, 0, 0); }
int RowCount(HWND window) { return static_cast<int>(Send(List(window), LVM_GETITEMCOUNT, 0, 0)); }
bool Dimmed(HWND window, int row) { return Send(List(window), LVM_GETITEMSTATE, row, LVIS_CUT) & LVIS_CUT; }

std::string RowText(HWND window, int row, int column)
{
    // The list view may leave a cut text without its terminating NUL.
    char text[1024] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    Send(List(window), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), &item);
    text[sizeof text - 1] = '\0';
    return text;
}

std::string Rows(HWND window, int column, bool sorted)
{
    Texts texts;
    for (int row = 0; row < RowCount(window); ++row)
        texts.push_back(RowText(window, row, column));
    std::sort(texts.begin(), sorted ? texts.end() : texts.begin());
    return Join(texts);
}

void SelectRows(HWND window, const std::vector<int>& rows)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    Send(List(window), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), &item);
    Send(List(window), LVM_SETSELECTIONMARK, 0, -1);
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    for (int row : rows)
        Send(List(window), LVM_SETITEMSTATE, static_cast<WPARAM>(row), &item),
            Send(List(window), LVM_SETSELECTIONMARK, 0, row);
}

int FindRow(HWND window, const std::string& name)
{
    int row = RowCount(window) - 1;
    for (; row >= 0 && RowText(window, row) != name; --row) {
    }
    return row;
}

void DoubleClickRow(HWND window, const std::string& name)
{
    SelectRows(window, {FindRow(window, name)});
    Notify(window, IDC_ITEM_LIST, static_cast<UINT>(NM_DBLCLK));
}

HTREEITEM TreeRoot(HWND window) { return Node(window, TVGN_ROOT, nullptr); }

HTREEITEM TreeChild(HWND window, HTREEITEM parent, const std::string& text)
{
    HTREEITEM child = Node(window, TVGN_CHILD, parent ? parent : TreeRoot(window));
    while (child && NodeData(window, child, TVIF_TEXT) != text)
        child = Node(window, TVGN_NEXT, child);
    return child;
}

std::string TreeChildren(HWND window, HTREEITEM parent)
{
    Texts texts;
    for (HTREEITEM child = Node(window, TVGN_CHILD, parent); child; child = Node(window, TVGN_NEXT, child))
        texts.push_back(NodeData(window, child, TVIF_TEXT));
    std::sort(texts.begin(), texts.end());
    return Join(texts);
}

std::string TreeNodePath(HWND window, HTREEITEM node) { return NodeData(window, node, TVIF_PARAM); }

void ClickTreeNode(HWND window, HTREEITEM node)
{
    RECT label = {};
    memcpy(&label, &node, sizeof node);  // the message takes the node in the rectangle
    Send(Tree(window), TVM_GETITEMRECT, TRUE, &label);
    POINT point = {label.left + 4, (label.top + label.bottom) / 2};
    ClientToScreen(Tree(window), &point);
    SetCursorPos(point.x, point.y);
    Notify(window, IDC_FOLDER_TREE, static_cast<UINT>(NM_CLICK));
}

std::string StatusText(HWND window, int part)
{
    char text[1024] = {};  // the length the status bar gives counts characters, not bytes
    HWND bar = GetDlgItem(window, IDC_STATUS_BAR);
    if (LOWORD(Send(bar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(part), 0)) < sizeof text / 2)
        Send(bar, SB_GETTEXTA, static_cast<WPARAM>(part), text);
    return text;
}

void PressKeys(std::initializer_list<WORD> chord)
{
    std::vector<INPUT> inputs;
    for (WORD key : chord)
        inputs.push_back({INPUT_KEYBOARD, {}}), inputs.back().ki.wVk = key;
    for (auto key = chord.end(); key-- != chord.begin();)
        inputs.push_back({INPUT_KEYBOARD, {}}), inputs.back().ki.wVk = *key, inputs.back().ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Pump();
    WaitIdle();
}

DialogCatcher::DialogCatcher() { g_catcher = this; }

DialogCatcher::~DialogCatcher() { g_catcher = nullptr; }

SeenDialog ReadDialog(HWND dialog)
{
    // Wine's message box shows one of the system's shared icons in its static control 1088 (Windows' is 20).
    HWND text = GetDlgItem(dialog, 0xFFFF);
    auto icon = reinterpret_cast<HICON>(SendDlgItemMessageA(dialog, 1088, STM_GETICON, 0, 0));
    std::string name = icon ? "other" : "";
    for (auto known : {std::make_pair(IDI_HAND, "error"), {IDI_EXCLAMATION, "warning"}, {IDI_ASTERISK, "information"},
                       {IDI_QUESTION, "question"}})
        name = icon == LoadIconA(nullptr, known.first) ? known.second : name;
    return {WindowText(dialog), text ? WindowText(text) : "<" + WindowText(dialog) + ">", name};
}

void CheckSeen(const Seen& seen, const Seen& expected, const char* file, int line)
{
    CheckEqual(seen.size(), expected.size(), file, line, "the number of boxes and dialogs");
    for (size_t i = 0; i < std::min(seen.size(), expected.size()); ++i) {
        Context box("box", static_cast<long long>(i));
        CheckEqual(seen[i].caption, expected[i].caption, file, line, "caption");
        CheckEqual(seen[i].text, expected[i].text, file, line, "text");
        CheckEqual(seen[i].icon, expected[i].icon, file, line, "icon");
    }
}

void WriteFileText(const std::wstring& exactPath, const std::string& content)
{
    HANDLE file =
        CreateFileW(exactPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    Require(WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr), "write a file");
    CloseHandle(file);
}

void WriteFileText(const std::string& path, const std::string& content) { WriteFileText(Exact(path), content); }

std::string ReadFileText(const std::string& path)
{
    HANDLE file = CreateFileW(Exact(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    char data[4096];
    DWORD read = 0;
    ReadFile(file, data, sizeof data, &read, nullptr);
    CloseHandle(file);
    return std::string(data, read);
}

void MakeFolder(const std::string& path) { Require(CreateDirectoryW(Exact(path).c_str(), nullptr), "make " + path); }

void RemoveTree(const std::string& path)
{
    std::wstring exact = Exact(path.back() == '\\' ? path.substr(0, path.size() - 1) : path);
    if (exact.size() <= 6)
        FailTest("RemoveTree was asked to remove a drive's root");
    RemoveExactTree(exact);
}

bool PathExists(const std::string& path) { return GetFileAttributesW(Exact(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

TestFolder::TestFolder(std::string folder, std::initializer_list<std::string> entries) : path(std::move(folder))
{
    RemoveTree(path);
    MakeFolder(path);
    for (const std::string& entry : entries)
        entry.back() == '\\' ? MakeFolder(*this / entry) : WriteFileText(*this / entry, entry);
}

void MakeVaultEntry(char drive, const std::string& storedName, const std::string& content)
{
    std::wstring root = Exact(std::string(1, drive) + ":\\ ");
    CreateDirectoryW(root.c_str(), nullptr), CreateDirectoryW((root + L"\\Quillnest").c_str(), nullptr);
    SetFileAttributesW(root.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    WriteFileText(std::string(1, drive) + ":\\ \\Quillnest\\" + storedName, content);
}

bool WaitFor(const std::function<bool()>& condition, int milliseconds)
{
    DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    while (!condition() && static_cast<int>(end - GetTickCount()) > 0)
        Pump(20);
    return condition();
}

bool DeliverUntil(const std::function<bool()>& condition, int milliseconds)
{
    HWND window = FindWindowA("EXPLORER", nullptr);
    for (DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds); !condition();) {
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchThreadMessage(window, message);
        else if (static_cast<int>(end - GetTickCount()) > 0)
            Sleep(1);
        else
            return false;
    }
    return true;
}

std::string FastCreationPath(const std::string& path)
{
    // A path in Wine's "\\?\unix" name space is taken as it is, without the
    // read of the whole folder Wine does for each new name elsewhere (hours for
    // 100,000 files). QV_TEST_DRIVES names the host folder of the test drives D:
    // and E:, WINEPREFIX the prefix whose drive_c is C:.
    char host[MAX_PATH];
    bool c = path.size() >= 3 && path[0] == 'C';
    DWORD length = GetEnvironmentVariableA(c ? "WINEPREFIX" : "QV_TEST_DRIVES", host, sizeof host);
    if (length == 0 || length >= sizeof host || path.size() < 3 || path[1] != ':' || path[2] != '\\' ||
        (!c && (path[0] < 'D' || path[0] > 'E')))
        return path;
    std::string unixPath = std::string("\\\\?\\unix") + host + (c ? "\\drive_c" : "\\" + std::string(1, static_cast<char>(path[0] - 'A' + 'a'))) + path.substr(2);
    std::replace(unixPath.begin(), unixPath.end(), '/', '\\');
    return unixPath;
}

namespace {

// Runs a shell command on the Unix side in the folder a D: or E: path maps to; Wine starts a Unix program named by
// a \\?\unix path, and doesn't wait for its end.
void RunInHostFolder(const std::string& folder, const std::string& command)
{
    std::string host = FastCreationPath(folder);
    if (host.compare(0, 8, "\\\\?\\unix") != 0)
        FailTest("the Unix side is reached on C:, D: and E: only, not from " + folder);
    host = host.substr(8);
    std::replace(host.begin(), host.end(), '\\', '/');
    std::string line = "\\\\?\\unix\\bin\\sh -c \"cd '" + host + "' && " + command + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    Require(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process),
            "start " + line);
    CloseHandle(process.hProcess), CloseHandle(process.hThread);
}

}  // namespace

void MakeManyFiles(const std::string& folder, int count, const char* extension)
{
    // From the Unix side, as big folders come: through Wine each new name costs a read of the whole folder.
    RunInHostFolder(folder, "seq -f 'f%06g" + std::string(extension) + "' 0 " + std::to_string(count - 1) +
                                " | xargs touch");
    char last[32];
    snprintf(last, sizeof last, "\\f%06d%s", count - 1, extension);  // touch makes the names in order
    if (!WaitFor([&] { return PathExists(folder + last); }, 20000))
        FailTest("the files of " + folder + " were not made within 20 seconds");
}

void RemoveManyFiles(const std::string& folder)
{
    RunInHostFolder(folder, "cd .. && rm -rf '" + folder.substr(folder.find_last_of('\\') + 1) + "'");
    if (!WaitFor([&] { return !PathExists(folder); }, 20000))
        FailTest(folder + " was not removed within 20 seconds");
}

char SlowDrive()
{
    char letter[4] = {};
    return GetEnvironmentVariableA("QV_SLOW_DRIVE", letter, sizeof letter) == 1 ? letter[0] : 0;
}

void SetSlowDriveDelay(double seconds)
{
    WriteFileText(kSlowDelayFile, std::to_string(seconds));
    Sleep(200);  // the file system reads the delay anew every 0.1 s
}

void RegisterOpenRecorder()
{
    // Wine reads file associations from HKEY_LOCAL_MACHINE only.
    const char command[] = "C:\\qv\\qv_open_recorder.exe \"%1\"";
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Classes\\.qvt", nullptr, REG_SZ, "qvtest.document", 16);
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Classes\\qvtest.document\\shell\\open\\command", nullptr, REG_SZ,
                    command, sizeof command);
}

int RunTestProgram(int argc, char** argv)
{
    // Each test runs in a process of its own, from a clean slate; a box no check expects ends it.
    auto test = argc < 2 ? Tests().end() : Tests().find(argv[1]);
    if (test == Tests().end())
        return 2;
    CleanUp();
    WatchDialogs();
    CloseHandle(CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
    test->second();
    printf("%s: %d checks, %d failed\n", argv[1], g_checks, g_failures);
    fflush(stdout);
    CleanUp();
    ExitProcess(g_failures == 0 ? 0 : 1);
}

}  // namespace qvtest
