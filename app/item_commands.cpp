#include "app/app.h"
#include "base/app_state.h"
#include "fileops/fileops.h"
#include "res/resource.h"

namespace {

void SetItemSelected(HWND list, int index, bool selected)
{
    LVITEMA item = {};
    item.mask = LVIF_STATE;
    item.state = selected ? LVIS_SELECTED : 0;
    item.stateMask = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

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
    // The list must have the focus for an edit to start (F2 may come while
    // the tree has it).
    if (!MayEditLabel())
        return;
    HWND list = ItemList(window);
    SetFocus(list);
    SendMessageA(list, LVM_EDITLABELA, static_cast<WPARAM>(SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0)), 0);
}

void UpdateMenuItems(HWND window, HMENU popup, LPARAM position)
{
    if (position != 0)
        return;
    LRESULT selected = SendMessageA(ItemList(window), LVM_GETSELECTEDCOUNT, 0, 0);
    UINT bySelection = selected > 0 ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(popup, IDM_SELECTION_ITEM, MF_BYCOMMAND | bySelection);
    EnableMenuItem(popup, IDM_OPEN, MF_BYCOMMAND | bySelection);
    EnableMenuItem(popup, IDM_RENAME, MF_BYCOMMAND | bySelection);
    EnableMenuItem(popup, IDM_DELETE, MF_BYCOMMAND | (CurrentView() == View::Drives ? MF_GRAYED : bySelection));
}
