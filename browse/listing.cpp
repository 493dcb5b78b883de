#include "base/app_state.h"
#include "base/controls.h"
#include "base/ansi_text.h"
#include "base/file_search.h"
#include "base/messages.h"
#include "base/redraw_guard.h"
#include "base/vault_names.h"
#include "browse/browse.h"
#include "browse/browse_parts.h"

#include <shellapi.h>

#include <cstdio>

namespace {

void ShowObjectCount(HWND window)
{
    char countText[32];
    snprintf(countText, sizeof countText, "%d 个对象",
             static_cast<int>(SendMessageA(ItemList(window), LVM_GETITEMCOUNT, 0, 0)));
    SetStatusText(window, 1, countText);
}

RowShade ShadeOf(DWORD attributes) { return attributes & FILE_ATTRIBUTE_HIDDEN ? RowShade::Dimmed : RowShade::Normal; }

// Lists the entries of one folder; returns how many were left out because
// their full path does not fit a path buffer.
int ListFolderEntries(HWND list, const char* folder)
{
    int skipped = 0;
    for (FileSearch search = FileSearch::InFolder(folder); search.Next();) {
        const WIN32_FIND_DATAA& found = search.Entry();
        ItemRecord record = {};
        if (!DescribeFile(found, record))
            continue;
        char path[MAX_PATH];
        if (!JoinPath(folder, found.cFileName, path, sizeof path)) {
            ++skipped;
            continue;
        }
        int image = LookupListedType(record, path, found.dwFileAttributes);
        AppendListRow(list, record, RowLayout::File, image, ShadeOf(found.dwFileAttributes));
    }
    return skipped;
}

void ListVaultOfDrive(HWND list, char letter)
{
    char vault[16];
    VaultFolderOf(letter, vault);
    SetCurrentFolder(vault);
    for (FileSearch search = FileSearch::InFolder(vault); search.Next();) {
        ItemRecord record = {};
        if (!DescribeFile(search.Entry(), record))
            continue;
        ItemRecord row = {};
        if (!RestoreHomePath(letter, search.Entry().cFileName, row.name, sizeof row.name))
            continue;  // a stored name that fits no home path is not one of ours
        AppendListRow(list, row, RowLayout::File, VaultEntryImage(), RowShade::Normal);
    }
}

void AddPathRow(HWND window, const char* path, int position)
{
    FileSearch search = FileSearch::ForPath(path);
    ItemRecord record = {};
    if (!search.Next() || !DescribeFile(search.Entry(), record))
        return;
    DWORD attributes = search.Entry().dwFileAttributes;
    int image = LookupListedType(record, path, attributes);
    if (position < 0)
        AppendListRow(ItemList(window), record, RowLayout::File, image, RowShade::Normal);
    else
        InsertListRow(ItemList(window), position, record, RowLayout::File, image, ShadeOf(attributes));
}

}  // namespace

void ShowLocation(HWND window, const char* location, Columns columns)
{
    char copy[MAX_PATH];
    lstrcpynA(copy, location, sizeof copy);
    View view = ViewOfLocation(copy);
    if (view == View::Folder && (RefuseNotAddressable(window, copy) || !CanListFolder(window, copy)))
        return;
    ClearItemList(window);
    if (columns == Columns::Install)
        SetColumnSet(window, view == View::Drives  ? kDriveColumns
                             : view == View::Vault ? kVaultColumns
                                                   : kFolderColumns);
    switch (view) {
    case View::Drives: ShowDrives(window); break;
    case View::Vault: ListVault(window); break;
    case View::Folder: OpenPath(window, copy); break;
    }
    SetCurrentFolder(copy);
}

void RefreshView(HWND window) { ShowLocation(window, CurrentFolder()); }

void RefreshViewAndShellTypes(HWND window)
{
    ForgetShellTypes();
    RefreshView(window);
}

void ShowFirstView(HWND window)
{
    ShowDrives(window);
    BuildFolderTree(window);
}

bool CanListFolder(HWND window, const char* path)
{
    char pattern[MAX_PATH];
    if (JoinPath(path, "*.*", pattern, sizeof pattern))
        return true;
    ShowFormattedMessage(window, Message::PathTooLongToOpen, nullptr, path);
    return false;
}

void OpenPath(HWND window, const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        INT_PTR result =
            reinterpret_cast<INT_PTR>(ShellExecuteA(window, "open", path, nullptr, nullptr, SW_SHOWNORMAL));
        if (result <= 32)
            ReportOpenError(window, path, result);
        return;
    }
    if (!CanListFolder(window, path))
        return;

    char folder[MAX_PATH];
    lstrcpynA(folder, path, sizeof folder);
    SetCurrentFolder(folder);
    int skipped;
    {
        HWND list = ItemList(window);
        RedrawGuard quiet(list);
        skipped = ListFolderEntries(list, folder);
    }
    SetStatusText(window, 0, CurrentFolder());
    ShowObjectCount(window);
    if (skipped > 0)
        ShowFormattedMessage(window, Message::EntriesNotListed, nullptr, skipped);
}

void ListVault(HWND window)
{
    {
        HWND list = ItemList(window);
        RedrawGuard quiet(list);
        for (const char* letter = g_app.driveLetters; *letter; ++letter)
            ListVaultOfDrive(list, *letter);
    }
    SetStatusText(window, 0, LocationText(kVaultMarker));
    ShowObjectCount(window);
}

void AppendPathRow(HWND window, const char* path) { AddPathRow(window, path, -1); }

void InsertPathRow(HWND window, const char* path, int position) { AddPathRow(window, path, position); }

void ReportOpenError(HWND window, const char* path, INT_PTR code)
{
    switch (code) {
    case SE_ERR_SHARE: ShowMessage(window, Message::OpenSharingViolation, path); break;
    case SE_ERR_NOASSOC: ShowMessage(window, Message::OpenNoAssociation, path); break;
    case SE_ERR_DLLNOTFOUND: ShowMessage(window, Message::OpenDllNotFound, path); break;
    case ERROR_BAD_FORMAT: ShowFormattedMessage(window, Message::OpenNotAProgram, path, path); break;
    case SE_ERR_ACCESSDENIED: ShowMessage(window, Message::OpenAccessDenied, path); break;
    }
}
