#include "base/app_state.h"
#include "browse/browse_parts.h"
#include "browse/item_text.h"
#include "browse/kinds.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A sort asked for while the rows were still coming, done again when they
// have all come: the view shown then has the order asked for.
SortRule g_sortAfterListing = {-1, false};
unsigned g_sortAfterListingView;

// Sort keys for names: comparing two keys byte by byte gives the order
// lstrcmpA gives (the user's locale, word sort), without converting both
// texts at every comparison.
class NameKeys {
public:
    explicit NameKeys(const RowStore& rows) : start_(rows.Order().empty() ? 0 : MaxId(rows) + 1, 0)
    {
        for (RowStore::Id id : rows.Order()) {
            const char* name = rows.Name(id);
            int length = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, name, -1, nullptr, 0);
            size_t at = keys_.size();
            keys_.resize(at + static_cast<size_t>(std::max(length, 1)), '\0');
            if (length > 0)
                LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, name, -1, &keys_[at], length);
            start_[id] = static_cast<uint32_t>(at);
        }
    }
    bool Less(RowStore::Id a, RowStore::Id b) const { return std::strcmp(&keys_[start_[a]], &keys_[start_[b]]) < 0; }

private:
    static RowStore::Id MaxId(const RowStore& rows) { return *std::max_element(rows.Order().begin(), rows.Order().end()); }
    std::vector<uint32_t> start_;
    std::vector<char> keys_;
};

// Size as the size column's leading number reads it: kilobytes plus one for
// a file, nothing for a folder.
uint64_t SizeKey(const RowFacts& facts)
{
    return facts.attributes & FILE_ATTRIBUTE_DIRECTORY ? 0 : facts.size / 1024 + 1;
}

// Time to the minute in local time, as the time column shows it.
uint64_t MinuteKey(const RowFacts& facts)
{
    FILETIME utc = {static_cast<DWORD>(facts.writeTime), static_cast<DWORD>(facts.writeTime >> 32)};
    FILETIME local = {};
    if (!FileTimeToLocalFileTime(&utc, &local))
        return 0;
    return ((static_cast<uint64_t>(local.dwHighDateTime) << 32) | local.dwLowDateTime) / 600000000u;
}

template <typename Key> void SortByKey(std::vector<RowStore::Id>& order, Key key)
{
    std::stable_sort(order.begin(), order.end(), [&](RowStore::Id a, RowStore::Id b) { return key(a) < key(b); });
}

void SortFolderRows(RowStore& rows, FolderColumn column)
{
    std::vector<RowStore::Id> order = rows.Order();
    if (column == FolderColumn::Name) {
        NameKeys keys(rows);
        std::stable_sort(order.begin(), order.end(), [&](RowStore::Id a, RowStore::Id b) { return keys.Less(a, b); });
    } else if (CurrentView() == View::Vault) {
        return;  // vault rows have a name only: the other keys leave them level
    } else if (column == FolderColumn::Size) {
        SortByKey(order, [&](RowStore::Id id) { return SizeKey(rows.Facts(id)); });
    } else if (column == FolderColumn::Type) {
        // Each kind's place among the type names, ordered once.
        std::vector<uint16_t> kinds;
        for (RowStore::Id id : order)
            kinds.push_back(rows.Facts(id).kind);
        std::sort(kinds.begin(), kinds.end());
        kinds.erase(std::unique(kinds.begin(), kinds.end()), kinds.end());
        std::stable_sort(kinds.begin(), kinds.end(),
                         [](uint16_t a, uint16_t b) { return lstrcmpA(KindTypeName(a), KindTypeName(b)) < 0; });
        std::vector<uint32_t> rank(65536, 0);
        for (size_t i = 0; i < kinds.size(); ++i)
            rank[kinds[i]] = static_cast<uint32_t>(i);
        // Kinds with the same type name are level.
        for (size_t i = 1; i < kinds.size(); ++i) {
            if (lstrcmpA(KindTypeName(kinds[i - 1]), KindTypeName(kinds[i])) == 0)
                rank[kinds[i]] = rank[kinds[i - 1]];
        }
        SortByKey(order, [&](RowStore::Id id) { return rank[rows.Facts(id).kind]; });
    } else if (column == FolderColumn::Time) {
        std::vector<uint64_t> minute(order.empty() ? 0 : *std::max_element(order.begin(), order.end()) + 1, 0);
        for (RowStore::Id id : order)
            minute[id] = MinuteKey(rows.Facts(id));
        SortByKey(order, [&](RowStore::Id id) { return minute[id]; });
    } else {
        return;
    }
    rows.SetOrder(std::move(order));
}

// The drives view has a handful of rows: their texts are compared as shown.
void SortDriveRows(RowStore& rows, SortRule rule)
{
    std::vector<RowStore::Id> order = rows.Order();
    auto text = [&](RowStore::Id id) {
        char shown[MAX_PATH];
        RowColumnText(id, rule.column, shown, sizeof shown);
        return std::string(shown);
    };
    std::stable_sort(order.begin(), order.end(), [&](RowStore::Id a, RowStore::Id b) {
        std::string first = text(a), second = text(b);
        return rule.bySize ? SizeKeyOf(first.c_str()) < SizeKeyOf(second.c_str())
                           : lstrcmpA(first.c_str(), second.c_str()) < 0;
    });
    rows.SetOrder(std::move(order));
}

void SortRows(HWND window, SortRule rule)
{
    if (rule.column < 0)
        return;
    if (!ShownViewComplete()) {
        g_sortAfterListing = rule;
        g_sortAfterListingView = ShownViewNumber();
    }
    ChangeRowsKeepingSelection(window, [&](RowStore& rows) {
        if (CurrentView() == View::Drives)
            SortDriveRows(rows, rule);
        else
            SortFolderRows(rows, static_cast<FolderColumn>(rule.column));
    });
    InvalidateRect(ItemList(window), nullptr, FALSE);
}

}  // namespace

void SortItems(HWND window, SortKey key) { SortRows(window, SortRuleOfKey(key, CurrentView())); }

void SortByColumn(HWND window, int column)
{
    SortKey key = SortKey::Name;
    if (CurrentView() == View::Drives)
        SortRows(window, SortRuleOfDriveColumn(column));
    else if (SortKeyOfFolderColumn(column, key))
        SortItems(window, key);
}

void SortAfterListing(HWND window)
{
    SortRule rule = g_sortAfterListing;
    g_sortAfterListing = {-1, false};
    if (rule.column >= 0 && g_sortAfterListingView == ShownViewNumber())
        SortRows(window, rule);
}
