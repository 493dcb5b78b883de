#include "base/ansi_text.h"
#include "base/app_state.h"
#include "base/background.h"
#include "base/file_search.h"
#include "base/item_names.h"
#include "base/messages.h"
#include "browse/browse.h"
#include "fileops/fileops.h"
#include "fileops/fileops_rules.h"
#include "fileops/shell_operation.h"

#include <shellapi.h>

#include <cstring>
#include <vector>

namespace {

// The name of the item whose label is being edited, as it was when the edit began.
char g_oldName[MAX_PATH];
bool g_editing;

// Only items of a folder can be renamed.
bool MayEditLabel() { return CurrentView() == View::Folder; }

// The name typed into the label editor; false when it is longer than a name can be.
bool ReadEditedName(HWND editor, char (&name)[MAX_PATH])
{
    // GetWindowTextLengthA may overstate the length of the (Unicode) editor's
    // text, so the text is read whole and what was read is measured.
    std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(editor)) + 1, '\0');
    GetWindowTextA(editor, text.data(), static_cast<int>(text.size()));
    return CopyText(text.data(), name, sizeof name);
}

// Tells the user why a typed name can't be taken; true when it can't.
bool RefuseTypedName(HWND window, const char* name)
{
    switch (FaultOfTypedName(name)) {
    case TypedNameFault::None: return false;
    case TypedNameFault::Empty: ShowMessage(window, Message::NameEmpty); break;
    case TypedNameFault::ForbiddenCharacter: ShowMessage(window, Message::NameHasForbiddenCharacter); break;
    case TypedNameFault::DeviceName: ShowFormattedMessage(window, Message::NameIsDevice, nullptr, name); break;
    }
    return true;
}

// True when a new path names another item than the one being renamed: the
// search finds the item itself when only the letter case changes.
bool TakenByAnotherItem(const char* newPath, const char* oldName)
{
    if (!StateOfPath(newPath).exists)
        return false;
    FileSearch search = FileSearch::ForPath(newPath);
    return !search.Next() || std::strcmp(search.Entry().cFileName, oldName) != 0;
}

void Rename(HWND window, const NMLVDISPINFOA* edit)
{
    // A cancelled edit (Esc) carries no text.
    const char* oldName = g_oldName;
    if (!MayEditLabel() || edit->item.pszText == nullptr)
        return;
    HWND list = ItemList(window);
    HWND editor = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETEDITCONTROL, 0, 0));
    char newName[MAX_PATH] = {};
    // Zero-filled, so each path is followed by the two NULs the shell wants.
    char oldPath[MAX_PATH + 1] = {};
    char newPath[MAX_PATH + 1] = {};
    // A name whose path doesn't fit is refused, not cut.
    bool fits = ReadEditedName(editor, newName);
    TrimTypedName(newName);
    if (fits && lstrcmpA(newName, oldName) == 0)
        return;
    if (fits && RefuseTypedName(window, newName))
        return;
    if (!fits || !JoinPath(CurrentFolder(), oldName, oldPath, MAX_PATH) ||
        !JoinPath(CurrentFolder(), newName, newPath, MAX_PATH)) {
        ShowSystemError(window, kRenameCaption, ERROR_FILENAME_EXCED_RANGE);
        return;
    }
    // The shell's rename answers its own replace question with yes, so a
    // name another item has is refused before the shell is asked.
    if (TakenByAnotherItem(newPath, oldName)) {
        ShowFormattedMessage(window, Message::NameTaken, nullptr, newName);
        return;
    }
    if (ExtensionChanges(oldName, newName) && ShowMessage(window, Message::ExtensionChange) == IDNO)
        return;
    ListedItem item;
    if (!ItemAt(window, edit->item.iItem, item) || !ShellFileOperation(window, FO_RENAME, oldPath, newPath))
        return;
    // The row reads the item again: the shell may have kept the name as it was.
    ReplaceItemRow(window, item.id, newPath);
}

}  // namespace

void StartRename(HWND window)
{
    // The list must have the focus for an edit to start (F2 may come while
    // the tree has it).
    if (!MayEditLabel())
        return;
    HWND list = ItemList(window);
    SetFocus(list);
    SendMessageA(list, LVM_EDITLABELA, static_cast<WPARAM>(SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0)), 0);
}

bool BeginRename(HWND window, const NMLVDISPINFOA* edit)
{
    // Only names Windows reads as they stand can be renamed: the user is
    // told at once, before typing anything in vain.
    ListedItem item;
    if (!MayEditLabel() || !ItemAt(window, edit->item.iItem, item) || RefuseNotAddressable(window, item.name.c_str()))
        return false;
    if (!CopyText(item.name.c_str(), g_oldName, sizeof g_oldName))
        return false;
    // While the name is edited, rows still coming wait, so the row edited stays where it is.
    if (!g_editing)
        HoldAnswers();
    g_editing = true;
    return true;
}

void FinishRename(HWND window, const NMLVDISPINFOA* edit)
{
    Rename(window, edit);
    if (g_editing)
        ReleaseAnswers(window);
    g_editing = false;
}
