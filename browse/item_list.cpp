#include "base/ansi_text.h"
#include "base/app_state.h"
#include "base/controls.h"
#include "browse/browse_parts.h"
#include "browse/item_text.h"
#include "browse/kinds.h"

#include <cstdio>
#include <cstring>

namespace {

RowStore g_rows;

void PutText(const char* text, char* out, size_t capacity) { CopyTextCut(text, out, capacity); }

void TimeText(uint64_t writeTime, char* out, size_t capacity)
{
    FILETIME utc = {static_cast<DWORD>(writeTime), static_cast<DWORD>(writeTime >> 32)};
    FILETIME local = {};
    SYSTEMTIME time = {};
    if (FileTimeToLocalFileTime(&utc, &local))
        FileTimeToSystemTime(&local, &time);
    FormatItemTime(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, out, capacity);
}

void FolderColumnText(RowStore::Id id, int column, char* out, size_t capacity)
{
    const RowFacts& facts = g_rows.Facts(id);
    bool isFolder = (facts.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    PutText("", out, capacity);
    if (column < 0 || column >= kFolderColumnCount)
        return;
    switch (static_cast<FolderColumn>(column)) {
    case FolderColumn::Name: PutText(g_rows.Name(id), out, capacity); break;
    case FolderColumn::Size:
        if (!isFolder && !FormatKilobytes(facts.size, out, capacity))
            PutText("", out, capacity);
        break;
    case FolderColumn::Type: PutText(KindTypeName(facts.kind), out, capacity); break;
    case FolderColumn::Time: TimeText(facts.writeTime, out, capacity); break;
    }
}

int RowImage(RowStore::Id id)
{
    const RowFacts& facts = g_rows.Facts(id);
    switch (CurrentView()) {
    case View::Drives: return DriveListImage(facts.drive);
    case View::Vault: return VaultEntryImage();
    case View::Folder: break;
    }
    if (ShowsOwnIcon(facts.attributes, facts.kind)) {
        if (g_rows.OwnImage(id) >= 0)
            return g_rows.OwnImage(id);
        if (!g_rows.OwnIconAsked(id))
            AskOwnIcon(g_app.mainWindow, id);
    }
    return KindImage(facts.kind);
}

// ASCII letters match either case; other characters match exactly.
bool StartsWithTyped(const char* name, const char* typed)
{
    while (*typed) {
        size_t length = CharLength(typed);
        if (CharLength(name) != length)
            return false;
        char a = *name >= 'A' && *name <= 'Z' ? static_cast<char>(*name - 'A' + 'a') : *name;
        char b = *typed >= 'A' && *typed <= 'Z' ? static_cast<char>(*typed - 'A' + 'a') : *typed;
        if (length == 1 ? a != b : std::memcmp(name, typed, length) != 0)
            return false;
        name += length;
        typed += length;
    }
    return true;
}

}  // namespace

RowStore& Rows() { return g_rows; }

void RowColumnText(RowStore::Id id, int column, char* out, size_t capacity)
{
    switch (CurrentView()) {
    case View::Drives: DriveColumnText(g_rows.Facts(id).drive, column, out, capacity); break;
    case View::Vault: PutText(column == IndexOf(VaultColumn::HomePath) ? g_rows.Name(id) : "", out, capacity); break;
    case View::Folder: FolderColumnText(id, column, out, capacity); break;
    }
}

void ProvideRowDisplay(HWND, NMLVDISPINFOA* request)
{
    LVITEMA& item = request->item;
    if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= g_rows.Count()) {
        if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
            item.pszText[0] = '\0';
        return;
    }
    RowStore::Id id = g_rows.At(static_cast<size_t>(item.iItem));
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
        RowColumnText(id, item.iSubItem, item.pszText, static_cast<size_t>(item.cchTextMax));
    if (item.mask & LVIF_IMAGE)
        item.iImage = item.iSubItem == 0 ? RowImage(id) : I_IMAGENONE;
    if (item.mask & LVIF_STATE) {
        // Hidden items are shown dimmed, in folders only.
        bool hidden = CurrentView() == View::Folder && (g_rows.Facts(id).attributes & FILE_ATTRIBUTE_HIDDEN);
        item.state &= ~static_cast<UINT>(LVIS_CUT);
        if (hidden)
            item.state |= LVIS_CUT;
    }
}

