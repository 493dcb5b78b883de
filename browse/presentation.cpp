#include "app/app_state.h"
#include "browse/browse.h"
#include "browse/item_text.h"
#include "res/resource.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

namespace {

// Extensions whose files each carry an icon of their own.
const char* const kOwnIconExtensions[] = {"exe", "ico", "lnk", "cur", "ani", "scr", "pif", "url", "cpl"};

// True when a file type takes its icon from each file: one of the known
// extensions, or a registered class whose default icon is the file itself.
bool HasOwnIcon(const char* extension)
{
    for (const char* own : kOwnIconExtensions) {
        if (SameExtension(extension, own))
            return true;
    }
    if (!*extension || strlen(extension) > 200)
        return false;
    char key[MAX_PATH];
    char className[MAX_PATH] = {};
    LONG size = sizeof className;
    snprintf(key, sizeof key, ".%s", extension);
    if (RegQueryValueA(HKEY_CLASSES_ROOT, key, className, &size) != ERROR_SUCCESS || !className[0])
        return false;
    char iconKey[MAX_PATH + 20];
    char icon[MAX_PATH] = {};
    size = sizeof icon;
    snprintf(iconKey, sizeof iconKey, "%s\\DefaultIcon", className);
    if (RegQueryValueA(HKEY_CLASSES_ROOT, iconKey, icon, &size) != ERROR_SUCCESS)
        return false;
    return strncmp(icon, "%1", 2) == 0 || strncmp(icon, "\"%1\"", 4) == 0;
}

// The cache key of an entry's kind: its lower-cased extension, or a text no
// extension can be for folders.
std::string KindOf(const char* path, DWORD attributes)
{
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return "\\folder";
    char kind[MAX_PATH];
    CopyTextCut(ExtensionOf(path), kind, sizeof kind);
    LowerCaseLetters(kind);
    return kind;
}

int AppendIcon(HIMAGELIST list, HICON icon) { return ImageList_ReplaceIcon(list, -1, icon); }

void SetColumnText(HWND list, int row, int column, const char* text)
{
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

void SetStatusText(HWND window, int part, const char* text)
{
    SendMessageA(StatusBar(window), SB_SETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
}

void AddListRow(HWND list, int position, int image, const ItemRecord& record, RowLayout layout, bool atPosition,
                bool shownNormally)
{
    if (image == kVaultIconRequest) {
        if (g_app.listingIcons.vaultIcon < 0) {
            HICON vaultIcon = LoadIconA(g_app.instance, MAKEINTRESOURCEA(IDI_VAULT_ENTRY));
            AppendIcon(g_app.smallIcons, vaultIcon);
            g_app.listingIcons.vaultIcon = AppendIcon(g_app.largeIcons, vaultIcon);
        }
        image = g_app.listingIcons.vaultIcon;
    }
    int row = atPosition ? position : static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));

    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = row;
    item.pszText = const_cast<char*>(record.name);
    item.iImage = image;
    item.lParam = static_cast<unsigned char>(record.drive);
    if (!shownNormally) {
        item.mask |= LVIF_STATE;
        item.state = LVIS_CUT;
        item.stateMask = LVIS_CUT;
    }
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));

    if (layout == kDriveLayout) {
        SetColumnText(list, row, 1, record.type);
        SetColumnText(list, row, 2, record.size);
        SetColumnText(list, row, 3, record.freeSpace);
        SetColumnText(list, row, 4, record.fileSystem);
    } else {
        SetColumnText(list, row, 1, record.size);
        SetColumnText(list, row, 2, record.type);
        SetColumnText(list, row, 3, record.time);
    }
}

