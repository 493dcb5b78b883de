#include "fileops/fileops_rules.h"

#include <gtest/gtest.h>

#include <string>

TEST(FileopsRules, ExtensionChangesAndDeleteList)
{
    std::string asks;  // letter case counts, and a missing extension differs
    for (auto names : {std::make_pair("a.txt", "a.doc"), {"a.txt", "a.TXT"}, {"a.txt", "a"}, {"a.txt", "b.txt"},
                       {"readme", "readme.txt"}, {"notes.old", "memo.old"}, {"a.\xD5\x5C", "b.\xD5\x5C"}})
        asks += ExtensionChanges(names.first, names.second) ? 'y' : 'n';
    EXPECT_EQ(asks, "yyynnnn");

    char list[16];
    size_t used = 0;
    EXPECT_TRUE(AppendToDeleteList("C:\\a", list, sizeof list, used) && AppendToDeleteList("C:\\bb", list, sizeof list, used));
    EXPECT_FALSE(AppendToDeleteList("C:\\c", list, sizeof list, used));  // 11 + 5 + the last NUL > 16
    EXPECT_TRUE(AppendToDeleteList("C:", list, sizeof list, used));
    EXPECT_EQ(std::string(list, used + 1), std::string("C:\\a\0C:\\bb\0C:\0\0", 15));
}
