#include "app/app.h"
#include "base/app_state.h"
#include "base/background.h"
#include "base/controls.h"
#include "browse/browse.h"
#include "fileops/fileops.h"
#include "res/resource.h"
#include "vault/vault.h"

namespace {

// One command and the operation it runs; operations that take a selector
// get it from their instance of the templates below.
struct CommandRule {
    WORD id;
    void (*operation)(HWND window);
};

template <DWORD mode> void RunViewMode(HWND window) { SetViewMode(window, mode); }
template <SortKey key> void RunSort(HWND window) { SortItems(window, key); }
template <TransferMode mode> void RunTransfer(HWND window) { TransferVaultItems(window, mode); }
template <NewItemKind kind> void RunNewItem(HWND window) { CreateNewItem(window, kind); }
void RunExit(HWND window) { DestroyWindow(window); }
void RunRefresh(HWND window) { RefreshViewAndShellTypes(window); }
void RunNumberedTree(HWND) { StartNumberedTree(); }

const CommandRule kCommands[] = {
    {IDM_OPEN, OpenSelectedItem},
    {IDM_RENAME, StartRename},
    {IDM_EXIT, RunExit},
    {IDM_SELECT_ALL, SelectAllItems},
    {IDM_INVERT_SELECTION, InvertSelection},
    {IDM_VIEW_ICON, RunViewMode<LVS_ICON>},
    {IDM_VIEW_LIST, RunViewMode<LVS_LIST>},
    {IDM_VIEW_DETAILS, RunViewMode<LVS_REPORT>},
    {IDM_SORT_NAME, RunSort<SortKey::Name>},
    {IDM_SORT_SIZE, RunSort<SortKey::Size>},
    {IDM_SORT_TYPE, RunSort<SortKey::Type>},
    {IDM_SORT_TIME, RunSort<SortKey::Time>},
    {IDM_REFRESH, RunRefresh},
    {IDM_VAULT_MOVE_IN, RunTransfer<TransferMode::MoveIn>},
    {IDM_VAULT_MOVE_OUT, RunTransfer<TransferMode::MoveOut>},
    {IDM_VAULT_MOVE_OUT_OPEN, RunTransfer<TransferMode::MoveOutAndOpen>},
    {IDM_NEW_FOLDER, RunNewItem<NewItemKind::Folder>},
    {IDM_NEW_BITMAP, RunNewItem<NewItemKind::Bitmap>},
    {IDM_NEW_WORD, RunNewItem<NewItemKind::Word>},
    {IDM_NEW_POWERPOINT, RunNewItem<NewItemKind::PowerPoint>},
    {IDM_NEW_TEXT, RunNewItem<NewItemKind::Text>},
    {IDM_NEW_WAVE, RunNewItem<NewItemKind::Wave>},
    {IDM_NEW_EXCEL, RunNewItem<NewItemKind::Excel>},
    {IDM_DELETE, DeleteSelectedItems},
    {IDM_PROPERTIES, ShowProperties},
    {IDM_BUILD_NUMBERED_TREE, RunNumberedTree},
};

// True when the command has an operation; ids without one go on to DefWindowProcA.
bool RunCommand(HWND window, WORD id)
{
    for (const CommandRule& rule : kCommands) {
        if (rule.id == id) {
            AnswerHold hold(window);
            rule.operation(window);
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
// A nonzero answer stops the edit.
LRESULT OnBeginLabelEdit(HWND window, NMHDR* notification)
{
    return BeginRename(window, reinterpret_cast<NMLVDISPINFOA*>(notification)) ? 0 : TRUE;
}
LRESULT OnEndLabelEdit(HWND window, NMHDR* notification)
{
    FinishRename(window, reinterpret_cast<NMLVDISPINFOA*>(notification));
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
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
