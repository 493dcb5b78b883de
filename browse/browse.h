#pragma once
// Browsing: what the item list and the folder tree show and how the user
// moves between locations. This header is what the router and the other
// subsystems use.
//
// Folders, drives and vaults are read on worker threads. A folder's view
// replaces the one shown when its listing has started, and its rows come
// in batches; a drive row shows its letter until the drive has answered.
#include "browse/sort_keys.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

// Whether showing a location installs its column set afresh (widths and all)
// or keeps the columns the user has: opening a folder from the list keeps them.
enum class Columns { Install, Keep };

// Shows a location (see base/location.h). The drives view and the vault view
// replace the view at once; a folder replaces it once its listing has begun,
// or the user is told why it can't be read and the view stays.
void ShowLocation(HWND window, const char* location, Columns columns = Columns::Install);
// Lists the current view again, asking the shell afresh what each kind of
// file is (F5).
void RefreshViewAndShellTypes(HWND window);
// True while anything is still coming: a listing, a drive's answers, a
// tree node's sub-folders, a file being opened.
bool IsWorkPending();

// Start-up and end: the image lists, the drives view and the folder tree;
// at the end, the work in flight is left to itself and the lists released.
void ShowFirstView(HWND window);
void EndBrowsing(HWND window);

// The item list asks for what it shows (LVN_GETDISPINFOA) and for the row
// a typed name starts (LVN_ODFINDITEMA).
void ProvideRowDisplay(HWND window, NMLVDISPINFOA* request);
LRESULT FindRowByTypedName(HWND window, const NMLVFINDITEMA* request);
// The busy cursor while work goes on; true when the cursor was set.
bool SetWorkingCursor(HWND window, LPARAM hitTestAndMessage);

// The rows commands act on, read from the program's own rows.
struct ListedItem {
    uint32_t id;
    std::string name;  // the exact bytes listed; a vault row's home path
    uint32_t attributes;
    char drive;  // a drive row's letter
};
std::vector<ListedItem> SelectedItems(HWND window);
// The row single-row commands act on (the selection mark); false when none.
bool MarkedItem(HWND window, ListedItem& item);
bool ItemAt(HWND window, int row, ListedItem& item);
// Changes to the rows after a command changed the disk: rows whose items are
// gone, an item made in the current folder (appended; its row index, or -1),
// an item renamed (its row reads the item again).
void RemoveItems(HWND window, const std::vector<uint32_t>& ids);
int AddItemRow(HWND window, const char* path);
void ReplaceItemRow(HWND window, uint32_t id, const char* path);

// Opens a file with its program on a worker, in the file's own folder; a
// failure is told to the user. A folder is shown instead.
void OpenItemInBackground(HWND window, const char* path);

// Commands on the item list's selection: both move the focus to the list.
void SelectAllItems(HWND window);
void InvertSelection(HWND window);

// Notifications and commands of the item list and the tree.
void ShowSelectionStatus(HWND window);
// A click in the tree, or Enter on its selected node: shows the node's
// location; true when it was the vault node, which is left to the password
// gate. The arrow keys only move the tree's selection.
bool HandleTreeClick(HWND window);
bool HandleTreeReturn(HWND window);
void OpenSelectedItem(HWND window);
void FillTreeNode(HWND window, NMTREEVIEWA* notification);
void SortItems(HWND window, SortKey key);
void SortByColumn(HWND window, int column);
void ShowContextMenu(HWND window, HWND clicked, LPARAM position);
