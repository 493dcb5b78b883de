#include "base/ansi_text.h"
#include "base/app_state.h"
#include "base/controls.h"
#include "base/file_search.h"
#include "base/item_names.h"
#include "base/messages.h"
#include "browse/browse_parts.h"
#include "browse/item_text.h"
#include "browse/kinds.h"

#include <shellapi.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

void ShowLocationText(HWND window) { SetStatusText(window, StatusPart::Location, LocationText(CurrentFolder())); }

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

// Tree nodes whose sub-folders are being searched, with the number of the search.
std::map<HTREEITEM, unsigned> g_fills;
unsigned g_lastFill;

struct FoundFolder {
    std::string name;
    std::string path;
    bool hasChildren;
    HICON ownIcon;  // read-only folders may carry their own (desktop.ini)
};

class FoldersFound : public Answer {
public:
    FoldersFound(HTREEITEM node, unsigned fill, std::vector<FoundFolder> folders, HICON plainIcon, bool last)
        : node_(node), fill_(fill), folders_(std::move(folders)), plainIcon_(plainIcon), last_(last)
    {
    }
    ~FoldersFound() override
    {
        for (const FoundFolder& folder : folders_) {
            if (folder.ownIcon)
                DestroyIcon(folder.ownIcon);
        }
        if (plainIcon_)
            DestroyIcon(plainIcon_);
    }
    void Deliver(HWND window) override
    {
        auto fill = g_fills.find(node_);
        if (fill == g_fills.end() || fill->second != fill_)
            return;
        HWND tree = FolderTree(window);
        int plainImage = PlainFolderTreeImage(plainIcon_);
        for (const FoundFolder& folder : folders_) {
            int image = folder.ownIcon ? AppendTreeIcon(folder.ownIcon) : plainImage;
            AddTreeNode(tree, node_, image, folder.name.c_str(), folder.path.c_str(), folder.hasChildren);
        }
        if (!last_)
            return;
        g_fills.erase(fill);
        if (!SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(node_))) {
            TVITEMA item = {};
            item.mask = TVIF_HANDLE | TVIF_CHILDREN;
            item.hItem = node_;
            SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
        UpdateWorkingCursor(window);
    }

private:
    HTREEITEM node_;
    unsigned fill_;
    std::vector<FoundFolder> folders_;
    HICON plainIcon_;
    bool last_;
};

constexpr size_t kFoldersPerAnswer = 200;
constexpr DWORD kFolderAnswerInterval = 50;  // milliseconds

void FindSubFolders(HWND window, HTREEITEM node, unsigned fill, const std::string& folder, UINT driveType,
                    bool askPlainIcon)
{
    HICON plainIcon = nullptr;
    if (askPlainIcon) {
        SHFILEINFOA info = {};
        SHGetFileInfoA("folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                       SHGFI_USEFILEATTRIBUTES | SHGFI_ICON | SHGFI_SMALLICON);
        plainIcon = info.hIcon;
    }
    std::vector<FoundFolder> found;
    DWORD sentAt = GetTickCount();
    // An optical drive is left alone until it is known not to be one.
    char root[4] = {folder[0], ':', '\\', '\0'};
    bool optical = folder.size() == 2 && driveType == kDriveTypeNotKnown && GetDriveTypeA(root) == kCdRomDrive;
    for (FileSearch search = FileSearch::InFolder(optical ? nullptr : folder.c_str()); search.Next();) {
        const WIN32_FIND_DATAA& entry = search.Entry();
        char path[MAX_PATH];
        // A folder whose path doesn't fit can be neither listed nor opened.
        if (!IsTreeFolder(entry) || !JoinPath(folder.c_str(), entry.cFileName, path, sizeof path))
            continue;
        HICON ownIcon = nullptr;
        if (ShowsOwnIcon(entry.dwFileAttributes, kNoKind)) {
            SHFILEINFOA info = {};
            SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON);
            ownIcon = info.hIcon;
        }
        found.push_back({entry.cFileName, path, HasTreeChildren(path), ownIcon});
        if (found.size() >= kFoldersPerAnswer || GetTickCount() - sentAt >= kFolderAnswerInterval) {
            PostAnswer(window, std::make_unique<FoldersFound>(node, fill, std::move(found), plainIcon, false));
            found.clear();
            plainIcon = nullptr;
            sentAt = GetTickCount();
        }
    }
    PostAnswer(window, std::make_unique<FoldersFound>(node, fill, std::move(found), plainIcon, true));
}

}  // namespace

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

