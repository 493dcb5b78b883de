#pragma once
// What the browsing files share among themselves.
#include "base/app_state.h"
#include "base/background.h"
#include "base/location.h"
#include "browse/browse.h"
#include "browse/row_store.h"

#include <windows.h>
#include <commctrl.h>

// The rows of the view shown.
RowStore& Rows();
// The number of the view shown: answers for another view are dropped.
unsigned ShownViewNumber();
// Puts a new view in place of the one shown: the rows emptied, the columns,
// the current folder and the status bar set.
void SwitchView(HWND window, const char* location, Columns columns, unsigned number, CancelFlag cancel);
// The shown view has all its rows (its listing ended); false while they come.
void ViewComplete(HWND window);
bool ShownViewComplete();
// A sort asked for while rows were still coming is done again at the end.
void SortAfterListing(HWND window);
// The item list's row count and the status bar's count, after rows changed;
// the status bar's alone.
void ShowRowCount(HWND window);
void ShowObjectCount(HWND window);
// Checks whether the busy cursor must change, after work began or ended.
void UpdateWorkingCursor(HWND window);

// The text of a row's column in the view shown, at most capacity - 1 bytes,
// never ending inside a character.
void RowColumnText(RowStore::Id id, int column, char* out, size_t capacity);
// Selection, by row id: read from the list, and put back after the rows
// moved (a sort, rows removed).
std::vector<RowStore::Id> SelectedIds(HWND list);
template <typename Change> void ChangeRowsKeepingSelection(HWND window, Change change);
void RestoreSelection(HWND list, const std::vector<RowStore::Id>& selected, bool allSelected, RowStore::Id focused,
                      RowStore::Id mark);
constexpr RowStore::Id kNoRow = UINT32_MAX;
RowStore::Id RowAtIndex(HWND list, int index);
RowStore::Id FocusedRow(HWND list);

// The drives: the table of what each drive has answered.
void ShowDrives(HWND window);
void BuildFolderTree(HWND window);
void DriveColumnText(char letter, int column, char* out, size_t capacity);
int DriveImage(char letter);
bool DrivesAnswering();
// Drive types known so far, by letter.
constexpr UINT kDriveTypeNotKnown = 0xFFFFFFFF;
UINT KnownDriveType(char letter);
void ForgetDriveWork();

// The tree's sub-folder searches; a node deleted is no longer filled.
bool TreeFillsRunning();
void ForgetTreeNode(HTREEITEM node);
void ForgetTreeWork();
// Files being opened.
bool OpensRunning();

// Listing.
void ListVault(HWND window, unsigned number, const CancelFlag& cancel);
bool CanListFolder(HWND window, const char* path);
void ReportOpenError(HWND window, const char* path, INT_PTR code);
bool ViewsBusy();
// A command changed the disk: a listing that began before it begins again.
void ListAgainWhatIsOpening(HWND window);
void ForgetViewWork();

// Image lists: the item list's two in step, and the tree's.
void CreateImageLists(HWND window);
void DestroyImageLists(HWND window);
int AppendItemIcons(HICON small, HICON large);
int ReplaceItemIcons(int image, HICON small, HICON large);
int AppendTreeIcon(HICON icon);
void ReplaceTreeIcon(int image, HICON icon);
int VaultEntryImage();
int BlankTreeImage();
// A row's own icon, in one of a fixed number of places; the image index.
int PlaceOwnIcon(RowStore& rows, RowStore::Id row, HICON small, HICON large);
// The places are free again once the rows they were shown for are gone.
void FreeOwnIconPlaces();
// Asks a worker for a row's own icon, once per row.
void AskOwnIcon(HWND window, RowStore::Id id);

HTREEITEM AddTreeNode(HWND tree, HTREEITEM parent, int image, const char* text, const char* path, bool hasChildren);

// Where a context menu of the list opens, in screen coordinates.
POINT ContextMenuPosition(HWND list, LPARAM position);
// Context menus: fill the given empty pop-up menu, show it and destroy it.
void ShowBackgroundMenu(HWND window, HMENU menu, LPARAM position);
void ShowItemMenu(HWND window, HMENU menu, LPARAM position);

template <typename Change> void ChangeRowsKeepingSelection(HWND window, Change change)
{
    HWND list = ItemList(window);
    std::vector<RowStore::Id> selected = SelectedIds(list);
    bool allSelected = !selected.empty() && selected.size() == Rows().Count();
    RowStore::Id focused = FocusedRow(list);
    RowStore::Id mark = RowAtIndex(list, static_cast<int>(SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0)));
    change(Rows());
    ShowRowCount(window);
    RestoreSelection(list, selected, allSelected, focused, mark);
}
