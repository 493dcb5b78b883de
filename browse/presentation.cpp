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
// name, type name and small icon, and the large icon.
struct ShellAnswer {
    SHFILEINFOA info = {};
    HICON largeIcon = nullptr;
};

void AskShell(const char* path, ShellAnswer& answer)
{
    HRESULT com = CoInitialize(nullptr);
    if (path[0] == '\0') {
        LPITEMIDLIST computer = nullptr;
        SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer);
        SHGetFileInfoA(reinterpret_cast<LPCSTR>(computer), 0, &answer.info, sizeof answer.info,
                       SHGFI_PIDL | SHGFI_ICON | SHGFI_DISPLAYNAME);
        SHFILEINFOA large = {};
        SHGetFileInfoA(reinterpret_cast<LPCSTR>(computer), 0, &large, sizeof large, SHGFI_PIDL | SHGFI_ICON);
        answer.largeIcon = large.hIcon;
        CoTaskMemFree(computer);
    } else {
        SHGetFileInfoA(path, 0, &answer.info, sizeof answer.info,
                       SHGFI_ICON | SHGFI_SMALLICON | SHGFI_DISPLAYNAME | SHGFI_TYPENAME);
        SHFILEINFOA large = {};
        SHGetFileInfoA(path, 0, &large, sizeof large, SHGFI_ICON);
        answer.largeIcon = large.hIcon;
    }
    if (SUCCEEDED(com))
        CoUninitialize();
}

void ReleaseAnswer(ShellAnswer& answer)
{
    if (answer.info.hIcon)
        DestroyIcon(answer.info.hIcon);
    if (answer.largeIcon)
        DestroyIcon(answer.largeIcon);
}

// What the shell says about one kind of entry, asked once per run: the
// shell takes tens of milliseconds for each question.
const ShellType& KnownShellType(const std::string& kind, const char* path, bool isFolder)
{
    auto known = g_app.shellTypes.find(kind);
    if (known != g_app.shellTypes.end())
        return known->second;
    ShellType type = {};
    type.ownIcon = !isFolder && HasOwnIcon(ExtensionOf(path));
    if (!type.ownIcon) {
        ShellAnswer answer;
        AskShell(path, answer);
        CopyTextCut(ShownTypeName(answer.info.szTypeName), type.typeName, sizeof type.typeName);
        type.smallIcon = answer.info.hIcon;
        type.largeIcon = answer.largeIcon;
    }
    return g_app.shellTypes.emplace(kind, type).first->second;
}

void SetColumnText(HWND list, int row, int column, const char* text)
{
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

// Reads one column of a row; the list view may leave a cut text without its
// terminating NUL, so the buffer is terminated here.
void ReadRowText(HWND list, int row, int column, char* text, int capacity)
{
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = capacity;
    text[0] = '\0';
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    text[capacity - 1] = '\0';
}

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
    ShellAnswer answer;
    AskShell(path, answer);
    if (mode == kTypeMode) {
        CopyTextCut(ShownTypeName(answer.info.szTypeName), record.type, sizeof record.type);
    } else {
        int treeIndex = AppendIcon(g_app.treeIcons, answer.info.hIcon);
        if (treeImage)
            *treeImage = treeIndex;
        CopyTextCut(answer.info.szDisplayName, record.name, sizeof record.name);
    }
    AppendIcon(g_app.smallIcons, answer.info.hIcon);
    int image = AppendIcon(g_app.largeIcons, answer.largeIcon);
    ReleaseAnswer(answer);
    return image;
}

int LookupListedType(ItemRecord& record, const char* path, DWORD attributes)
{
    bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // A read-only folder may show an icon of its own, set in its desktop.ini.
    if (isFolder && (attributes & FILE_ATTRIBUTE_READONLY))
        return LookupShellInfo(record, path, kTypeMode, nullptr);

    std::string kind = KindOf(path, attributes);
    const ShellType& type = KnownShellType(kind, path, isFolder);
    if (type.ownIcon)
        return LookupShellInfo(record, path, kTypeMode, nullptr);
    CopyTextCut(type.typeName, record.type, sizeof record.type);

    auto listed = g_app.listingIcons.imageOfKind.find(kind);
    if (listed != g_app.listingIcons.imageOfKind.end())
        return listed->second;
    AppendIcon(g_app.smallIcons, type.smallIcon);
    int image = AppendIcon(g_app.largeIcons, type.largeIcon);
    g_app.listingIcons.imageOfKind.emplace(std::move(kind), image);
    return image;
}

void ForgetShellTypes()
{
    for (auto& known : g_app.shellTypes) {
        if (known.second.smallIcon)
            DestroyIcon(known.second.smallIcon);
        if (known.second.largeIcon)
            DestroyIcon(known.second.largeIcon);
    }
    g_app.shellTypes.clear();
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