namespace {

bool ShowTreeNode(HWND window, HTREEITEM node)
{
    HWND tree = FolderTree(window);
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

}  // namespace

bool HandleTreeClick(HWND window) { return ShowTreeNode(window, ClickedTreeNode(FolderTree(window))); }

bool HandleTreeReturn(HWND window)
{
    HWND tree = FolderTree(window);
    return ShowTreeNode(window,
                        reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void OpenSelectedItem(HWND window)
{
    ListedItem item;
    if (!MarkedItem(window, item))
        return;
    if (CurrentView() == View::Drives) {
        // The row keeps its drive's letter, so rows whose display name hides it still open.
        char drive[3] = {item.drive, ':', '\0'};
        if (item.drive)
            ShowLocation(window, drive);
        return;
    }
    if (CurrentView() == View::Vault || RefuseNotAddressable(window, item.name.c_str()))
        return;

    char path[MAX_PATH];
    if (!JoinPath(CurrentFolder(), item.name.c_str(), path, sizeof path)) {
        ShowFormattedMessage(window, Message::PathTooLongToOpen, nullptr, item.name.c_str());
        return;
    }
    // A folder opened from the list keeps the columns as the user left them.
    if (item.attributes & FILE_ATTRIBUTE_DIRECTORY)
        ShowLocation(window, path, Columns::Keep);
    else
        OpenItemInBackground(window, path);
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
    ListedItem item;
    if (selected >= 2 || !MarkedItem(window, item)) {
        snprintf(text, sizeof text, "选定 %i 个对象", selected);
        SetStatusText(window, StatusPart::Location, text);
        return;
    }
    if (CurrentView() != View::Folder || (item.attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetStatusText(window, StatusPart::Location, "选定 1 个对象");
        return;
    }
    char type[80];
    char time[40];
    char size[30];
    RowColumnText(item.id, IndexOf(FolderColumn::Type), type, sizeof type);
    RowColumnText(item.id, IndexOf(FolderColumn::Time), time, sizeof time);
    RowColumnText(item.id, IndexOf(FolderColumn::Size), size, sizeof size);
    snprintf(text, sizeof text, "类型: %s 修改日期: %s 大小: %s", type, time, size);
    SetStatusText(window, StatusPart::Location, text);
}

void FillTreeNode(HWND window, NMTREEVIEWA* notification)
{
    if (notification->action == TVE_COLLAPSE)
        return;
    HWND tree = notification->hdr.hwndFrom;
    HTREEITEM node = notification->itemNew.hItem;
    const char* nodePath = NodePath(tree, node);
    if (!nodePath || lstrcmpA(nodePath, kComputerMarker) == 0 || lstrcmpA(nodePath, kVaultMarker) == 0)
        return;
    // A node is filled once, on its first expansion.
    if (g_fills.count(node) || SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(node)))
        return;
    unsigned fill = ++g_lastFill;
    std::string folder = nodePath;
    bool askPlainIcon = !HasPlainFolderTreeImage();
    UINT driveType = KnownDriveType(folder[0]);
    if (RunInBackground([window, node, fill, folder, driveType, askPlainIcon] {
            FindSubFolders(window, node, fill, folder, driveType, askPlainIcon);
        })) {
        g_fills[node] = fill;
        UpdateWorkingCursor(window);
    }
}

bool TreeFillsRunning() { return !g_fills.empty(); }

void ForgetTreeNode(HTREEITEM node) { g_fills.erase(node); }

void ForgetTreeWork() { g_fills.clear(); }
