// Sorting the item list.
#include "tests/win/harness.h"

#include "base/app_state.h"
#include "browse/browse.h"
#include "browse/browse_parts.h"

using namespace qvtest;

namespace {

// Replaces the rows by records of (name, column 1, column 2, ...) texts.
void FillRows(HWND window, RowLayout layout, const std::vector<Texts>& rows)
{
    SendMessageA(List(window), LVM_DELETEALLITEMS, 0, 0);
    for (const Texts& texts : rows) {
        ItemRecord record = {};
        std::pair<char*, int> drive[] = {{record.name, MAX_PATH}, {record.type, 50}, {record.size, 30},
                                         {record.freeSpace, 30}, {record.fileSystem, 10}};
        std::pair<char*, int> file[] = {{record.name, MAX_PATH}, {record.size, 30}, {record.type, 50}, {record.time, 40}};
        for (size_t i = 0; i < texts.size(); ++i) {
            auto field = (layout == RowLayout::Drive ? drive : file)[i];
            lstrcpynA(field.first, texts[i].c_str(), field.second);
        }
        AppendListRow(List(window), record, layout, -1, RowShade::Normal);
    }
}

// Clicks each header in turn and returns the orders they gave.
std::string SortByHeaders(HWND window, int columns)
{
    Texts orders;
    for (int column = 0; column < columns; ++column) {
        NMLISTVIEW click = {};
        click.iSubItem = column;
        Notify(window, 130, static_cast<UINT>(LVN_COLUMNCLICK), &click.hdr);
        orders.push_back(Rows(window));
    }
    return Join(orders);
}

}  // namespace

QV_TEST(SortingReadsTheRowsBeingComparedInTheirViewsColumns)
{
    HWND window = StartMainWindow();
    ShowLocation(window, "C:");
    for (const auto& order : {Texts{"b.txt", "A.txt", "a.txt"}, Texts{"A.txt", "a.txt", "b.txt"}}) {
        FillRows(window, RowLayout::File, {{order[0]}, {order[1]}, {order[2]}});
        SendCommand(window, 32796);
        SendCommand(window, 32796);  // ascending, every time
        CHECK_EQ(Rows(window), "a.txt|A.txt|b.txt");
    }
    // Folders (no size) first, and sizes past 2^31 KB must not wrap around.
    FillRows(window, RowLayout::File, {{"c", "2147483649KB", "b", "2020-01-01 10:00"}, {"a", "5KB", "c", "2019-12-31 23:59"},
                                       {"b", "2147483648KB", "a", "2021-01-01 00:00"}, {"d", "", "d", "1999-01-01 00:00"}});
    CHECK_EQ(SortByHeaders(window, 4), "a|b|c|d|d|a|b|c|b|c|a|d|d|a|c|b");
    ShowLocation(window, "");  // in the drives view each header sorts by its own column
    FillRows(window, RowLayout::Drive, {{"one", "b", "10.500G", "2.000G", "NTFS"}, {"two", "a", "9.000G", "30.000G", "FAT"},
                                        {"three", "c", "100.000G", "1.000G", "EXT"}});
    CHECK_EQ(SortByHeaders(window, 5),
             "one|three|two|two|one|three|two|one|three|three|one|two|three|two|one");
    RefreshView(window);  // real drive rows keep their letters through a sort
    SortByHeaders(window, 3);
    SelectRows(window, {0});
    SendCommand(window, 105);
    CHECK_EQ(std::string(CurrentFolder()).size(), 2u);
}
