#include "base/app_state.h"

#include "res/resource.h"

AppState g_app;

HWND FolderTree(HWND window) { return GetDlgItem(window, IDC_FOLDER_TREE); }
HWND ItemList(HWND window) { return GetDlgItem(window, IDC_ITEM_LIST); }
HWND StatusBar(HWND window) { return GetDlgItem(window, IDC_STATUS_BAR); }

const char* CurrentFolder() { return g_app.currentFolder; }
View CurrentView() { return ViewOfLocation(g_app.currentFolder); }

void SetCurrentFolder(const char* folder)
{
    // Callers pass texts that already fit; the folder is zero-filled so no
    // stale tail of a longer path remains.
    ZeroMemory(g_app.currentFolder, sizeof g_app.currentFolder);
    lstrcpynA(g_app.currentFolder, folder, sizeof g_app.currentFolder);
}
