#pragma once
// What the browsing files share among themselves.
#include "base/rows.h"

#include <windows.h>
#include <commctrl.h>

enum class RowLayout { Drive, File };
enum class RowShade { Normal, Dimmed };

// Item presentation. Rows go into the item list given, found once per
// listing: under Wine every look-up of a control by its id is a trip to the server.
void AppendListRow(HWND list, const ItemRecord& record, RowLayout layout, int image, RowShade shade);
void InsertListRow(HWND list, int position, const ItemRecord& record, RowLayout layout, int image, RowShade shade);
// The image index of the vault-entry icon in the item list's image lists.
int VaultEntryImage();
HTREEITEM AddTreeNode(HWND tree, HTREEITEM parent, int image, const char* text, const char* path, bool hasChildren);
// Display name into record.name and the icon into all three image lists;
// returns the item lists' index and, through treeImage, the tree list's.
int LookupShellName(ItemRecord& record, const char* path, int* treeImage);
// Type name and image of a listed entry, asking the shell once per kind of entry.
int LookupListedType(ItemRecord& record, const char* path, DWORD attributes);
void ForgetShellTypes();
// Name, size and time of a search result; false for entries never listed.
bool DescribeFile(const WIN32_FIND_DATAA& found, ItemRecord& record);

// Listings
void ClearItemList(HWND window);
void ShowDrives(HWND window);
void BuildFolderTree(HWND window);
void OpenPath(HWND window, const char* path);
void ListVault(HWND window);
void ReportOpenError(HWND window, const char* path, INT_PTR code);
// False, after telling the user, when a folder's search pattern doesn't fit a path.
bool CanListFolder(HWND window, const char* path);

// Context menus: fill the given empty pop-up menu, show it and destroy it.
void ShowBackgroundMenu(HWND window, HMENU menu, LPARAM position);
void ShowItemMenu(HWND window, HMENU menu, LPARAM position);
