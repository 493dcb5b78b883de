#include "base/rows.h"

#include <commctrl.h>

void ReadRowText(HWND list, int row, int column, char* text, int capacity)
{
    // The list view may leave a cut text without its terminating NUL.
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = capacity;
    text[0] = '\0';
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    text[capacity - 1] = '\0';
}

int SelectionMark(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0)); }

void ForEachSelectedRow(HWND list, const std::function<bool(int row, const char* text)>& visit)
{
    // The rows' states are read in one pass: Wine's LVM_GETNEXTITEM scans
    // from the start for every selected row, which costs O(n²).
    int selected = static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count && selected > 0; ++row) {
        if (!(SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED))
            continue;
        --selected;
        char text[MAX_PATH];
        ReadRowText(list, row, 0, text, sizeof text);
        if (!visit(row, text))
            return;
    }
}
