#pragma once
// Tests build the real main window, drive it with messages and input, and read it, the disk and the registry back.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

inline bool operator==(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }
inline std::ostream& operator<<(std::ostream& out, const POINT& point) { return out << point.x << "," << point.y; }

namespace qvtest {

int Register(const char* name, void (*body)());
#define QV_TEST(name)                                                                                                  \
    static void name();                                                                                                \
    [[maybe_unused]] static int name##Registered = ::qvtest::Register(#name, name);                                    \
    static void name()
#define QV_TEST_IN(name, locale) QV_TEST(name)   // run under that locale, not zh_CN (read by tests/win/CMakeLists.txt)
#define QV_TEST_AT_DPI(name, dpi) QV_TEST(name)  // run at that system DPI, not 96 (read by tests/win/CMakeLists.txt)

// While it lives, its text is printed before each failure: a test's section, a loop's index.
struct Context {
    explicit Context(const std::string& text);
    Context(const std::string& what, long long number) : Context(what + " " + std::to_string(number)) {}
    ~Context();
    void Set(const std::string& text);  // the next section, while no context inside it lives
    size_t depth;  // the text of the contexts outside it
};

void Check(bool ok, const char* file, int line, const std::string& what);
template <typename A, typename B>
void CheckEqual(const A& got, const B& expected, const char* file, int line, const char* what)
{
    std::ostringstream text;
    text << what << ": got [" << got << "], expected [" << expected << "]";
    Check(got == expected, file, line, text.str());
}
#define CHECK(condition) ::qvtest::Check((condition), __FILE__, __LINE__, #condition)
#define CHECK_EQ(got, expected) ::qvtest::CheckEqual((got), (expected), __FILE__, __LINE__, #got)

using Texts = std::vector<std::string>;
std::string Join(const Texts& texts);
std::string SystemText(DWORD code), WindowText(HWND window);

// Made by the program's own start-up code; by default once every drive has answered.
HWND StartMainWindow(bool waitForDrives = true);
void Pump(int milliseconds = 50);  // runs the program's message loop, accelerators included
// Runs the loop until no work is in flight: listings, drives, tree nodes, files being opened.
void WaitIdle();
// The driving helpers below wait for the work they start.
void Show(HWND window, const char* location);  // ShowLocation
void SendCommand(HWND window, WORD id);
LRESULT Notify(HWND window, int controlId, UINT code, NMHDR* header = nullptr);  // as the control would

HWND List(HWND window), Tree(HWND window), EditControl(HWND window);  // the list's label editor
int RowCount(HWND window);
bool Dimmed(HWND window, int row);  // shown in the cut state, as hidden items are
std::string RowText(HWND window, int row, int column = 0);
std::string Rows(HWND window, int column = 0, bool sorted = false);  // a column of every row, joined
void SelectRows(HWND window, const std::vector<int>& rows);
int FindRow(HWND window, const std::string& name);
void DoubleClickRow(HWND window, const std::string& name);

HTREEITEM TreeRoot(HWND window);
HTREEITEM TreeChild(HWND window, HTREEITEM parent, const std::string& text);  // parent null: My Computer
std::string TreeChildren(HWND window, HTREEITEM parent);                      // sorted, joined
std::string TreeNodePath(HWND window, HTREEITEM node);
void ClickTreeNode(HWND window, HTREEITEM node);  // the cursor on its label, then the tree's click

std::string StatusText(HWND window, int part);
// Real input to the focus window, through the program's message loop: keys pressed in order, released.
void PressKeys(std::initializer_list<WORD> chord);

// Boxes and dialogs shown while a catcher lives are recorded (a dialog's text as "<its caption>") and answered: a
// dialog by the next handler, else closed; a box by the next answer, else OK if it has one, else Cancel. A box while
// no catcher lives, or one without the button to answer, fails the test at once.
void WatchDialogs();  // that watch, on the calling thread: each test has it, other programs on the harness set it
// A box's icon is "error", "warning", "information", "question", "other" or "" (none, and dialogs).
struct SeenDialog {
    std::string caption, text, icon;
};
using Seen = std::vector<SeenDialog>;
SeenDialog ReadDialog(HWND dialog);
// The dialogs seen, in order: their number, then each one's caption, text and icon.
void CheckSeen(const Seen& seen, const Seen& expected, const char* file, int line);
#define CHECK_SEEN(seen, ...) ::qvtest::CheckSeen((seen), __VA_ARGS__, __FILE__, __LINE__)
struct DialogCatcher {
    DialogCatcher();
    ~DialogCatcher();
    std::vector<int> answers;
    std::vector<std::function<void(HWND dialog)>> handlers;
    Seen seen;
    size_t answered = 0, handled = 0;
};

// Files and folders are named exactly as given (through \\?\ paths): "a." is not "a".
void WriteFileText(const std::string& path, const std::string& content);
void WriteFileText(const std::wstring& exactPath, const std::string& content);  // a \\?\ path
std::string ReadFileText(const std::string& path);
void MakeFolder(const std::string& path);
void RemoveTree(const std::string& path);
bool PathExists(const std::string& path);
// A folder for a test, with entries: folders end in '\\', files hold their names.
struct TestFolder {
    explicit TestFolder(std::string path, std::initializer_list<std::string> entries = {});
    const char* operator*() const { return path.c_str(); }
    std::string operator/(const std::string& name) const { return path + "\\" + name; }
    std::string path;
};
void MakeVaultEntry(char drive, const std::string& storedName, const std::string& content = "vault");
bool WaitFor(const std::function<bool()>& condition, int milliseconds = 5000);  // pumping; false on timeout
// Handles queued messages one at a time until the condition holds (false when none is left first).
bool DeliverUntil(const std::function<bool()>& condition, int milliseconds = 5000);
// Many empty files, made quickly (Wine otherwise reads the whole folder for each new name).
std::string FastCreationPath(const std::string& path);
void MakeManyFiles(const std::string& folder, int count, const char* extension = ".txt");  // on C:, D: or E:
void RemoveManyFiles(const std::string& folder);  // the folder, from the Unix side too
// The drive whose answers the test can slow down (a FUSE file system the session mounts), or 0
// when this machine has none; each query of it then waits that long.
char SlowDrive();
void SetSlowDriveDelay(double seconds);
// Files ending in .qvt open with qv_open_recorder, which writes C:\qv\opened.txt.
void RegisterOpenRecorder();
int RunTestProgram(int argc, char** argv);           // the test named by argv[1]
[[noreturn]] void FailTest(const std::string& why);  // reports, cleans up and ends the test

}  // namespace qvtest
