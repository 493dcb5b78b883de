#include "app/app.h"
#include "base/app_state.h"
#include "base/background.h"
#include "base/controls.h"
#include "browse/browse.h"
#include "browse/item_text.h"
#include "fileops/fileops.h"
#include "res/resource.h"
#include "vault/vault.h"

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
void RunExit(HWND window, int) { DestroyWindow(window); }
void RunSelectAll(HWND window, int) { SelectAllItems(window); }
void RunInvertSelection(HWND window, int) { InvertSelection(window); }
void RunSort(HWND window, int key) { SortItems(window, key); }
void RunRefresh(HWND window, int) { RefreshViewAndShellTypes(window); }
void RunTransfer(HWND window, int mode) { TransferVaultItems(window, mode); }
void RunNewItem(HWND window, int type) { CreateNewItem(window, type); }
void RunDelete(HWND window, int) { DeleteSelectedItems(window); }
void RunProperties(HWND window, int) { ShowProperties(window); }
void RunNumberedTree(HWND, int) { StartNumberedTree(); }

const CommandRule kCommands[] = {
    {IDM_OPEN, RunOpen, 0},
    {IDM_RENAME, RunRename, 0},
    {IDM_EXIT, RunExit, 0},
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
    {IDM_VAULT_MOVE_IN, RunTransfer, kMoveIn},
    {IDM_VAULT_MOVE_OUT, RunTransfer, kMoveOut},
    {IDM_VAULT_MOVE_OUT_OPEN, RunTransfer, kMoveOutAndOpen},
    {IDM_NEW_FOLDER, RunNewItem, 0},
    {IDM_NEW_BITMAP, RunNewItem, 1},
    {IDM_NEW_WORD, RunNewItem, 2},
    {IDM_NEW_POWERPOINT, RunNewItem, 3},
    {IDM_NEW_TEXT, RunNewItem, 4},
    {IDM_NEW_WAVE, RunNewItem, 5},
    {IDM_NEW_EXCEL, RunNewItem, 6},
    {IDM_DELETE, RunDelete, 0},
    {IDM_PROPERTIES, RunProperties, 0},
    {IDM_BUILD_NUMBERED_TREE, RunNumberedTree, 0},
};

// True when the command has an operation; ids without one go on to DefWindowProcA.
bool RunCommand(HWND window, WORD id)
{
    for (const CommandRule& rule : kCommands) {
        if (rule.id == id) {
            AnswerHold hold(window);
            rule.operation(window, rule.selector);
            return true;
        }
    }
    return false;
}

// One notification: the control it comes from (0: any) and its code. The
// answer is 0 unless the operation says otherwise.
struct NotificationRule {
    UINT_PTR controlId;
    UINT code;
    LRESULT (*operation)(HWND window, NMHDR* notification);
};

LRESULT OnListClick(HWND window, NMHDR*) { return ShowSelectionStatus(window), 0; }
LRESULT OnListDoubleClick(HWND window, NMHDR*) { return OpenSelectedItem(window), 0; }
// A nonzero answer stops the edit: only items of a folder can be renamed,
// and only those whose name Windows reads as it stands. While the name is
// edited, rows still coming wait, so the row edited stays where it is.
bool g_labelEditHold;
LRESULT OnBeginLabelEdit(HWND window, NMHDR* notification)
{
    if (!MayEditLabel())
        return TRUE;
    BeginLabelEdit(window, reinterpret_cast<NMLVDISPINFOA*>(notification)->item.iItem);
    if (!MayRenameItem(window, g_app.labelEditOldName))
        return TRUE;
    if (!g_labelEditHold)
        HoldAnswers();
    g_labelEditHold = true;
    return 0;
}
LRESULT OnEndLabelEdit(HWND window, NMHDR* notification)
{
    RenameItem(window, reinterpret_cast<NMLVDISPINFOA*>(notification));
    if (g_labelEditHold)
        ReleaseAnswers(window);
    g_labelEditHold = false;
    return 0;
}
LRESULT OnGetDisplayInfo(HWND window, NMHDR* notification)
{
    ProvideRowDisplay(window, reinterpret_cast<NMLVDISPINFOA*>(notification));
    return 0;
}
LRESULT OnFindItem(HWND window, NMHDR* notification)
{
    return FindRowByTypedName(window, reinterpret_cast<NMLVFINDITEMA*>(notification));
}
LRESULT OnTreeClick(HWND window, NMHDR*)
{
    if (HandleTreeClick(window))
        OpenVaultView(window);
    return 0;
}
LRESULT OnTreeReturn(HWND window, NMHDR*)
{
    if (HandleTreeReturn(window))
        OpenVaultView(window);
    return 0;
}
LRESULT OnColumnClick(HWND window, NMHDR* notification)
{
    SortByColumn(window, reinterpret_cast<NMLISTVIEW*>(notification)->iSubItem);
    return 0;
}
LRESULT OnTreeExpanding(HWND window, NMHDR* notification)
{
    FillTreeNode(window, reinterpret_cast<NMTREEVIEWA*>(notification));
    return 0;
}

