#pragma once
// Browsing: what the item list and the folder tree show and how the user
// moves between locations. This header is what the router and the other
// subsystems use.
#include <windows.h>
#include <commctrl.h>

// Whether showing a location installs its column set afresh (widths and all)
// or keeps the columns the user has: opening a folder from the list keeps them.
enum class Columns { Install, Keep };

// Shows a location (see base/location.h) the one way every refill goes:
// rows and icons cleared, the column set installed, the listing, then the
// new current folder. A folder whose search pattern doesn't fit a path is
// refused with a message and the view stays.
void ShowLocation(HWND window, const char* location, Columns columns = Columns::Install);
// Rebuilds the current view from scratch.
void RefreshView(HWND window);
// The user's refresh also asks the shell afresh what each kind of file is.
void RefreshViewAndShellTypes(HWND window);

// One row for one entry of the current folder view: appended (never dimmed),
// or inserted at a position (dimmed when hidden). Nothing when it's gone.
void AppendPathRow(HWND window, const char* path);
void InsertPathRow(HWND window, const char* path, int position);

// Fills the drives view and the folder tree at start-up.
void ShowFirstView(HWND window);

// Notifications and commands of the item list and the tree.
void ShowSelectionStatus(HWND window);
// A click in the tree: navigates to the node clicked; true when it was the
// vault node, which is left to the password gate.
bool HandleTreeClick(HWND window);
void OpenSelectedItem(HWND window);
// Keeps the label of the row whose edit begins, for the rename.
void BeginLabelEdit(HWND window);
void FillTreeNode(NMTREEVIEWA* notification);
void SortItems(HWND window, int key);
void SortByColumn(HWND window, int column);
void ShowContextMenu(HWND window, HWND clicked, LPARAM position);
