#pragma once
// A small in-process test harness for the program under Wine: tests build
// the real main window, drive it with messages and input, and read the
// controls, dialogs, disk and registry back.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace qvtest {

using TestBody = void (*)();
struct Registrar {
    Registrar(const char* name, TestBody body);
};

#define QV_TEST(name)                                                                                                  \
    static void name();                                                                                                \
    static ::qvtest::Registrar name##Registrar(#name, name);                                                           \
    static void name()

void Check(bool ok, const char* file, int line, const std::string& what);

template <typename A, typename B>
void CheckEqual(const A& actual, const B& expected, const char* file, int line, const char* expression)
{
    if (actual == expected)
        return Check(true, file, line, expression);
    std::ostringstream what;
    what << expression << ": got [" << actual << "], expected [" << expected << "]";
    Check(false, file, line, what.str());
}

#define CHECK(condition) ::qvtest::Check((condition), __FILE__, __LINE__, #condition)
#define CHECK_EQ(actual, expected) ::qvtest::CheckEqual((actual), (expected), __FILE__, __LINE__, #actual)

// Names what a loop is checking, so a failure says which case broke.
class Context {
public:
    explicit Context(std::string what);
    ~Context();
};

using Texts = std::vector<std::string>;
std::string Join(const Texts& texts);

// The main window, made by the program's own start-up code.
HWND StartMainWindow();
// Runs the program's message loop for a while (accelerators included).
void Pump(int milliseconds = 50);
void SendCommand(HWND window, WORD id);
// Lists a folder in the item list as a click on its tree node does.
void ShowFolder(HWND window, const std::string& path);
LRESULT Notify(HWND window, int controlId, UINT code);

// Item list (control 130)
HWND List(HWND window);
int RowCount(HWND window);
std::string RowText(HWND window, int row, int column = 0);
Texts ColumnOfRows(HWND window, int column = 0);
Texts ColumnTitles(HWND window);
UINT RowState(HWND window, int row, UINT mask);
void SelectRows(HWND window, std::initializer_list<int> rows);
std::vector<int> SelectedRows(HWND window);
int FindRow(HWND window, const std::string& name);
DWORD ViewMode(HWND window);

// Folder tree (control 129)
HWND Tree(HWND window);
HTREEITEM TreeChild(HWND window, HTREEITEM parent, const std::string& text);
Texts TreeChildTexts(HWND window, HTREEITEM parent);
std::string TreeNodeText(HWND window, HTREEITEM node);
std::string TreeNodePath(HWND window, HTREEITEM node);
HTREEITEM TreeRoot(HWND window);
enum class TreePart { Label, Button };
// Puts the cursor on a node's label or expand button and sends the tree's click notification.
void ClickTreeNode(HWND window, HTREEITEM node, TreePart part);

std::string StatusText(HWND window, int part);

// Real keyboard input, as a user gives it.
void PressKeys(std::initializer_list<WORD> keys);

// Message boxes and dialogs shown while a catcher lives are recorded and
// answered: by the answer given for them, else OK when the box has it, else Cancel.
struct SeenDialog {
    std::string caption;
    std::string text;
    Texts buttons;
};
class DialogCatcher {
public:
    DialogCatcher();
    ~DialogCatcher();
    // Answers the next dialogs in turn with these button ids.
    void Answer(std::initializer_list<int> buttonIds);
    // Hands the next dialog to a function, which must close it.
    void Handle(std::function<void(HWND dialog)> handler);
    const std::vector<SeenDialog>& Seen() const;
};

// Files, by Windows path
void WriteFileText(const std::string& path, const std::string& content);
void MakeFolder(const std::string& path);
void RemoveTree(const std::string& path);
bool PathExists(const std::string& path);
// A folder made empty for one test and removed after it.
class TestFolder {
public:
    explicit TestFolder(std::string path);
    ~TestFolder();
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};
// Waits until a condition holds, pumping messages; false on timeout.
bool WaitFor(const std::function<bool()>& condition, int milliseconds = 5000);

// Registry
bool ReadRegistryText(HKEY root, const char* key, const char* value, std::string& text);
void WriteRegistryText(HKEY root, const char* key, const char* value, const std::string& text);

// Runs the test named by the first argument, or lists the tests without one.
int RunTestProgram(int argc, char** argv);

}  // namespace qvtest
