#include "base/app_state.h"
#include "base/redraw_guard.h"
#include "base/rows.h"
#include "browse/browse.h"
#include "browse/item_text.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Keys of the rows being sorted, indexed by the item data each row carries
// during the sort.
struct SortContext {
    bool bySize;
    std::vector<std::string> texts;
    std::vector<int64_t> sizes;
};

LPARAM ItemData(HWND list, int row)
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

void SetItemData(HWND list, int row, LPARAM data)
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = data;
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM parameters)
{
    const SortContext& context = *reinterpret_cast<const SortContext*>(parameters);
    size_t a = static_cast<size_t>(first);
    size_t b = static_cast<size_t>(second);
    if (context.bySize)
        return context.sizes[a] < context.sizes[b] ? -1 : context.sizes[a] > context.sizes[b] ? 1 : 0;
    return lstrcmpA(context.texts[a].c_str(), context.texts[b].c_str());
}

// The list view hands the comparison the rows' item data, not their indices,
// so during the sort each row's item data is its index into the keys read
// beforehand; the rows' own item data is put back afterwards.
void SortRows(HWND window, SortRule rule)
{
    if (rule.column < 0)
        return;
    HWND list = ItemList(window);
    // Each change of a row's item data repaints it unless redrawing is off.
    RedrawGuard quiet(list);
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    SortContext context;
    context.bySize = rule.bySize;
    std::vector<LPARAM> ownData(static_cast<size_t>(count));
    for (int row = 0; row < count; ++row) {
        ownData[static_cast<size_t>(row)] = ItemData(list, row);
        SetItemData(list, row, row);
        char text[MAX_PATH];
        ReadRowText(list, row, rule.column, text, sizeof text);
        if (rule.bySize)
            context.sizes.push_back(SizeKeyOf(text));
        else
            context.texts.push_back(text);
    }
    SendMessageA(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&context), reinterpret_cast<LPARAM>(CompareRows));
    for (int row = 0; row < count; ++row)
        SetItemData(list, row, ownData[static_cast<size_t>(ItemData(list, row))]);
}

}  // namespace

void SortItems(HWND window, int key) { SortRows(window, SortRuleOfKey(key, CurrentView())); }

void SortByColumn(HWND window, int column)
{
    // In the drives view a header sorts by its own column; elsewhere the
    // first four headers are the four sort keys.
    if (CurrentView() == View::Drives)
        SortRows(window, SortRuleOfDriveColumn(column));
    else if (column >= 0 && column <= 3)
        SortItems(window, column + 1);
}