HTREEITEM AddTreeNode(HWND tree, HTREEITEM parent, int image, const char* text, const char* path, bool hasChildren)
{
    if (lstrlenA(path) >= MAX_PATH)
        return nullptr;
    if (image == kVaultIconRequest)
        image = AppendIcon(g_app.treeIcons, g_app.appIcon);

    g_app.treePathSlots.emplace_back();
    PathSlot& slot = g_app.treePathSlots.back();
    lstrcpynA(slot.data(), path, MAX_PATH);

    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = const_cast<char*>(text);
    insert.item.iImage = image;
    insert.item.iSelectedImage = image;
    insert.item.lParam = reinterpret_cast<LPARAM>(slot.data());
    insert.item.cChildren = (parent == TVI_ROOT || hasChildren) ? 1 : 0;
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

int LookupShellInfo(ItemRecord& record, const char* path, ShellInfoMode mode, int* treeImage)
{
    SHFILEINFOA info = {};
    HRESULT com = CoInitialize(nullptr);
    LPITEMIDLIST computer = nullptr;
    bool isComputer = path[0] == '\0';
    if (isComputer) {
        SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer);
        SHGetFileInfoA(reinterpret_cast<LPCSTR>(computer), 0, &info, sizeof info,
                       SHGFI_PIDL | SHGFI_ICON | SHGFI_DISPLAYNAME);
    } else {
        SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON | SHGFI_DISPLAYNAME | SHGFI_TYPENAME);
    }

    if (mode == kTypeMode) {
        CopyTextCut(lstrcmpA(info.szTypeName, "文件") == 0 ? "文件夹" : info.szTypeName, record.type,
                    sizeof record.type);
    } else {
        int treeIndex = AppendIcon(g_app.treeIcons, info.hIcon);
        if (treeImage)
            *treeImage = treeIndex;
        CopyTextCut(info.szDisplayName, record.name, sizeof record.name);
    }
    AppendIcon(g_app.smallIcons, info.hIcon);
    if (info.hIcon)
        DestroyIcon(info.hIcon);

    SHFILEINFOA large = {};
    if (isComputer)
        SHGetFileInfoA(reinterpret_cast<LPCSTR>(computer), 0, &large, sizeof large, SHGFI_PIDL | SHGFI_ICON);
    else
        SHGetFileInfoA(path, 0, &large, sizeof large, SHGFI_ICON);
    int image = AppendIcon(g_app.largeIcons, large.hIcon);
    if (large.hIcon)
        DestroyIcon(large.hIcon);

    if (computer)
        CoTaskMemFree(computer);
    if (SUCCEEDED(com))
        CoUninitialize();
    return image;
}

int LookupListedType(ItemRecord& record, const char* path, DWORD attributes)
{
    bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // A read-only folder may show an icon of its own, set in its desktop.ini.
    if (isFolder && (attributes & FILE_ATTRIBUTE_READONLY))
        return LookupShellInfo(record, path, kTypeMode, nullptr);

    std::string kind = KindOf(path, attributes);
    auto known = g_app.listingIcons.byKind.find(kind);
    if (known == g_app.listingIcons.byKind.end()) {
        ListedType listed = {};
        listed.ownIcon = !isFolder && HasOwnIcon(ExtensionOf(path));
        listed.image = LookupShellInfo(record, path, kTypeMode, nullptr);
        CopyTextCut(record.type, listed.typeName, sizeof listed.typeName);
        g_app.listingIcons.byKind.emplace(std::move(kind), listed);
        return listed.image;
    }
    if (known->second.ownIcon)
        return LookupShellInfo(record, path, kTypeMode, nullptr);
    CopyTextCut(known->second.typeName, record.type, sizeof record.type);
    return known->second.image;
}

bool DescribeFile(const WIN32_FIND_DATAA& found, ItemRecord& record)
{
    CopyTextCut(found.cFileName, record.name, sizeof record.name);
    if (lstrcmpA(found.cFileName, ".") == 0 || lstrcmpA(found.cFileName, "..") == 0 ||
        (found.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM))
        return false;

    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        uint64_t bytes = (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        FormatKilobytes(bytes, record.size, sizeof record.size);
    }
    FILETIME local = {};
    SYSTEMTIME time = {};
    if (FileTimeToLocalFileTime(&found.ftLastWriteTime, &local))
        FileTimeToSystemTime(&local, &time);
    FormatItemTime(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, record.time, sizeof record.time);
    return true;
}

void DescribeDriveType(UINT code, ItemRecord& record)
{
    static const char* const kTypeTexts[] = {"未知磁盘类型", "磁盘名无效", "可移动磁盘", "本地磁盘",
                                             "网络磁盘",     "光驱",       "RAM"};
    const char* text = code < sizeof kTypeTexts / sizeof kTypeTexts[0] ? kTypeTexts[code] : "GetDriveType的返回值非法";
    CopyTextCut(text, record.type, sizeof record.type);
}
