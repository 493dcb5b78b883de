#pragma once
// State shared by the whole program: one instance, g_app.

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <deque>
#include <string>
#include <unordered_map>

// The icon and type name that one kind of entry shows in the current listing.
struct ListedType {
    int image;
    char typeName[80];
    bool ownIcon;  // each file of this kind shows its own icon
};

// Icons already appended to the item list's image lists since they were last
// emptied, so each distinct icon is stored once per listing.
struct ListingIcons {
    std::unordered_map<std::string, ListedType> byKind;
    int vaultIcon = -1;
};

using PathSlot = std::array<char, MAX_PATH>;

struct AppState {
    HINSTANCE instance = nullptr;
    HICON appIcon = nullptr;
    HWND mainWindow = nullptr;
    HIMAGELIST largeIcons = nullptr;
    HIMAGELIST smallIcons = nullptr;
    HIMAGELIST treeIcons = nullptr;

    // Empty for the drives view, "hide" for the vault view, otherwise the
    // folder shown, without trailing backslash ("D:" for a drive's root).
    char currentFolder[MAX_PATH] = {};
    char driveLetters[30] = {};
    char labelEditOldName[MAX_PATH] = {};

    // Paths of the folder-tree nodes; a node's item data points into this
    // table, which only grows and never moves its elements.
    std::deque<PathSlot> treePathSlots;
    ListingIcons listingIcons;
};

extern AppState g_app;

// The controls, found by their ids on the main window.
HWND FolderTree(HWND window);
HWND ItemList(HWND window);
HWND StatusBar(HWND window);

bool IsDrivesView();
bool IsVaultView();
void SetCurrentFolder(const char* folder);
