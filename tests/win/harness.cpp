#include "tests/win/harness.h"

#include "app/app.h"
#include "base/ansi_text.h"
#include "base/file_search.h"
#include "base/rows.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>

namespace qvtest {
namespace {

std::map<std::string, void (*)()>& Tests()
{
    static std::map<std::string, void (*)()> tests;
    return tests;
}
int g_failures, g_checks;

template <typename L> LRESULT Send(HWND window, UINT message, WPARAM wParam, L lParam)
{
    return SendMessageA(window, message, wParam, (LPARAM)lParam);
}

HTREEITEM Node(HWND window, UINT relation, HTREEITEM node)
{
    return (HTREEITEM)Send(Tree(window), TVM_GETNEXTITEM, relation, node);
}

// The node's text (or, with TVIF_PARAM, its tree path).
std::string NodeData(HWND window, HTREEITEM node, UINT mask)
{
    char text[MAX_PATH] = {};
    TVITEMA item = {mask | TVIF_HANDLE, node, 0, 0, text, sizeof text, 0, 0, 0, 0};
    Send(Tree(window), TVM_GETITEMA, 0, &item);
    return mask == TVIF_TEXT ? text : item.lParam ? reinterpret_cast<const char*>(item.lParam) : "";
}

std::string WindowText(HWND window)
{
    std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

}  // namespace

Registrar::Registrar(const char* name, void (*body)()) { Tests()[name] = body; }

void Check(bool ok, const char* file, int line, const std::string& what)
{
    ++g_checks;
    if (!ok)
        ++g_failures, printf("%s:%d: FAILED: %s\n", file, line, what.c_str()), fflush(stdout);
}

std::string Join(const Texts& texts)
{
    std::string joined;
    for (const std::string& text : texts)
        joined += (&text == &texts.front() ? "" : "|") + text;
    return joined;
}

std::string Text(Message message, const std::string& argument)
{
    char text[512];
    snprintf(text, sizeof text, RuleOf(message).text, argument.c_str());
    return text;
}

std::string SystemText(DWORD code)
{
    char text[256];
    SystemErrorText(code, text, sizeof text);
    return text;
}

HWND StartMainWindow()
{
    HWND window = StartApplication(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    CHECK(window != nullptr);
    SetForegroundWindow(window);
    Pump(100);
    return window;
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

void SendCommand(HWND window, WORD id) { SendMessageA(window, WM_COMMAND, id, 0); }

LRESULT Notify(HWND window, int controlId, UINT code, NMHDR* header)
{
    NMHDR plain = {};
    NMHDR* sent = header ? header : &plain;
    *sent = {GetDlgItem(window, controlId), static_cast<UINT_PTR>(controlId), code};
    return Send(window, WM_NOTIFY, sent->idFrom, sent);
}

HWND List(HWND window) { return GetDlgItem(window, 130); }
HWND Tree(HWND window) { return GetDlgItem(window, 129); }
HWND EditControl(HWND window) { return (HWND)Send(List(window), LVM_GETEDITCONTROL, 0, 0); }
int RowCount(HWND window) { return static_cast<int>(Send(List(window), LVM_GETITEMCOUNT, 0, 0)); }

std::string RowText(HWND window, int row, int column)
{
    char text[1024];
    ReadRowText(List(window), row, column, text, sizeof text);
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
    int row = RowCount(window);
    while (--row >= 0 && RowText(window, row) != name) {
    }
    return row;
}

void DoubleClickRow(HWND window, const std::string& name)
{
    SelectRows(window, {FindRow(window, name)});
    Notify(window, 130, static_cast<UINT>(NM_DBLCLK));
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
    Notify(window, 129, static_cast<UINT>(NM_CLICK));
}

std::string StatusText(HWND window, int part)
{
    char text[1024] = {};
    if (LOWORD(Send(GetDlgItem(window, 132), SB_GETTEXTLENGTHA, static_cast<WPARAM>(part), 0)) < sizeof text)
        Send(GetDlgItem(window, 132), SB_GETTEXTA, static_cast<WPARAM>(part), text);
    return text;
}

void PressKey(HWND target, WORD key)
{
    PostMessageA(target, WM_KEYDOWN, key, 0);
    Pump();
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
}

namespace {

struct CatcherState {
    HHOOK hook = nullptr;
    std::vector<int> answers;
    std::vector<std::function<void(HWND)>> handlers;
    size_t answered = 0, handled = 0;
    std::vector<SeenDialog> seen;
};
CatcherState* g_catcher;

LRESULT CALLBACK WatchDialogs(int code, WPARAM wParam, LPARAM lParam)
{
    HWND dialog = reinterpret_cast<HWND>(wParam);
    char className[32] = {};
    if (code != HCBT_ACTIVATE || !g_catcher || !GetClassNameA(dialog, className, sizeof className) ||
        lstrcmpA(className, "#32770") != 0)
        return CallNextHookEx(nullptr, code, wParam, lParam);
    CatcherState& catcher = *g_catcher;
    HWND text = GetDlgItem(dialog, 0xFFFF);  // message boxes have it, the program's dialogs don't
    catcher.seen.push_back({WindowText(dialog), text ? WindowText(text) : "<dialog>"});
    if (!text && catcher.handled < catcher.handlers.size())
        catcher.handlers[catcher.handled++](dialog);
    else if (!text)
        PostMessageA(dialog, WM_CLOSE, 0, 0);  // no test hangs on a dialog it didn't expect
    else if (catcher.answered < catcher.answers.size())
        PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(catcher.answers[catcher.answered++]), 0);
    else
        PostMessageA(dialog, WM_COMMAND, GetDlgItem(dialog, IDOK) ? IDOK : IDCANCEL, 0);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

DialogCatcher::DialogCatcher()
{
    g_catcher = new CatcherState;
    g_catcher->hook = SetWindowsHookExA(WH_CBT, WatchDialogs, nullptr, GetCurrentThreadId());
}

DialogCatcher::~DialogCatcher()
{
    UnhookWindowsHookEx(g_catcher->hook);
    delete g_catcher;
    g_catcher = nullptr;
}

void DialogCatcher::Answer(std::initializer_list<int> buttonIds) { g_catcher->answers = buttonIds; }
void DialogCatcher::Handle(std::function<void(HWND)> handler) { g_catcher->handlers.push_back(std::move(handler)); }
const std::vector<SeenDialog>& DialogCatcher::Seen() const { return g_catcher->seen; }

std::string DialogCatcher::Texts() const
{
    qvtest::Texts texts;
    for (const SeenDialog& seen : g_catcher->seen)
        texts.push_back(seen.text);
    return Join(texts);
}

void WriteFileText(const std::string& path, const std::string& content)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    CHECK(WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr));
    CloseHandle(file);
}

void WriteExactFile(const std::wstring& path, const std::string& content)
{
    HANDLE file = CreateFileW((L"\\\\?\\" + path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    CHECK(WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr));
    CloseHandle(file);
}

std::string ReadFileText(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    char data[4096];
    DWORD read = 0;
    ReadFile(file, data, sizeof data, &read, nullptr);
    CloseHandle(file);
    return std::string(data, read);
}

void MakeFolder(const std::string& path) { CHECK(CreateDirectoryA(path.c_str(), nullptr) != 0); }

void RemoveTree(const std::string& path)
{
    // A drive's root is never removed: "X:\\ " without its trailing
    // backslash names the root itself, since Windows drops trailing spaces.
    char full[MAX_PATH] = {};
    GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    if (strlen(full) <= 3)
        return CHECK(!"RemoveTree was asked to remove a drive's root");
    DWORD attributes = GetFileAttributesA(path.c_str());
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return (void)DeleteFileA(path.c_str());
    // A last character 誠 ends in the byte 0x5C without being a backslash.
    const char* last = FindLastCharacter(path.c_str(), '\\');
    std::string folder = last && last[1] == '\0' ? path.substr(0, path.size() - 1) : path;
    for (FileSearch search = FileSearch::InFolder(folder.c_str()); search.Next();) {
        if (!search.IsDotOrDotDot())
            RemoveTree(folder + "\\" + search.Entry().cFileName);
    }
    RemoveDirectoryA((folder + "\\").c_str());
}

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TestFolder::TestFolder(std::string path, std::initializer_list<std::string> entries) : path_(std::move(path))
{
    RemoveTree(path_);
    MakeFolder(path_);
    for (const std::string& entry : entries)
        entry.back() == '\\' ? MakeFolder(*this / entry) : WriteFileText(*this / entry, entry);
}

void MakeVaultEntry(char drive, const std::string& storedName, const std::string& content)
{
    std::string root = std::string(1, drive) + ":\\ \\";
    CreateDirectoryA(root.c_str(), nullptr);
    SetFileAttributesA(root.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    CreateDirectoryA((root + "Quillnest").c_str(), nullptr);
    WriteFileText(root + "Quillnest\\" + storedName, content);
}

bool WaitFor(const std::function<bool()>& condition, int milliseconds)
{
    for (DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds); !condition(); Pump(20)) {
        if (static_cast<int>(end - GetTickCount()) <= 0)
            return false;
    }
    return true;
}

void RegisterOpenRecorder()
{
    // Wine reads file associations from HKEY_LOCAL_MACHINE only.
    const char command[] = "C:\\qv\\qv_open_recorder.exe \"%1\"";
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Classes\\.qvt", nullptr, REG_SZ, "qvtest.document", 16);
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Classes\\qvtest.document\\shell\\open\\command", nullptr, REG_SZ,
                    command, sizeof command);
    DeleteFileA("C:\\qv\\opened.txt");
}

int RunTestProgram(int argc, char** argv)
{
    // ctest stops a test that hangs; each test runs in a process of its own.
    auto test = argc < 2 ? Tests().end() : Tests().find(argv[1]);
    if (test == Tests().end())
        return 2;
    test->second();
    printf("%s: %d checks, %d failed\n", argv[1], g_checks, g_failures);
    fflush(stdout);
    ExitProcess(g_failures == 0 ? 0 : 1);
}

}  // namespace qvtest
