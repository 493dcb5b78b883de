#include "base/app_state.h"
#include "base/ansi_text.h"
#include "base/file_search.h"
#include "base/item_names.h"
#include "base/messages.h"
#include "browse/browse.h"
#include "fileops/fileops.h"
#include "fileops/fileops_rules.h"

#include <shellapi.h>

#include <io.h>

#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace {

// Deletes (the double-NUL list in from) or renames (from to to) through the
// shell, whose confirmation, progress and error dialogs the main window owns.
bool ShellFileOperation(HWND window, UINT operation, const char* from, const char* to)
{
    SHFILEOPSTRUCTA request = {};
    request.hwnd = window;
    request.wFunc = operation;
    request.pFrom = from;
    request.pTo = to;
    request.fFlags = operation == FO_DELETE ? FOF_MULTIDESTFILES : FOF_NOCONFIRMATION;
    return SHFileOperationA(&request) == 0;
}

}  // namespace

void DeleteSelectedItems(HWND window)
{
    // Outside a folder view the rows name no file: paths made from them would
    // be relative, resolved against whatever the process's folder is.
    std::vector<ListedItem> selected = SelectedItems(window);
    if (CurrentView() != View::Folder || selected.empty())
        return;
    size_t capacity = selected.size() * MAX_PATH + 1;
    std::unique_ptr<char[]> paths(new (std::nothrow) char[capacity]);
    if (!paths) {
        ShowMessage(window, Message::OutOfMemory);
        return;
    }
    size_t used = 0;
    paths[0] = '\0';
    std::vector<uint32_t> listed;
    SkippedItems refused;
    for (const ListedItem& item : selected) {
        // A name Windows reads as another, or as a pattern, would delete other items.
        char path[MAX_PATH];
        if (const char* reason = NotAddressableReason(item.name.c_str()))
            refused.Add(item.name.c_str(), reason);
        else if (!JoinPath(CurrentFolder(), item.name.c_str(), path, sizeof path) ||
                 !AppendToDeleteList(path, paths.get(), capacity, used))
            refused.Add(item.name.c_str(), SkippedItems::kPathTooLong);
        else
            listed.push_back(item.id);
    }
    if (!listed.empty() && ShellFileOperation(window, FO_DELETE, paths.get(), nullptr)) {
        // Items the user kept or the shell couldn't delete keep their rows.
        std::vector<uint32_t> deleted;
        const char* path = paths.get();
        for (uint32_t id : listed) {
            if (_access(path, 0) != 0)
                deleted.push_back(id);
            path += lstrlenA(path) + 1;
        }
        RemoveItems(window, deleted);
    }
    refused.Report(window, Message::ItemsNotDeleted);
}

bool MayEditLabel() { return CurrentView() == View::Folder; }

bool MayRenameItem(HWND window, const char* oldName) { return !RefuseNotAddressable(window, oldName); }

namespace {

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

}  // namespace

void RenameItem(HWND window, const NMLVDISPINFOA* edit)
{
    // A cancelled edit (Esc) carries no text; a name the edit began on was
    // refused then.
    const char* oldName = g_app.labelEditOldName;
    if (!MayEditLabel() || edit->item.pszText == nullptr || NotAddressableReason(oldName))
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
        ShowSystemError(window, RuleOf(Message::ExtensionChange).caption, ERROR_FILENAME_EXCED_RANGE);
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
