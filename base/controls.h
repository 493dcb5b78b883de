#pragma once
// The main window's child controls: creation, image lists, column sets,
// view mode, status bar and layout.
#include "base/columns.h"

#include <windows.h>

// Creates the tree, the item list (drive columns, details view) and the
// status bar; the image lists and the first view are the caller's.
void CreateControls(HWND window);
void SetColumnSet(HWND window, ColumnSet set);
void LayoutControls(HWND window, LPARAM sizeParam);
void SetViewMode(HWND window, DWORD mode);
void SetStatusText(HWND window, StatusPart part, const char* text);
