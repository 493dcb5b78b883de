#include "app/app_state.h"
#include "browse/browse.h"
#include "browse/item_text.h"
#include "browse/redraw_guard.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Which column a sort reads and how it compares; column -1 leaves every
// pair of rows level.
struct SortRule {
    int column;
    bool numeric;
};

// Keys of the rows being sorted, indexed by the item data each row carries
// during the sort.
struct SortContext {
    bool numeric;
    std::vector<std::string> texts;
    std::vector<int64_t> numbers;
};

SortRule RuleForKey(int key)
{
    static const SortRule kFolderRules[] = {{0, false}, {1, true}, {2, false}, {3, false}};
    static const SortRule kDriveRules[] = {{0, false}, {2, true}, {1, false}, {-1, false}};
    if (key < kSortByName || key > kSortByTime)
        return {-1, false};
    return IsDrivesView() ? kDriveRules[key - 1] : kFolderRules[key - 1];
}

SortRule RuleForDriveColumn(int column)
{
    static const SortRule kDriveColumnRules[] = {{0, false}, {1, false}, {2, true}, {3, true}, {4, false}};
    if (column < 0 || column > 4)
        return {-1, false};
    return kDriveColumnRules[column];
}

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
    if (context.numeric)
        return context.numbers[a] < context.numbers[b] ? -1 : context.numbers[a] > context.numbers[b] ? 1 : 0;
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
    context.numeric = rule.numeric;
    std::vector<LPARAM> ownData(static_cast<size_t>(count));
    for (int row = 0; row < count; ++row) {
        ownData[static_cast<size_t>(row)] = ItemData(list, row);
        SetItemData(list, row, row);
        char text[MAX_PATH];
        ReadRowText(list, row, rule.column, text, sizeof text);
        if (rule.numeric)
            context.numbers.push_back(strtoll(text, nullptr, 10));  // as atoi reads it, but in 64 bits
        else
            context.texts.push_back(text);
    }
    SendMessageA(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&context), reinterpret_cast<LPARAM>(CompareRows));
    for (int row = 0; row < count; ++row)
        SetItemData(list, row, ownData[static_cast<size_t>(ItemData(list, row))]);
}

}  // namespace

void SortItems(HWND window, int key) { SortRows(window, RuleForKey(key)); }

void SortByColumn(HWND window, int column)
{
    // In the drives view a header sorts by its own column; elsewhere the
    // first four headers are the four sort keys.
    if (IsDrivesView())
        SortRows(window, RuleForDriveColumn(column));
    else if (column >= 0 && column <= 3)
        SortItems(window, column + 1);
}
