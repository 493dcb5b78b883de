#include "base/app_state.h"
#include "base/ansi_text.h"
#include "base/file_search.h"
#include "browse/browse_parts.h"
#include "browse/item_text.h"
#include "res/resource.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>

namespace {

// What the shell said about one kind of entry (files of one extension, or
// plain folders), kept for the run: the shell takes tens of milliseconds
// for each question.
struct ShellType {
    char typeName[80];
    HICON smallIcon;  // owned; copies go into the image lists
    HICON largeIcon;
    bool ownIcon;  // each file of this kind shows an icon of its own instead
};
std::unordered_map<std::string, ShellType> g_shellTypes;

// The image index of each kind's icon in the item list's image lists since
// they were last emptied: each distinct icon is stored once per listing.
std::unordered_map<std::string, int> g_imageOfKind;
int g_vaultEntryImage = -1;

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
    LONG size = sizeof className - 1;  // a value stored without its NUL stays terminated
    snprintf(key, sizeof key, ".%s", extension);
    if (RegQueryValueA(HKEY_CLASSES_ROOT, key, className, &size) != ERROR_SUCCESS || !className[0])
        return false;
    char iconKey[MAX_PATH + 20];
    char icon[MAX_PATH] = {};
    size = sizeof icon - 1;
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

const char* ShownTypeName(const char* typeName) { return lstrcmpA(typeName, "文件") == 0 ? "文件夹" : typeName; }

// The shell's answer for one path (an empty path is My Computer): display
// name, type name and small icon, and the large icon. COM is initialised
// once for the thread at start-up.
struct ShellAnswer {
    SHFILEINFOA info = {};
    HICON largeIcon = nullptr;

    explicit ShellAnswer(const char* path)
    {
        SHFILEINFOA large = {};
        if (path[0] == '\0') {
            LPITEMIDLIST computer = nullptr;
            SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer);
            auto pidl = reinterpret_cast<LPCSTR>(computer);
            SHGetFileInfoA(pidl, 0, &info, sizeof info, SHGFI_PIDL | SHGFI_ICON | SHGFI_DISPLAYNAME);
            SHGetFileInfoA(pidl, 0, &large, sizeof large, SHGFI_PIDL | SHGFI_ICON);
            CoTaskMemFree(computer);
        } else {
            SHGetFileInfoA(path, 0, &info, sizeof info,
                           SHGFI_ICON | SHGFI_SMALLICON | SHGFI_DISPLAYNAME | SHGFI_TYPENAME);
            SHGetFileInfoA(path, 0, &large, sizeof large, SHGFI_ICON);
        }
        largeIcon = large.hIcon;
    }
    ~ShellAnswer()
    {
        if (info.hIcon)
            DestroyIcon(info.hIcon);
        if (largeIcon)
            DestroyIcon(largeIcon);
    }
    ShellAnswer(const ShellAnswer&) = delete;
    ShellAnswer& operator=(const ShellAnswer&) = delete;

    // Appends the icons to the item list's two image lists; the common index.
    int AppendToItemLists() const
    {
        AppendIcon(g_app.smallIcons, info.hIcon);
        return AppendIcon(g_app.largeIcons, largeIcon);
    }
};

const ShellType& KnownShellType(const std::string& kind, const char* path, bool isFolder)
{
    auto known = g_shellTypes.find(kind);
    if (known != g_shellTypes.end())
        return known->second;
    ShellType type = {};
    type.ownIcon = !isFolder && HasOwnIcon(ExtensionOf(path));
    if (!type.ownIcon) {
        ShellAnswer answer(path);
        CopyTextCut(ShownTypeName(answer.info.szTypeName), type.typeName, sizeof type.typeName);
        type.smallIcon = CopyIcon(answer.info.hIcon);
        type.largeIcon = CopyIcon(answer.largeIcon);
    }
    return g_shellTypes.emplace(kind, type).first->second;
}

