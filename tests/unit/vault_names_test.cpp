// Where vault entries lie and how their names are flattened and restored.
#include "base/vault_names.h"

#include <gtest/gtest.h>

#include <string>

TEST(VaultNames, FlattenAndRestoreAreInverse)
{
    const std::string cheng = "\xD5\x5C";  // 誠: its trail byte is a backslash
    const std::pair<std::string, std::string> cases[] = {
        // home path, stored name (empty: refused)
        {"D:\\docs\\work\\a.txt", "docs+work+a.txt"},
        {"D:\\a.txt", "a.txt"},
        {"D:\\photos\\2017", "photos+2017"},
        {"E:\\\\a.txt", "+a.txt"},  // a '+' at the fourth character stands for a doubled backslash
        {"D:\\" + cheng + "\\" + cheng + ".txt", cheng + "+" + cheng + ".txt"},
        {"D:\\x\\" + cheng, "x+" + cheng},
        {"D:\\" + std::string(255, 'n'), std::string(255, 'n')},
        {"D:\\" + std::string(256, 'n'), ""},
        {"D:\\C+\\x.cpp", ""},
        {"D:", ""},
        {"docs\\a.txt", ""}};
    for (const auto& c : cases) {
        char stored[300], home[300];
        EXPECT_EQ(FlattenHomePath(c.first.c_str(), stored, sizeof stored), !c.second.empty()) << c.first;
        EXPECT_EQ(std::string(stored), c.second);
        EXPECT_TRUE(c.second.empty() ||
                    (RestoreHomePath(c.first[0], c.second.c_str(), home, sizeof home) && c.first == home));
    }
}

TEST(VaultNames, EntriesLieInTheirDrivesVaultAndFitAPath)
{
    char root[6], vault[16], entry[260], small[8];
    HiddenRootOf('D', root);
    VaultFolderOf('e', vault);
    EXPECT_EQ(std::string(root) + "|" + vault, "D:\\ \\|e:\\ \\Quillnest");
    EXPECT_TRUE(VaultEntryOf("E:\\docs\\a.txt", entry, sizeof entry) &&
                entry == std::string("E:\\ \\Quillnest\\docs+a.txt"));
    // The entry's path is 12 bytes longer than its home path: 247 fits 260 bytes, 248 doesn't.
    std::string home = "D:\\" + std::string(244, 'n');
    EXPECT_TRUE(VaultEntryOf(home.c_str(), entry, sizeof entry) && std::string(entry).size() == 259);
    EXPECT_FALSE(VaultEntryOf((home + "n").c_str(), entry, sizeof entry) || entry[0] ||
                 RestoreHomePath('D', "abcde", small, 8));
}
