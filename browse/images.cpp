#include "base/app_state.h"
#include "browse/browse_parts.h"
#include "res/resource.h"

#include <cstring>
#include <vector>

namespace {

// The item list's two lists, in step, and the tree's; each image list holds
// every icon once, however often it is shown.
HIMAGELIST g_largeIcons;
HIMAGELIST g_smallIcons;
HIMAGELIST g_treeIcons;

// The vault-entry icon, the tree's blank, plain-folder and vault icons and
// each drive's icons are put in once.
int g_vaultEntryImage = -1;
int g_blankTreeImage = -1;
int g_plainFolderTreeImage = -1;
int g_vaultTreeImage = -1;
struct DriveImages {
    int list = -1;
    int tree = -1;
};
DriveImages g_driveImages[26];

// Rows whose files carry their own icon get one of a fixed number of places
// in the item lists, the place shown longest ago going to the next such row.
constexpr size_t kOwnIconPlaces = 512;
struct OwnIconPlace {
    int image;
    bool taken;
    RowStore::Id row;
};
std::vector<OwnIconPlace> g_ownIconPlaces;
size_t g_nextPlace;

int Append(HIMAGELIST list, HICON icon) { return ImageList_ReplaceIcon(list, -1, icon); }

}  // namespace

void CreateImageLists(HWND window)
{
    // Icons keep their alpha channel only in 32-bit image lists.
    g_largeIcons = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 100, 100);
    g_smallIcons = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 100, 100);
    g_treeIcons = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 100, 100);

    HWND list = ItemList(window);
    HWND tree = FolderTree(window);
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(g_largeIcons));
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(g_smallIcons));
    SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(g_treeIcons));

    LONG_PTR style = GetWindowLongPtrA(tree, GWL_STYLE);
    SetWindowLongPtrA(tree, GWL_STYLE, style | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS);
}

void DestroyImageLists(HWND window)
{
    // The list and the tree would destroy their image lists again when they
    // are destroyed, so they are detached first.
    SendMessageA(ItemList(window), LVM_SETIMAGELIST, LVSIL_SMALL, 0);
    SendMessageA(ItemList(window), LVM_SETIMAGELIST, LVSIL_NORMAL, 0);
    SendMessageA(FolderTree(window), TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
    for (HIMAGELIST* list : {&g_smallIcons, &g_largeIcons, &g_treeIcons}) {
        if (*list)
            ImageList_Destroy(*list);
        *list = nullptr;
    }
}

int AppendItemIcons(HICON small, HICON large)
{
    // Both lists grow in step, so one index names a row's icon in each.
    int index = Append(g_smallIcons, small);
    int largeIndex = Append(g_largeIcons, large);
    return index == largeIndex ? index : -1;
}

int ReplaceItemIcons(int image, HICON small, HICON large)
{
    ImageList_ReplaceIcon(g_smallIcons, image, small);
    ImageList_ReplaceIcon(g_largeIcons, image, large);
    return image;
}

int AppendTreeIcon(HICON icon) { return Append(g_treeIcons, icon); }

int VaultEntryImage()
{
    if (g_vaultEntryImage < 0) {
        HICON icon = LoadIconA(g_app.instance, MAKEINTRESOURCEA(IDI_VAULT_ENTRY));
        g_vaultEntryImage = AppendItemIcons(icon, icon);
    }
    return g_vaultEntryImage;
}

int BlankTreeImage()
{
    if (g_blankTreeImage < 0) {
        // A mask of ones and a colour of zeros: nothing is drawn.
        BYTE andMask[16 * 16 / 8];
        BYTE xorMask[16 * 16 / 8] = {};
        memset(andMask, 0xFF, sizeof andMask);
        HICON blank = CreateIcon(g_app.instance, 16, 16, 1, 1, andMask, xorMask);
        g_blankTreeImage = AppendTreeIcon(blank);
        if (blank)
            DestroyIcon(blank);
    }
    return g_blankTreeImage;
}

void PlaceDriveIcons(char letter, HICON small, HICON large)
{
    if (letter < 'A' || letter > 'Z' || (!small && !large))
        return;
    DriveImages& images = g_driveImages[letter - 'A'];
    images.list = images.list < 0 ? AppendItemIcons(small, large) : ReplaceItemIcons(images.list, small, large);
    if (images.tree < 0)
        images.tree = Append(g_treeIcons, small);
    else
        ImageList_ReplaceIcon(g_treeIcons, images.tree, small);
}

int DriveListImage(char letter) { return letter >= 'A' && letter <= 'Z' ? g_driveImages[letter - 'A'].list : -1; }

int DriveTreeImage(char letter)
{
    int image = letter >= 'A' && letter <= 'Z' ? g_driveImages[letter - 'A'].tree : -1;
    return image >= 0 ? image : BlankTreeImage();
}

bool HasPlainFolderTreeImage() { return g_plainFolderTreeImage >= 0; }

int PlainFolderTreeImage(HICON icon)
{
    if (g_plainFolderTreeImage < 0 && icon)
        g_plainFolderTreeImage = Append(g_treeIcons, icon);
    return g_plainFolderTreeImage;
}

int VaultTreeImage()
{
    if (g_vaultTreeImage < 0)
        g_vaultTreeImage = Append(g_treeIcons, g_app.appIcon);
    return g_vaultTreeImage;
}

int PlaceOwnIcon(RowStore& rows, RowStore::Id row, HICON small, HICON large)
{
    if (g_ownIconPlaces.size() < kOwnIconPlaces) {
        int image = AppendItemIcons(small, large);
        if (image >= 0)
            g_ownIconPlaces.push_back({image, true, row});
        return image;
    }
    OwnIconPlace& place = g_ownIconPlaces[g_nextPlace];
    g_nextPlace = (g_nextPlace + 1) % g_ownIconPlaces.size();
    if (place.taken) {
        // The row shown with it asks again when it is shown next.
        rows.SetOwnImage(place.row, -1);
        rows.SetOwnIconAsked(place.row, false);
    }
    place.taken = true;
    place.row = row;
    return ReplaceItemIcons(place.image, small, large);
}

void FreeOwnIconPlaces()
{
    for (OwnIconPlace& place : g_ownIconPlaces)
        place.taken = false;
}
