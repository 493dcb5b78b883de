#pragma once
// Browsing: rows and nodes, the drives view and tree, listings, navigation,
// sorting and the context menus of the item list.
#include <windows.h>
#include <commctrl.h>

// The texts of one row.
struct ItemRecord {
    char name[MAX_PATH];
    char type[50];
    char size[30];
    char time[40];
    char freeSpace[30];
    char fileSystem[10];
    char drive;  // drive rows: the drive's letter, kept as the row's item data
};

enum RowLayout { kDriveLayout = 0, kFileLayout = 1 };
enum ShellInfoMode { kNameMode = 0, kTypeMode = 1 };
enum SortKey { kSortByName = 1, kSortBySize = 2, kSortByType = 3, kSortByTime = 4 };

// Image index that asks for the vault icon instead of a listed one.
constexpr int kVaultIconRequest = 999;

// Item presentation. Rows go into the item list given, found once per listing:
// under Wine every look-up of a control by its id is a trip to the server.
void AddListRow(HWND list, int position, int image, const ItemRecord& record, RowLayout layout, bool atPosition,
                bool shownNormally);
HTREEITEM AddTreeNode(HWND tree, HTREEITEM parent, int image, const char* text, const char* path, bool hasChildren);
int LookupShellInfo(ItemRecord& record, const char* path, ShellInfoMode mode, int* treeImage);
// Type name and image of a listed entry, asking the shell once per kind of entry.
int LookupListedType(ItemRecord& record, const char* path, DWORD attributes);
// Drops what the shell said about each kind, so it is asked again.
void ForgetShellTypes();
bool DescribeFile(const WIN32_FIND_DATAA& found, ItemRecord& record);
void DescribeDriveType(UINT code, ItemRecord& record);
void SetStatusText(HWND window, int part, const char* text);
// One column's text of a row, always terminated, at most capacity - 1 bytes.
void ReadRowText(HWND list, int row, int column, char* text, int capacity);

// Drives view and folder tree
void ShowDrives(HWND window);
void BuildFolderTree(HWND window);

// Listings
void ClearItemList(HWND window);
bool CanListFolder(HWND window, const char* path);
void OpenPath(HWND window, const char* path);
void ListVault(HWND window);
void AddPathRow(HWND window, const char* path, int position, bool atPosition);
void RefreshView(HWND window);
void ReportOpenError(HWND window, const char* path, INT_PTR code);

// Navigation
void HandleNotify(HWND window, WPARAM controlId, NMHDR* notification);
void OpenSelectedItem(HWND window);
void ShowSelectionStatus(HWND window);
void BeginLabelEdit(HWND window);
void FillTreeNode(NMTREEVIEWA* notification);

// Sorting
void SortItems(HWND window, int key);
void SortByColumn(HWND window, int column);

// Context menus
void ShowContextMenu(HWND window, HWND clicked, LPARAM position);
void ShowBackgroundMenu(HWND window, HMENU menu, LPARAM position);
void ShowItemMenu(HWND window, HMENU menu, LPARAM position);
