#pragma once
// File operations in a folder view: new items, delete, rename, properties.
#include <windows.h>
#include <commctrl.h>

// Creates a new folder (type 0) or empty document (types 1 to 6) under its
// fixed name in the current folder, appends its row and opens its label.
void CreateNewItem(HWND window, int type);
// Deletes the selected items for good through the shell, which asks first.
void DeleteSelectedItems(HWND window);
// Renames the item whose label edit just ended.
void RenameItem(HWND window, const NMLVDISPINFOA* edit);
// True when a label edit may start: only items of a folder can be renamed.
bool MayEditLabel();
// True when the item whose label edit begins may be renamed; otherwise the
// user is told why not (its name is one Windows reads as another).
bool MayRenameItem(HWND window, const char* oldName);
// The path whose properties sheet the command shows; false when none.
bool PropertiesTarget(HWND window, char (&path)[MAX_PATH]);
void ShowProperties(HWND window);
