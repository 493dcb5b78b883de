#pragma once
// State shared by the whole program: one instance, g_app.

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <deque>
#include <string>
#include <unordered_map>

// What the shell said about one kind of entry (files of one extension, or
// plain folders), kept for the whole run.
struct ShellType {
    char typeName[80];
    HICON smallIcon;  // owned; copies go into the image lists
    HICON largeIcon;
    bool ownIcon;  // each file of this kind shows an icon of its own instead
};

// The image index of each kind's icon in the item list's image lists since
// they were last emptied: each distinct icon is stored once per listing.
struct ListingIcons {
    std::unordered_map<std::string, int> imageOfKind;
    int vaultIcon = -1;
};

using PathSlot = std::array<char, MAX_PATH>;

struct AppState {
    HINSTANCE instance = nullptr;
    HICON appIcon = nullptr;
    HWND mainWindow = nullptr;
    HACCEL accelerators = nullptr;
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
    std::unordered_map<std::string, ShellType> shellTypes;
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