// The shell's own type name and icon for one path, asked every time.
int LookupShellType(ItemRecord& record, const char* path)
{
    ShellAnswer answer(path);
    CopyTextCut(ShownTypeName(answer.info.szTypeName), record.type, sizeof record.type);
    return answer.AppendToItemLists();
}

void SetColumnText(HWND list, int row, int column, const char* text)
{
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void PutListRow(HWND list, int row, const ItemRecord& record, RowLayout layout, int image, RowShade shade)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = row;
    item.pszText = const_cast<char*>(record.name);
    item.iImage = image;
    item.lParam = static_cast<unsigned char>(record.drive);
    if (shade == RowShade::Dimmed) {
        item.mask |= LVIF_STATE;
        item.state = LVIS_CUT;
        item.stateMask = LVIS_CUT;
    }
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));

    // The column texts go on the row index asked for, not on the one the
    // insertion returns.
    if (layout == RowLayout::Drive) {
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

}  // namespace

void AppendListRow(HWND list, const ItemRecord& record, RowLayout layout, int image, RowShade shade)
{
    PutListRow(list, static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)), record, layout, image, shade);
}

void InsertListRow(HWND list, int position, const ItemRecord& record, RowLayout layout, int image, RowShade shade)
{
    PutListRow(list, position, record, layout, image, shade);
}

int VaultEntryImage()
{
    if (g_vaultEntryImage < 0) {
        HICON icon = LoadIconA(g_app.instance, MAKEINTRESOURCEA(IDI_VAULT_ENTRY));
        AppendIcon(g_app.smallIcons, icon);
        g_vaultEntryImage = AppendIcon(g_app.largeIcons, icon);
    }
    return g_vaultEntryImage;
}

void ClearItemList(HWND window)
{
    SendMessageA(ItemList(window), LVM_DELETEALLITEMS, 0, 0);
    ImageList_Remove(g_app.smallIcons, -1);
    ImageList_Remove(g_app.largeIcons, -1);
    g_imageOfKind.clear();
    g_vaultEntryImage = -1;
}

HTREEITEM AddTreeNode(HWND tree, HTREEITEM parent, int image, const char* text, const char* path, bool hasChildren)
{
    g_app.treePathSlots.emplace_back();
    PathSlot& slot = g_app.treePathSlots.back();
    if (!CopyText(path, slot.data(), slot.size()))
        return nullptr;

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

int LookupShellName(ItemRecord& record, const char* path, int* treeImage)
{
    ShellAnswer answer(path);
    *treeImage = AppendIcon(g_app.treeIcons, answer.info.hIcon);
    CopyTextCut(answer.info.szDisplayName, record.name, sizeof record.name);
    return answer.AppendToItemLists();
}

int LookupListedType(ItemRecord& record, const char* path, DWORD attributes)
{
    bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // A read-only folder may show an icon of its own, set in its desktop.ini.
    if (isFolder && (attributes & FILE_ATTRIBUTE_READONLY))
        return LookupShellType(record, path);

    std::string kind = KindOf(path, attributes);
    const ShellType& type = KnownShellType(kind, path, isFolder);
    if (type.ownIcon)
        return LookupShellType(record, path);
    CopyTextCut(type.typeName, record.type, sizeof record.type);

    auto listed = g_imageOfKind.find(kind);
    if (listed != g_imageOfKind.end())
        return listed->second;
    AppendIcon(g_app.smallIcons, type.smallIcon);
    int image = AppendIcon(g_app.largeIcons, type.largeIcon);
    g_imageOfKind.emplace(std::move(kind), image);
    return image;
}

void ForgetShellTypes()
{
    for (auto& known : g_shellTypes) {
        if (known.second.smallIcon)
            DestroyIcon(known.second.smallIcon);
        if (known.second.largeIcon)
            DestroyIcon(known.second.largeIcon);
    }
    g_shellTypes.clear();
}

bool DescribeFile(const WIN32_FIND_DATAA& found, ItemRecord& record)
{
    CopyTextCut(found.cFileName, record.name, sizeof record.name);
    if (IsDotOrDotDot(found) || (found.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM))
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
