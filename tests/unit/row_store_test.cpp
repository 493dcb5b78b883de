// The rows the item list shows: names kept byte for byte, rows dropped and reordered by id.
#include "browse/row_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Shown(const RowStore& rows)
{
    std::vector<std::string> names;
    for (size_t index = 0; index < rows.Count(); ++index)
        names.push_back(rows.Name(rows.At(index)));
    return names;
}

}  // namespace

TEST(RowStore, NamesStayExactThroughRenamesRemovalsAndNewOrders)
{
    RowStore rows;
    RowFacts facts;
    facts.size = 4294967296u;  // 4 GiB: no 32-bit field
    const std::string longest(RowStore::kMaxName, 'n'), chinese = "\xD5\x5C\xCE\xC4.txt";  // 誠文: a trail byte 0x5C
    for (const std::string& name : {std::string("a"), longest, chinese, std::string("")})
        EXPECT_TRUE(rows.Add(name.data(), name.size(), facts));
    EXPECT_FALSE(rows.Add(longest.data(), longest.size() + 1, facts));  // a name longer than a name can be
    EXPECT_EQ(Shown(rows), std::vector<std::string>({"a", longest, chinese, ""}));
    EXPECT_EQ(rows.Facts(2).size, 4294967296u);

    EXPECT_TRUE(rows.Rename(0, "b.doc", 5));
    rows.Remove({1, 3, 99});  // an id never shown is passed over
    EXPECT_EQ(Shown(rows), std::vector<std::string>({"b.doc", chinese}));
    EXPECT_EQ(rows.IndexOfEachId(), std::vector<uint32_t>({0, RowStore::kNotShown, 1, RowStore::kNotShown}));
    rows.SetOrder({2, 0});
    EXPECT_EQ(Shown(rows), std::vector<std::string>({chinese, "b.doc"}));
    EXPECT_EQ(rows.OwnImage(0), -1);

    // Names fill blocks of a mebibyte without ever moving: the first name is still where it was.
    const char* first = rows.Name(0);
    RowStore::Id id = 0;
    for (int index = 0; index < 20000; ++index)
        ASSERT_TRUE(rows.Add(longest.data(), longest.size(), facts, &id));
    EXPECT_EQ(first, rows.Name(0));
    EXPECT_EQ(std::string(rows.Name(id)), longest);
    EXPECT_EQ(rows.Count(), 20002u);
    rows.Clear();
    EXPECT_EQ(rows.Count(), 0u);
}
