#include "tests/win/harness.h"

#include "app/frame.h"
#include "browse/browse.h"

#include <cstdio>
#include <cstring>
#include <deque>
#include <map>

namespace qvtest {
namespace {

struct Registry {
    std::map<std::string, TestBody> tests;
    std::vector<std::string> contexts;
    int failures = 0;
    int checks = 0;
};

Registry& Tests()
{
    static Registry registry;
    return registry;
}

constexpr int kIdItemList = 130;
constexpr int kIdFolderTree = 129;
constexpr int kIdStatusBar = 132;

}  // namespace

Registrar::Registrar(const char* name, TestBody body) { Tests().tests[name] = body; }

void Check(bool ok, const char* file, int line, const std::string& what)
{
    ++Tests().checks;
    if (ok)
        return;
    ++Tests().failures;
    printf("%s:%d: FAILED: %s\n", file, line, what.c_str());
    for (const std::string& context : Tests().contexts)
        printf("    while %s\n", context.c_str());
    fflush(stdout);
}

Context::Context(std::string what) { Tests().contexts.push_back(std::move(what)); }
Context::~Context() { Tests().contexts.pop_back(); }

std::string Join(const Texts& texts)
{
    std::string joined;
    for (const std::string& text : texts)
        joined += (joined.empty() ? "" : "|") + text;
    return joined;
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
    DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                continue;
            DispatchThreadMessage(window, message);
        }
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

void SendCommand(HWND window, WORD id) { SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void ShowFolder(HWND window, const std::string& path)
{
    ClearItemList(window);
    SetColumnSet(window, kFolderColumns);
    OpenPath(window, path.c_str());
}

LRESULT Notify(HWND window, int controlId, UINT code)
{
    NMHDR header = {};
    header.hwndFrom = GetDlgItem(window, controlId);
    header.idFrom = static_cast<UINT_PTR>(controlId);
    header.code = code;
    return SendMessageA(window, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

HWND List(HWND window) { return GetDlgItem(window, kIdItemList); }
HWND Tree(HWND window) { return GetDlgItem(window, kIdFolderTree); }

int RowCount(HWND window) { return static_cast<int>(SendMessageA(List(window), LVM_GETITEMCOUNT, 0, 0)); }

std::string RowText(HWND window, int row, int column)
{
    char text[1024];
    ReadRowText(List(window), row, column, text, sizeof text);
    return text;
}

Texts ColumnOfRows(HWND window, int column)
{
    Texts texts;
    for (int row = 0; row < RowCount(window); ++row)
        texts.push_back(RowText(window, row, column));
    return texts;
}

Texts ColumnTitles(HWND window)
{
    Texts titles;
    HWND header = reinterpret_cast<HWND>(SendMessageA(List(window), LVM_GETHEADER, 0, 0));
    int count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        char text[256] = {};
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        SendMessageA(List(window), LVM_GETCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
        titles.push_back(text);
    }
    return titles;
}

UINT RowState(HWND window, int row, UINT mask)
{
    return static_cast<UINT>(SendMessageA(List(window), LVM_GETITEMSTATE, static_cast<WPARAM>(row), mask));
}

void SelectRows(HWND window, std::initializer_list<int> rows)
{
    HWND list = List(window);
    LVITEMA none = {};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    for (int row : rows) {
        LVITEMA item = {};
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        SendMessageA(list, LVM_SETSELECTIONMARK, 0, row);
    }
    if (rows.size() == 0)
        SendMessageA(list, LVM_SETSELECTIONMARK, 0, -1);
}

std::vector<int> SelectedRows(HWND window)
{
    std::vector<int> rows;
    for (int row = 0; row < RowCount(window); ++row) {
        if (RowState(window, row, LVIS_SELECTED))
            rows.push_back(row);
    }
    return rows;
}

int FindRow(HWND window, const std::string& name)
{
    for (int row = 0; row < RowCount(window); ++row) {
        if (RowText(window, row) == name)
            return row;
    }
    return -1;
}

DWORD ViewMode(HWND window) { return static_cast<DWORD>(GetWindowLongA(List(window), GWL_STYLE)) & LVS_TYPEMASK; }

HTREEITEM TreeRoot(HWND window)
{
    return reinterpret_cast<HTREEITEM>(SendMessageA(Tree(window), TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

Texts TreeChildTexts(HWND window, HTREEITEM parent)
{
    Texts texts;
    HTREEITEM child = reinterpret_cast<HTREEITEM>(
        SendMessageA(Tree(window), TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
    while (child) {
        texts.push_back(TreeNodeText(window, child));
        child = reinterpret_cast<HTREEITEM>(
            SendMessageA(Tree(window), TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)));
    }
    return texts;
}

HTREEITEM TreeChild(HWND window, HTREEITEM parent, const std::string& text)
{
    HTREEITEM child = reinterpret_cast<HTREEITEM>(
        SendMessageA(Tree(window), TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
    while (child && TreeNodeText(window, child) != text) {
        child = reinterpret_cast<HTREEITEM>(
            SendMessageA(Tree(window), TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)));
    }
    return child;
}

std::string TreeNodeText(HWND window, HTREEITEM node)
{
    char text[MAX_PATH] = {};
    TVITEMA item = {};
    item.mask = TVIF_HANDLE | TVIF_TEXT;
    item.hItem = node;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(Tree(window), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return text;
}

std::string TreeNodePath(HWND window, HTREEITEM node)
{
    TVITEMA item = {};
    item.mask = TVIF_HANDLE | TVIF_PARAM;
    item.hItem = node;
    SendMessageA(Tree(window), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam ? reinterpret_cast<const char*>(item.lParam) : "";
}

void ClickTreeNode(HWND window, HTREEITEM node, TreePart part)
{
    HWND tree = Tree(window);
    SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
    RECT label = {};
    memcpy(&label, &node, sizeof node);  // the message takes the node in the rectangle
    SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label));
    POINT point = {label.left + 4, (label.top + label.bottom) / 2};
    if (part == TreePart::Button) {
        // Walk left from the label until the hit test reports the button.
        for (int x = label.left; x >= 0; --x) {
            TVHITTESTINFO hit = {};
            hit.pt = {x, point.y};
            SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.flags & TVHT_ONITEMBUTTON) {
                point.x = x;
                break;
            }
        }
    }
    ClientToScreen(tree, &point);
    SetCursorPos(point.x, point.y);
    Notify(window, kIdFolderTree, static_cast<UINT>(NM_CLICK));
}

std::string StatusText(HWND window, int part)
{
    HWND status = GetDlgItem(window, kIdStatusBar);
    char text[1024] = {};
    LRESULT length = SendMessageA(status, SB_GETTEXTLENGTHA, static_cast<WPARAM>(part), 0);
    if (LOWORD(length) >= sizeof text)
        return "<too long>";
    SendMessageA(status, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
    return text;
}

void PressKeys(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = keys.end(); key != keys.begin();) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *--key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Pump(150);
}

namespace {

struct CatcherState {
    HHOOK hook = nullptr;
    std::deque<int> answers;
    std::deque<std::function<void(HWND)>> handlers;
    std::vector<SeenDialog> seen;
};
CatcherState* g_catcher;

std::string WindowText(HWND window)
{
    char text[2048] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK CollectButton(HWND child, LPARAM seen)
{
    char className[32] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Button") == 0 && IsWindowVisible(child))
        reinterpret_cast<SeenDialog*>(seen)->buttons.push_back(WindowText(child));
    return TRUE;
}

void AnswerDialog(HWND dialog)
{
    SeenDialog seen;
    seen.caption = WindowText(dialog);
    seen.text = WindowText(GetDlgItem(dialog, 0xFFFF));
    EnumChildWindows(dialog, CollectButton, reinterpret_cast<LPARAM>(&seen));
    g_catcher->seen.push_back(seen);
    if (!g_catcher->handlers.empty()) {
        auto handler = g_catcher->handlers.front();
        g_catcher->handlers.pop_front();
        handler(dialog);
        return;
    }
    int answer = GetDlgItem(dialog, IDOK) ? IDOK : IDCANCEL;
    if (!g_catcher->answers.empty()) {
        answer = g_catcher->answers.front();
        g_catcher->answers.pop_front();
    }
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, answer)));
}

LRESULT CALLBACK WatchDialogs(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && g_catcher) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char className[32] = {};
        GetClassNameA(window, className, sizeof className);
        if (lstrcmpA(className, "#32770") == 0)
            AnswerDialog(window);
    }
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

void DialogCatcher::Answer(std::initializer_list<int> buttonIds) { g_catcher->answers.assign(buttonIds); }
void DialogCatcher::Handle(std::function<void(HWND)> handler) { g_catcher->handlers.push_back(std::move(handler)); }
const std::vector<SeenDialog>& DialogCatcher::Seen() const { return g_catcher->seen; }

void WriteFileText(const std::string& path, const std::string& content)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    CHECK(file != INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

void MakeFolder(const std::string& path) { CHECK(CreateDirectoryA(path.c_str(), nullptr) != 0); }

void RemoveTree(const std::string& path)
{
    // A drive's root is never removed: "X:\\ " without its trailing
    // backslash names the root itself, since Windows drops trailing spaces.
    char full[MAX_PATH] = {};
    GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    if (strlen(full) <= 3) {
        CHECK(!"RemoveTree was asked to remove a drive's root");
        return;
    }
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(path.c_str());
        return;
    }
    std::string folder = path.back() == '\\' ? path : path + "\\";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (strcmp(found.cFileName, ".") != 0 && strcmp(found.cFileName, "..") != 0)
                RemoveTree(folder + found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TestFolder::TestFolder(std::string path) : path_(std::move(path))
{
    RemoveTree(path_);
    MakeFolder(path_);
}

TestFolder::~TestFolder() { RemoveTree(path_); }

bool WaitFor(const std::function<bool()>& condition, int milliseconds)
{
    DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    while (!condition()) {
        if (static_cast<int>(end - GetTickCount()) <= 0)
            return false;
        Pump(20);
    }
    return true;
}

bool ReadRegistryText(HKEY root, const char* key, const char* value, std::string& text)
{
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    HKEY opened;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    LONG result = RegQueryValueExA(opened, value, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(opened);
    text.assign(data, size);
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    return result == ERROR_SUCCESS;
}

void WriteRegistryText(HKEY root, const char* key, const char* value, const std::string& text)
{
    HKEY created;
    CHECK(RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_WRITE, nullptr, &created, nullptr) == ERROR_SUCCESS);
    RegSetValueExA(created, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(created);
}

namespace {

DWORD WINAPI Watchdog(void*)
{
    // No test may hang the run: a test still going after a minute fails.
    Sleep(60000);
    printf("FAILED: the test did not finish within 60 s\n");
    fflush(stdout);
    ExitProcess(3);
}

}  // namespace

int RunTestProgram(int argc, char** argv)
{
    if (argc < 2) {
        for (const auto& test : Tests().tests)
            printf("%s\n", test.first.c_str());
        return 0;
    }
    auto test = Tests().tests.find(argv[1]);
    if (test == Tests().tests.end()) {
        printf("no test named %s\n", argv[1]);
        return 2;
    }
    CloseHandle(CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
    test->second();
    printf("%s: %d checks, %d failed\n", argv[1], Tests().checks, Tests().failures);
    fflush(stdout);
    ExitProcess(Tests().failures == 0 ? 0 : 1);
}

}  // namespace qvtest
