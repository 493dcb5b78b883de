#pragma once
// File operations in a folder view: new items, delete, rename, properties.
#include <windows.h>
#include <commctrl.h>

// The kinds of new item, each with its fixed name.
enum class NewItemKind { Folder, Bitmap, Word, PowerPoint, Text, Wave, Excel };
// Creates a new folder or empty document under its fixed name in the current
// folder, appends its row and opens its name for editing.
void CreateNewItem(HWND window, NewItemKind kind);

// Deletes the selected items for good through the shell, which asks first.
void DeleteSelectedItems(HWND window);

// Rename: the command starts editing the selected row's name; the edit
// begins (false stops it: only items of a folder can be renamed, and only
// those whose name Windows reads as it stands, the user being told why
// not); the edit ends with the typed name.
void StartRename(HWND window);
bool BeginRename(HWND window, const NMLVDISPINFOA* edit);
void FinishRename(HWND window, const NMLVDISPINFOA* edit);

// The path whose properties sheet the command shows; false when none.
bool PropertiesTarget(HWND window, char (&path)[MAX_PATH]);
void ShowProperties(HWND window);
