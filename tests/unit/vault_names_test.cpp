// Where vault entries lie and how their names are flattened and restored.
#include "base/vault_names.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kCheng = "\xD5\x5C";  // 誠: its trail byte is a backslash

}  // namespace

TEST(VaultNames, FlattenAndRestoreAreInverse)
{
    const struct {
        std::string home;
        std::string stored;  // empty: refused
    } cases[] = {
        {"D:\\docs\\work\\a.txt", "docs+work+a.txt"},
        {"D:\\a.txt", "a.txt"},
        {"D:\\photos\\2017", "photos+2017"},
        {"E:\\\\a.txt", "+a.txt"},  // a '+' at the fourth character restores to a doubled backslash
        {"D:\\" + kCheng + "\\" + kCheng + ".txt", kCheng + "+" + kCheng + ".txt"},
        {"D:\\x\\" + kCheng, "x+" + kCheng},
        {"D:\\" + std::string(255, 'n'), std::string(255, 'n')},
        {"D:\\C+\\x.cpp", ""},
        {"D:\\a+b.txt", ""},
        {"D:\\" + std::string(256, 'n'), ""},
        {"D:", ""},
        {"docs\\a.txt", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.home);
        char stored[300];
        EXPECT_EQ(FlattenHomePath(c.home.c_str(), stored, sizeof stored), !c.stored.empty());
        EXPECT_EQ(std::string(stored), c.stored);
        if (c.stored.empty())
            continue;
        char home[300];
        EXPECT_TRUE(RestoreHomePath(c.home[0], c.stored.c_str(), home, sizeof home));
        EXPECT_EQ(std::string(home), c.home);
    }
}

TEST(VaultNames, EntriesLieInTheirDrivesVaultAndFitAPath)
{
    char root[6], vault[16], entry[260];
    HiddenRootOf('D', root);
    VaultFolderOf('e', vault);
    EXPECT_EQ(std::string(root) + "|" + vault, "D:\\ \\|e:\\ \\Quillnest");
    EXPECT_TRUE(VaultEntryOf("E:\\docs\\a.txt", entry, sizeof entry));
    EXPECT_STREQ(entry, "E:\\ \\Quillnest\\docs+a.txt");
    // The entry's path is 12 bytes longer than its home path: 247 fits 260 bytes, 248 doesn't.
    std::string home = "D:\\" + std::string(244, 'n');
    EXPECT_TRUE(VaultEntryOf(home.c_str(), entry, sizeof entry));
    EXPECT_EQ(std::string(entry).size(), 259u);
    EXPECT_FALSE(VaultEntryOf((home + "n").c_str(), entry, sizeof entry));
    EXPECT_STREQ(entry, "");

    char small[8];
    EXPECT_FALSE(RestoreHomePath('D', "abcde", small, sizeof small));
    EXPECT_STREQ(small, "");
}
