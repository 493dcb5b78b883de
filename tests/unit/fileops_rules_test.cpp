// Rules of renaming and deleting.
#include "fileops/fileops_rules.h"

#include <gtest/gtest.h>

#include <string>

TEST(ExtensionChanges, LetterCaseCountsAndAMissingExtensionDiffers)
{
    const struct {
        const char* from;
        const char* to;
        bool asks;
    } cases[] = {
        {"a.txt", "a.doc", true},      {"a.txt", "a.TXT", true},   {"a.txt", "a", true},
        {"a.txt", "b.txt", false},     {"readme", "readme.txt", false}, {"notes.old", "memo.old", false},
        {"x.tar.gz", "y.gz", false},   {"a.\xD5\x5C", "b.\xD5\x5C", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExtensionChanges(c.from, c.to), c.asks) << c.from << " -> " << c.to;
}

TEST(DeleteList, PathsEachEndedThenOneMoreNul)
{
    char list[16];
    size_t used = 0;
    EXPECT_TRUE(AppendToDeleteList("C:\\a", list, sizeof list, used));
    EXPECT_TRUE(AppendToDeleteList("C:\\bb", list, sizeof list, used));
    EXPECT_EQ(std::string(list, used + 1), std::string("C:\\a\0C:\\bb\0\0", 12));
    EXPECT_FALSE(AppendToDeleteList("C:\\c", list, sizeof list, used));  // 11 + 5 + 1 > 16
    EXPECT_TRUE(AppendToDeleteList("C:", list, sizeof list, used));
    EXPECT_EQ(used, 14u);
    EXPECT_EQ(std::string(list, 15), std::string("C:\\a\0C:\\bb\0C:\0\0", 15));
}
