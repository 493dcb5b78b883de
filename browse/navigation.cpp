#include "base/app_state.h"
#include "base/controls.h"
#include "base/ansi_text.h"
#include "base/file_search.h"
#include "base/item_names.h"
#include "base/messages.h"
#include "browse/browse.h"
#include "browse/browse_parts.h"
#include "browse/item_text.h"

#include <cstdio>

namespace {

void ShowLocationText(HWND window) { SetStatusText(window, 0, LocationText(CurrentFolder())); }

// The tree node under the cursor, when the click was on its icon or label.
HTREEITEM ClickedTreeNode(HWND tree)
{
    // The click notification carries no position, so the cursor is hit-tested.
    TVHITTESTINFO hit = {};
    GetCursorPos(&hit.pt);
    ScreenToClient(tree, &hit.pt);
    HTREEITEM node = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (node && (hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON)))
        return node;
    return nullptr;
}

const char* NodePath(HWND tree, HTREEITEM node)
{
    TVITEMA item = {};
    item.mask = TVIF_HANDLE | TVIF_PARAM;
    item.hItem = node;
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) || !item.lParam)
        return nullptr;
    return reinterpret_cast<const char*>(item.lParam);
}

// Opens the drive of a row of the drives view.
void OpenDriveRow(HWND window, HWND list, int row, const char* name)
{
    // The row's item data holds its drive letter, so rows whose display name
    // hides the letter still open; the name is the fallback.
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    char letter = static_cast<char>(item.lParam);
    if (letter < 'A' || letter > 'Z')
        letter = DriveLetterOfDisplayName(name);
    if (!letter)
        return;
    char drive[3] = {letter, ':', '\0'};
    ShowLocation(window, drive);
}

// The tree shows sub-folders that are not system folders, hidden ones
// included, but none whose name Windows reads as another folder's.
bool IsTreeFolder(const WIN32_FIND_DATAA& found)
{
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(found.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) &&
           !IsDotOrDotDot(found) && FaultOfListedName(found.cFileName) == ListedNameFault::None;
}

// True when a folder holds a sub-folder the tree would show. Looked up in the
// file system: the shell's answer takes milliseconds per folder, and counts
// archives and system folders that the tree never shows.
bool HasTreeChildren(const char* folder)
{
    for (FileSearch search = FileSearch::InFolder(folder); search.Next();) {
        if (IsTreeFolder(search.Entry()))
            return true;
    }
    return false;
}

}  // namespace

bool HandleTreeClick(HWND window)
{
    HWND tree = FolderTree(window);
    HTREEITEM node = ClickedTreeNode(tree);
    const char* path = node ? NodePath(tree, node) : nullptr;
    if (!path) {
        ShowLocationText(window);
        return false;
    }
    if (lstrcmpA(path, kVaultMarker) == 0)
        return true;
    ShowLocation(window, lstrcmpA(path, kComputerMarker) == 0 ? "" : path);
    return false;
}

void OpenSelectedItem(HWND window)
{
    HWND list = ItemList(window);
    int row = SelectionMark(list);
    if (row < 0)
        return;
    char name[MAX_PATH];
    ReadRowText(list, row, 0, name, sizeof name);

    if (CurrentView() == View::Drives) {
        OpenDriveRow(window, list, row, name);
        return;
    }
    if (CurrentView() == View::Vault || RefuseNotAddressable(window, name))
        return;

    char path[MAX_PATH];
    if (!JoinPath(CurrentFolder(), name, path, sizeof path)) {
        ShowFormattedMessage(window, Message::PathTooLongToOpen, nullptr, name);
        return;
    }
    // A folder opened from the list keeps the columns as the user left them.
    if (GetFileAttributesA(path) & FILE_ATTRIBUTE_DIRECTORY)
        ShowLocation(window, path, Columns::Keep);
    else
        OpenPath(window, path);
}

void ShowSelectionStatus(HWND window)
{
    HWND list = ItemList(window);
    int selected = static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
    if (selected <= 0) {
        ShowLocationText(window);
        return;
    }
    char text[MAX_PATH + 100];
    if (selected >= 2) {
        snprintf(text, sizeof text, "选定 %i 个对象", selected);
        SetStatusText(window, 0, text);
        return;
    }

    int row = SelectionMark(list);
    char name[MAX_PATH];
    ReadRowText(list, row, 0, name, sizeof name);
    char path[MAX_PATH];
    bool isFile = CurrentView() == View::Folder && JoinPath(CurrentFolder(), name, path, sizeof path) &&
                  !(GetFileAttributesA(path) & FILE_ATTRIBUTE_DIRECTORY);
    if (!isFile) {
        SetStatusText(window, 0, "选定 1 个对象");
        return;
    }
    char type[50];
    char time[40];
    char size[30];
    ReadRowText(list, row, 2, type, sizeof type);
    ReadRowText(list, row, 3, time, sizeof time);
    ReadRowText(list, row, 1, size, sizeof size);
    snprintf(text, sizeof text, "类型: %s 修改日期: %s 大小: %s", type, time, size);
    SetStatusText(window, 0, text);
}

void BeginLabelEdit(HWND window)
{
    HWND edit = reinterpret_cast<HWND>(SendMessageA(ItemList(window), LVM_GETEDITCONTROL, 0, 0));
    ZeroMemory(g_app.labelEditOldName, sizeof g_app.labelEditOldName);
    GetWindowTextA(edit, g_app.labelEditOldName, sizeof g_app.labelEditOldName);
}

void FillTreeNode(NMTREEVIEWA* notification)
{
    if (notification->action == TVE_COLLAPSE)
        return;
    HWND tree = notification->hdr.hwndFrom;
    HTREEITEM node = notification->itemNew.hItem;
    const char* nodePath = NodePath(tree, node);
    if (!nodePath || lstrcmpA(nodePath, kComputerMarker) == 0)
        return;
    if (SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(node)))
        return;

    int plainFolderImage = -1;
    for (FileSearch search = FileSearch::InFolder(nodePath); search.Next();) {
        const WIN32_FIND_DATAA& found = search.Entry();
        if (!IsTreeFolder(found))
            continue;
        char path[MAX_PATH];
        if (!JoinPath(nodePath, found.cFileName, path, sizeof path))
            continue;  // a folder whose path does not fit can be neither listed nor opened
        // Plain folders share one icon per fill: the shell takes milliseconds
        // for each icon. A read-only folder may carry its own (desktop.ini).
        bool ownIcon = (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
        int image = plainFolderImage;
        if (ownIcon || plainFolderImage < 0) {
            SHFILEINFOA info = {};
            SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON);
            image = ImageList_ReplaceIcon(g_app.treeIcons, -1, info.hIcon);
            if (info.hIcon)
                DestroyIcon(info.hIcon);
            if (!ownIcon)
                plainFolderImage = image;
        }
        AddTreeNode(tree, node, image, found.cFileName, path, HasTreeChildren(path));
    }
}
