#pragma once
// What the browsing files share among themselves.
#include "base/app_state.h"
#include "base/background.h"
#include "base/location.h"
#include "browse/browse.h"
#include "browse/row_store.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <vector>

// The rows of the view shown.
RowStore& Rows();
// The number of the view shown: answers for another view are dropped.
unsigned ShownViewNumber();
// False while the shown view's rows still come.
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
// Changes the rows shown (sorts them, drops some); the rows selected stay
// selected, and the focused row and the selection mark stay with their rows.
void ChangeRowsKeepingSelection(HWND window, const std::function<void(RowStore& rows)>& change);

// The drives: the table of what each drive has answered.
void ShowDrives(HWND window);
// The drives present when the drives view was last shown, optical ones left out.
std::vector<char> DrivesShown();
void BuildFolderTree(HWND window);
void DriveColumnText(char letter, int column, char* out, size_t capacity);
bool DrivesAnswering();
// Drive types known so far, by letter.
constexpr UINT kDriveTypeNotKnown = 0xFFFFFFFF;
UINT KnownDriveType(char letter);

// The tree's sub-folder searches; a node deleted is no longer filled.
bool TreeFillsRunning();
void ForgetTreeNode(HTREEITEM node);
void ForgetTreeWork();

// Listing.
bool ViewsBusy();
// The message for a file ShellExecuteA couldn't open, by its result.
void ReportOpenError(HWND window, const char* path, INT_PTR code);
// A command changed the disk: a listing that began before it begins again.
void ListAgainWhatIsOpening(HWND window);
void ForgetViewWork();

// Image lists: the item list's two in step, and the tree's.
void CreateImageLists(HWND window);
void DestroyImageLists(HWND window);
int AppendItemIcons(HICON small, HICON large);
int ReplaceItemIcons(int image, HICON small, HICON large);
int AppendTreeIcon(HICON icon);
int VaultEntryImage();
int BlankTreeImage();
int VaultTreeImage();
// A drive's icons take one place in each list for the whole run; the tree's
// is a blank one until the drive has answered.
void PlaceDriveIcons(char letter, HICON small, HICON large);
int DriveListImage(char letter);
int DriveTreeImage(char letter);
// The plain folder's icon in the tree, put in once from the first icon given.
bool HasPlainFolderTreeImage();
int PlainFolderTreeImage(HICON icon);
// A row's own icon, in one of a fixed number of places; the image index.
int PlaceOwnIcon(RowStore& rows, RowStore::Id row, HICON small, HICON large);
// The places are free again once the rows they were shown for are gone.
void FreeOwnIconPlaces();
// Asks a worker for a row's own icon, once per row.
void AskOwnIcon(HWND window, RowStore::Id id);

HTREEITEM AddTreeNode(HWND tree, HTREEITEM parent, int image, const char* text, const char* path, bool hasChildren);

// Where a context menu of the list opens, in screen coordinates.
POINT ContextMenuPosition(HWND list, LPARAM position);