LRESULT FindRowByTypedName(HWND, const NMLVFINDITEMA* request)
{
    const LVFINDINFOA& find = request->lvfi;
    if (!(find.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.psz || g_rows.Count() == 0)
        return -1;
    size_t count = g_rows.Count();
    size_t start = request->iStart >= 0 && static_cast<size_t>(request->iStart) < count ? request->iStart : 0;
    char name[MAX_PATH];
    for (size_t step = 0; step < count; ++step) {
        size_t index = (start + step) % count;
        if (index < start && !(find.flags & LVFI_WRAP))
            break;
        RowColumnText(g_rows.At(index), 0, name, sizeof name);  // typed names start a row's name
        bool partial = (find.flags & LVFI_PARTIAL) != 0;
        if (partial ? StartsWithTyped(name, find.psz) : lstrcmpiA(name, find.psz) == 0)
            return static_cast<LRESULT>(index);
    }
    return -1;
}

void ShowRowCount(HWND window)
{
    // Only rows in sight are repainted, and the list doesn't scroll.
    SendMessageA(ItemList(window), LVM_SETITEMCOUNT, g_rows.Count(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    ShowObjectCount(window);
}

void ShowObjectCount(HWND window)
{
    if (CurrentView() == View::Drives)
        return;
    char countText[32];
    snprintf(countText, sizeof countText, "%d 个对象", static_cast<int>(g_rows.Count()));
    SetStatusText(window, StatusPart::Count, countText);
}

namespace {

constexpr RowStore::Id kNoRow = UINT32_MAX;

RowStore::Id RowAtIndex(HWND, int index)
{
    return index >= 0 && static_cast<size_t>(index) < g_rows.Count() ? g_rows.At(static_cast<size_t>(index)) : kNoRow;
}

RowStore::Id FocusedRow(HWND list)
{
    int focused = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    return RowAtIndex(list, focused);
}

std::vector<RowStore::Id> SelectedIds(HWND list)
{
    std::vector<RowStore::Id> ids;
    int selected = static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
    if (selected <= 0)
        return ids;
    ids.reserve(static_cast<size_t>(selected));
    for (int index = -1; static_cast<int>(ids.size()) < selected;) {
        index = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(index), LVNI_SELECTED));
        RowStore::Id id = RowAtIndex(list, index);
        if (id == kNoRow)
            break;
        ids.push_back(id);
    }
    return ids;
}

void RestoreSelection(HWND list, const std::vector<RowStore::Id>& selected, bool allSelected, RowStore::Id focused,
                      RowStore::Id mark)
{
    // Each request for every row (-1) visits every row under Wine: the
    // selection is cleared only when there is one, and the focus moves with
    // the one row that gets it.
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED;
    if (!selected.empty())
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    std::vector<uint32_t> index = g_rows.IndexOfEachId();
    auto indexOf = [&](RowStore::Id id) { return id < index.size() ? index[id] : RowStore::kNotShown; };
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    if (allSelected && g_rows.Count() > 0) {
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    } else {
        for (RowStore::Id id : selected) {
            if (indexOf(id) != RowStore::kNotShown)
                SendMessageA(list, LVM_SETITEMSTATE, indexOf(id), reinterpret_cast<LPARAM>(&state));
        }
    }
    if (indexOf(focused) != RowStore::kNotShown) {
        state.stateMask = state.state = LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, indexOf(focused), reinterpret_cast<LPARAM>(&state));
    }
    SendMessageA(list, LVM_SETSELECTIONMARK, 0,
                 indexOf(mark) != RowStore::kNotShown ? static_cast<LPARAM>(indexOf(mark)) : -1);
}

ListedItem ItemOf(RowStore::Id id)
{
    char name[MAX_PATH];
    RowColumnText(id, 0, name, sizeof name);  // the first column of every set is the name
    return ListedItem{id, name, g_rows.Facts(id).attributes, g_rows.Facts(id).drive};
}

}  // namespace

void ChangeRowsKeepingSelection(HWND window, const std::function<void(RowStore& rows)>& change)
{
    HWND list = ItemList(window);
    std::vector<RowStore::Id> selected = SelectedIds(list);
    bool allSelected = !selected.empty() && selected.size() == g_rows.Count();
    RowStore::Id focused = FocusedRow(list);
    RowStore::Id mark = RowAtIndex(list, static_cast<int>(SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0)));
    change(g_rows);
    ShowRowCount(window);
    RestoreSelection(list, selected, allSelected, focused, mark);
}

bool ItemAt(HWND window, int row, ListedItem& item)
{
    RowStore::Id id = RowAtIndex(ItemList(window), row);
    if (id == kNoRow)
        return false;
    item = ItemOf(id);
    return true;
}

std::vector<ListedItem> SelectedItems(HWND window)
{
    std::vector<ListedItem> items;
    for (RowStore::Id id : SelectedIds(ItemList(window)))
        items.push_back(ItemOf(id));
    return items;
}

bool MarkedItem(HWND window, ListedItem& item)
{
    return ItemAt(window, static_cast<int>(SendMessageA(ItemList(window), LVM_GETSELECTIONMARK, 0, 0)), item);
}

void RemoveItems(HWND window, const std::vector<uint32_t>& ids)
{
    if (ids.empty())
        return;
    ChangeRowsKeepingSelection(window, [&](RowStore& rows) { rows.Remove(ids); });
    InvalidateRect(ItemList(window), nullptr, TRUE);
    ListAgainWhatIsOpening(window);
}

namespace {

void SetRowSelected(HWND list, int index, bool selected)
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
    SetRowSelected(list, -1, true);
}

void InvertSelection(HWND window)
{
    HWND list = ItemList(window);
    SetFocus(list);
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        LRESULT state = SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED);
        SetRowSelected(list, index, state != LVIS_SELECTED);
    }
}
