#pragma once
// The main window: start-up, message routing, controls and layout.
#include <windows.h>

// Start-up up to the message loop: the main window, created, centred and
// shown; null when it could not be created (the user has been told).
HWND StartApplication(HINSTANCE instance, int showCommand);
int RunMessageLoop(HWND window);
// One message of the loop: offered to the accelerators, else dispatched.
void DispatchThreadMessage(HWND window, MSG& message);
void CleanUp();

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void CreateControls(HWND window);
void CreateImageLists(HWND window);
void SetColumnSet(HWND window, int set);
void LayoutControls(HWND window, LPARAM sizeParam);

enum ColumnSet { kDriveColumns = 0, kFolderColumns = 1, kVaultColumns = 2 };

void SetViewMode(HWND window, DWORD mode);
void SelectAllItems(HWND window);
void InvertSelection(HWND window);
void StartRename(HWND window);
void UpdateMenuItems(HWND window, HMENU popup, LPARAM position);
