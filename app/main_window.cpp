#include "app/app_state.h"
#include "app/frame.h"
#include "browse/browse.h"
#include "res/resource.h"

namespace {

// One command: the operation it runs and the selector passed to it.
struct CommandRule {
    WORD id;
    void (*operation)(HWND window, int selector);
    int selector;
};

void RunViewMode(HWND window, int mode) { SetViewMode(window, static_cast<DWORD>(mode)); }
void RunOpen(HWND window, int) { OpenSelectedItem(window); }
void RunRename(HWND window, int) { StartRename(window); }
void RunCleanUp(HWND, int) { CleanUp(); }
void RunSelectAll(HWND window, int) { SelectAllItems(window); }
void RunInvertSelection(HWND window, int) { InvertSelection(window); }
void RunSort(HWND window, int key) { SortItems(window, key); }
// The user's refresh also asks the shell afresh what each kind of file is.
void RunRefresh(HWND window, int)
{
    ForgetShellTypes();
    RefreshView(window);
}

const CommandRule kCommands[] = {
    {IDM_OPEN, RunOpen, 0},
    {IDM_RENAME, RunRename, 0},
    {IDM_EXIT, RunCleanUp, 0},
    {IDM_SELECT_ALL, RunSelectAll, 0},
    {IDM_INVERT_SELECTION, RunInvertSelection, 0},
    {IDM_VIEW_ICON, RunViewMode, LVS_ICON},
    {IDM_VIEW_LIST, RunViewMode, LVS_LIST},
    {IDM_VIEW_DETAILS, RunViewMode, LVS_REPORT},
    {IDM_SORT_NAME, RunSort, kSortByName},
    {IDM_SORT_SIZE, RunSort, kSortBySize},
    {IDM_SORT_TYPE, RunSort, kSortByType},
    {IDM_SORT_TIME, RunSort, kSortByTime},
    {IDM_REFRESH, RunRefresh, 0},
};

// True when the command has an operation; ids without one go on to DefWindowProcA.
bool RunCommand(HWND window, WORD id)
{
    for (const CommandRule& rule : kCommands) {
        if (rule.id == id) {
            rule.operation(window, rule.selector);
            return true;
        }
    }
    return false;
}

void SetItemSelected(HWND list, int index, bool selected)
{
    LVITEMA item = {};
    item.mask = LVIF_STATE;
    item.state = selected ? LVIS_SELECTED : 0;
    item.stateMask = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: CreateControls(window); return 0;
    case WM_DESTROY: CleanUp(); return 0;
    case WM_SIZE: LayoutControls(window, lParam); return 0;
    case WM_CLOSE: CleanUp(); return 0;
    case WM_NOTIFY: HandleNotify(window, wParam, reinterpret_cast<NMHDR*>(lParam)); return 0;
    case WM_CONTEXTMENU: ShowContextMenu(window, reinterpret_cast<HWND>(wParam), lParam); return 0;
    case WM_COMMAND:
        if (RunCommand(window, LOWORD(wParam)))
            return 0;
        break;
    case WM_INITMENUPOPUP: UpdateMenuItems(window, reinterpret_cast<HMENU>(wParam), lParam); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void SetViewMode(HWND window, DWORD mode)
{
    HWND list = ItemList(window);
    LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
    SetWindowLongPtrA(list, GWL_STYLE, (style & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | mode);
    // Wine leaves pieces of the old view on screen until the list is repainted.
    InvalidateRect(list, nullptr, TRUE);
}

void SelectAllItems(HWND window)
{
    HWND list = ItemList(window);
    SetFocus(list);
    SetItemSelected(list, -1, true);
}

void InvertSelection(HWND window)
{
    HWND list = ItemList(window);
    SetFocus(list);
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        LRESULT state = SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED);
        SetItemSelected(list, index, state != LVIS_SELECTED);
    }
}

void StartRename(HWND window)
{
    HWND list = ItemList(window);
    LRESULT mark = SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0);
    SendMessageA(list, LVM_EDITLABELA, static_cast<WPARAM>(mark), 0);
}

void UpdateMenuItems(HWND window, HMENU popup, LPARAM position)
{
    if (position != 0)
        return;
    LRESULT selected = SendMessageA(ItemList(window), LVM_GETSELECTEDCOUNT, 0, 0);
    UINT bySelection = selected > 0 ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(popup, IDM_UNUSED_32777, MF_BYCOMMAND | bySelection);
    EnableMenuItem(popup, IDM_OPEN, MF_BYCOMMAND | bySelection);
    EnableMenuItem(popup, IDM_RENAME, MF_BYCOMMAND | bySelection);
    EnableMenuItem(popup, IDM_DELETE, MF_BYCOMMAND | (IsDrivesView() ? MF_GRAYED : bySelection));
}
