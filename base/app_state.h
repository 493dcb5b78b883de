#pragma once
// State shared by the whole program (one instance, g_app) and the controls
// of the main window, found by their ids whenever they are needed.

#include "base/location.h"

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <deque>

using PathSlot = std::array<char, MAX_PATH>;

// A new password has up to this many characters. Every stored password of
// up to kStoredPasswordBytes bytes can be entered: earlier versions stored
// up to 99.
constexpr int kPasswordCharacters = 32;
constexpr int kStoredPasswordBytes = 99;

struct AppState {
    HINSTANCE instance = nullptr;
    HICON appIcon = nullptr;
    HWND mainWindow = nullptr;
    HACCEL accelerators = nullptr;
    int dpi = 96;  // the system's, read once at start-up; fixed sizes are scaled from 96

    char currentFolder[MAX_PATH] = {};  // see base/location.h
    char driveLetters[27] = {};         // the drives present when the drives view was last built
    // The text last typed into a password dialog during this run.
    char rememberedPassword[kStoredPasswordBytes + 1] = {};

    // Paths of the folder-tree nodes; a node's item data points into this
    // table, which only grows and never moves its elements.
    std::deque<PathSlot> treePathSlots;
};

extern AppState g_app;

HWND FolderTree(HWND window);
HWND ItemList(HWND window);
HWND StatusBar(HWND window);

const char* CurrentFolder();
View CurrentView();
void SetCurrentFolder(const char* folder);