const NotificationRule kNotifications[] = {
    {IDC_ITEM_LIST, static_cast<UINT>(NM_CLICK), OnListClick},
    {IDC_FOLDER_TREE, static_cast<UINT>(NM_CLICK), OnTreeClick},
    {IDC_ITEM_LIST, static_cast<UINT>(NM_DBLCLK), OnListDoubleClick},
    {IDC_ITEM_LIST, static_cast<UINT>(NM_RETURN), OnListDoubleClick},
    {IDC_FOLDER_TREE, static_cast<UINT>(NM_RETURN), OnTreeReturn},
    {0, static_cast<UINT>(LVN_BEGINLABELEDITA), OnBeginLabelEdit},
    {0, static_cast<UINT>(LVN_ENDLABELEDITA), OnEndLabelEdit},
    {0, static_cast<UINT>(LVN_COLUMNCLICK), OnColumnClick},
    {0, static_cast<UINT>(TVN_ITEMEXPANDINGA), OnTreeExpanding},
    {IDC_ITEM_LIST, static_cast<UINT>(LVN_GETDISPINFOA), OnGetDisplayInfo},
    {IDC_ITEM_LIST, static_cast<UINT>(LVN_ODFINDITEMA), OnFindItem},
};

LRESULT HandleNotify(HWND window, WPARAM controlId, NMHDR* notification)
{
    for (const NotificationRule& rule : kNotifications) {
        if (rule.code == notification->code && (rule.controlId == 0 || rule.controlId == controlId)) {
            AnswerHold hold(window);
            return rule.operation(window, notification);
        }
    }
    return 0;
}

void OnContextMenu(HWND window, HWND clicked, LPARAM position)
{
    AnswerHold hold(window);
    ShowContextMenu(window, clicked, position);
}

void OnCreate(HWND window)
{
    CreateControls(window);
    if (ItemList(window))
        ShowFirstView(window);
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: OnCreate(window); return 0;
    case WM_DESTROY: CleanUp(window); return 0;
    case WM_SIZE: LayoutControls(window, lParam); return 0;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_NOTIFY: return HandleNotify(window, wParam, reinterpret_cast<NMHDR*>(lParam));
    case WM_CONTEXTMENU: OnContextMenu(window, reinterpret_cast<HWND>(wParam), lParam); return 0;
    case WM_SETCURSOR:
        if (SetWorkingCursor(window, lParam))
            return TRUE;
        break;
    case WM_QV_ANSWER: ReceiveAnswer(window, lParam); return 0;
    case WM_QV_HELD_ANSWERS: DeliverHeldAnswers(window); return 0;
    case WM_COMMAND:
        if (RunCommand(window, LOWORD(wParam)))
            return 0;
        break;
    case WM_INITMENUPOPUP: UpdateMenuItems(window, reinterpret_cast<HMENU>(wParam), lParam); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
