#include "app/app_state.h"
#include "app/frame.h"
#include "app/message.h"
#include "browse/browse.h"
#include "browse/item_text.h"
#include "browse/redraw_guard.h"

#include <shellapi.h>

#include <cstdio>

namespace {

// Search pattern of a folder; false when it does not fit a path buffer.
bool MakeSearchPattern(const char* folder, char (&pattern)[MAX_PATH])
{
    return JoinPath(folder, "*.*", pattern, sizeof pattern);
}

void ShowObjectCount(HWND window)
{
    char countText[32];
    snprintf(countText, sizeof countText, "%d 个对象",
             static_cast<int>(SendMessageA(ItemList(window), LVM_GETITEMCOUNT, 0, 0)));
    SetStatusText(window, 1, countText);
}

void ReportSkippedEntries(HWND window, int skipped)
{
    if (skipped == 0)
        return;
    char text[128];
    snprintf(text, sizeof text, "有 %d 个项目的路径过长，未列出", skipped);
    ShowMessage(window, text, "提示", MB_ICONWARNING);
}

// Lists the entries of one folder; returns how many were left out because
// their full path does not fit a path buffer.
int ListFolderEntries(HWND list, const char* folder)
{
    char pattern[MAX_PATH];
    if (!MakeSearchPattern(folder, pattern))
        return 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int skipped = 0;
    do {
        ItemRecord record = {};
        if (!DescribeFile(found, record))
            continue;
        char path[MAX_PATH];
        if (!JoinPath(folder, found.cFileName, path, sizeof path)) {
            ++skipped;
            continue;
        }
        int image = LookupListedType(record, path, found.dwFileAttributes);
        AddListRow(list, 0, image, record, kFileLayout, false, !(found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN));
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return skipped;
}

void ListVaultOfDrive(HWND list, char letter)
{
    char vault[MAX_PATH];
    snprintf(vault, sizeof vault, "%c:\\ \\Quillnest", letter);
    SetCurrentFolder(vault);
    char pattern[MAX_PATH];
    MakeSearchPattern(vault, pattern);

    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        ItemRecord record = {};
        if (!DescribeFile(found, record))
            continue;
        ItemRecord row = {};
        if (!RestoreHomePath(letter, found.cFileName, row.name, sizeof row.name))
            continue;  // a stored name always fits its home path; anything else is not ours
        AddListRow(list, 0, kVaultIconRequest, row, kFileLayout, false, true);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace

void ClearItemList(HWND window)
{
    SendMessageA(ItemList(window), LVM_DELETEALLITEMS, 0, 0);
    ImageList_Remove(g_app.smallIcons, -1);
    ImageList_Remove(g_app.largeIcons, -1);
    g_app.listingIcons = ListingIcons();
}

bool CanListFolder(HWND window, const char* path)
{
    char pattern[MAX_PATH];
    if (MakeSearchPattern(path, pattern))
        return true;
    ShowFormattedMessage(window, "提示", MB_ICONWARNING, "路径太长，无法打开：%s", path);
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
    SetStatusText(window, 0, g_app.currentFolder);
    ShowObjectCount(window);
    ReportSkippedEntries(window, skipped);
}

void ListVault(HWND window)
{
    {
        HWND list = ItemList(window);
        RedrawGuard quiet(list);
        for (const char* letter = g_app.driveLetters; *letter; ++letter)
            ListVaultOfDrive(list, *letter);
    }
    SetStatusText(window, 0, "Quillvane");
    ShowObjectCount(window);
}

void AddPathRow(HWND window, const char* path, int position, bool atPosition)
{
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    ItemRecord record = {};
    if (DescribeFile(found, record)) {
        int image = LookupListedType(record, path, found.dwFileAttributes);
        bool shownNormally = !atPosition || !(found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN);
        AddListRow(ItemList(window), position, image, record, kFileLayout, atPosition, shownNormally);
    }
    FindClose(search);
}

void RefreshView(HWND window)
{
    ClearItemList(window);
    if (IsDrivesView()) {
        SetColumnSet(window, kDriveColumns);
        ShowDrives(window);
        SetCurrentFolder("");
    } else if (IsVaultView()) {
        SetColumnSet(window, kVaultColumns);
        ListVault(window);
        SetCurrentFolder(kVaultViewMarker);
    } else {
        char folder[MAX_PATH];
        lstrcpynA(folder, g_app.currentFolder, sizeof folder);
        SetColumnSet(window, kFolderColumns);
        OpenPath(window, folder);
    }
}

void ReportOpenError(HWND window, const char* path, INT_PTR code)
{
    switch (code) {
    case SE_ERR_SHARE: ShowMessage(window, "发生共享冲突", path, MB_ICONERROR); break;
    case SE_ERR_NOASSOC: ShowMessage(window, "没有与给定的文件扩展名关联的应用程序", path, MB_ICONERROR); break;
    case SE_ERR_DLLNOTFOUND: ShowMessage(window, "指定的动态链接库没有被找到", path, MB_ICONERROR); break;
    case ERROR_BAD_FORMAT:
        ShowFormattedMessage(window, path, MB_ICONERROR, "%s 不是有效的 Win32 应用程序", path);
        break;
    case SE_ERR_ACCESSDENIED: ShowMessage(window, "拒绝访问，没有打开该文件的权限", path, MB_ICONERROR); break;
    }
}
