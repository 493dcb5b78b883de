// The platform-free rules: code page 936 text, item texts, drives and sorting.
#include "base/cp936.h"
#include "base/location.h"
#include "browse/item_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

namespace {

// 本 is B1 BE: its trail byte also lies in the lead-byte range.
const std::string kBen = "\xB1\xBE";
// 誠 is D5 5C: its trail byte is a backslash.
const std::string kCheng = "\xD5\x5C";

}  // namespace

TEST(BoundedWriters, FitExactlyOrLeaveEmpty)
{
    const struct {
        const char* name;
        std::function<bool(char*, size_t)> write;
        std::string text;
    } writers[] = {
        {"kilobytes", [](char* o, size_t n) { return FormatKilobytes(uint64_t{1} << 32, o, n); }, "4194305KB"},
        {"gigabytes", [](char* o, size_t n) { return FormatGigabytes(UINT64_MAX, o, n); }, "17179869184.000G"},
        {"time", [](char* o, size_t n) { return FormatItemTime(2024, 3, 5, 7, 9, o, n); }, "2024-03-05 07:09"},
        {"join", [](char* o, size_t n) { return JoinPath(("C:\\" + kCheng).c_str(), "a", o, n); },
         "C:\\" + kCheng + "\\a"},
        {"copy", [](char* o, size_t n) { return CopyText("abc", o, n); }, "abc"},
    };
    for (const auto& w : writers) {
        for (size_t capacity = 0; capacity <= w.text.size() + 1; ++capacity) {
            SCOPED_TRACE(std::string(w.name) + " capacity " + std::to_string(capacity));
            char out[40];
            std::memset(out, '#', sizeof out);
            bool fits = capacity > w.text.size();
            EXPECT_EQ(w.write(out, capacity), fits);
            if (capacity > 0) {
                EXPECT_EQ(std::string(out), fits ? w.text : "");
            }
            for (size_t i = capacity; i < sizeof out; ++i)
                ASSERT_EQ(out[i], '#') << "wrote past capacity at " << i;
        }
    }
}

TEST(SizesAndTimes, AsTheListShowsThem)
{
    const uint64_t gib = uint64_t{1} << 30;
    const struct {
        uint64_t bytes;
        const char* kilobytes;
        const char* gigabytes;
    } cases[] = {
        {0, "1KB", "0.000G"},
        {1023, "1KB", "0.000G"},
        {1024, "2KB", "0.000G"},
        {67108863, "65536KB", "0.062G"},  // 0.0624999990...
        {67108864, "65537KB", "0.063G"},  // 0.0625 exactly goes up
        {gib - 1, "1048576KB", "1.000G"},
        {uint64_t{1} << 32, "4194305KB", "4.000G"},
        {500107862016, "488386585KB", "465.762G"},
        // 10000000000.000499375...: 17 digits end in ...000499, the fourth decimal stays 4.
        {10000000000u * gib + 536200, "10485760000000524KB", "10000000000.000G"},
        // 10000000000.000499561...: the 18th digit rounds ...000499 up to ...000500.
        {10000000000u * gib + 536400, "10485760000000524KB", "10000000000.001G"},
        {UINT64_MAX, "18014398509481984KB", "17179869184.000G"},
    };
    for (const auto& c : cases) {
        char out[32];
        EXPECT_TRUE(FormatKilobytes(c.bytes, out, sizeof out));
        EXPECT_STREQ(out, c.kilobytes) << c.bytes;
        EXPECT_TRUE(FormatGigabytes(c.bytes, out, sizeof out));
        EXPECT_STREQ(out, c.gigabytes) << c.bytes;
    }
    char out[32];
    EXPECT_TRUE(FormatItemTime(999, 1, 5, 7, 9, out, sizeof out));
    EXPECT_STREQ(out, "999-01-05 07:09");
}

TEST(DoubleByteText, NeverSplitsACharacter)
{
    const struct {
        std::string source;
        size_t capacity;
        std::string cut;
    } cuts[] = {
        {"abc", 3, "ab"}, {"a" + kBen, 3, "a"}, {"a" + kBen, 4, "a" + kBen}, {kBen + "b", 3, kBen}, {kBen + kBen, 2, ""},
    };
    for (const auto& c : cuts) {
        char out[16];
        std::memset(out, '#', sizeof out);
        CopyTextCut(c.source.c_str(), out, c.capacity);
        EXPECT_EQ(std::string(out), c.cut) << c.source << " / " << c.capacity;
        EXPECT_EQ(out[c.capacity], '#');
    }
    // A trail byte 0x5C is no backslash; a trail byte 'A' is no letter.
    std::string path = "x\\" + kCheng + kCheng;
    EXPECT_EQ(FindLastCharacter(path.c_str(), '\\'), path.c_str() + 1);
    EXPECT_FALSE(ContainsCharacter(kCheng.c_str(), '\\'));
    char letters[] = "TXT.\x81\x41Z";
    LowerCaseLetters(letters);
    EXPECT_STREQ(letters, "txt.\x81\x41z");
}

TEST(Extensions, AfterTheLastDotComparedWithoutCase)
{
    const struct {
        std::string name;
        std::string extension;
    } cases[] = {
        {"", ""}, {"noext", ""}, {"a.", ""}, {"a.b.txt", "txt"}, {"dir.x\\file", ""}, {"a." + kCheng, kCheng},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::string(ExtensionOf(c.name.c_str())), c.extension) << c.name;
    EXPECT_TRUE(SameExtension("TxT", "tXt"));
    EXPECT_FALSE(SameExtension("txt", "tx"));
    EXPECT_FALSE(SameExtension("[", "{"));
    EXPECT_FALSE(SameExtension("\x81\x41", "\x81\x61"));  // trail bytes are not letters
}

TEST(Drives, LettersTypesFloppiesAndDisplayNames)
{
    char letters[27];
    EXPECT_EQ(DriveLettersOfMask(0, letters), 0);
    EXPECT_STREQ(letters, "");
    EXPECT_EQ(DriveLettersOfMask(0x3FFFFFF, letters), 26);
    EXPECT_STREQ(letters, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(DriveLettersOfMask(0xFC000000 | 0x19, letters), 3);  // bits past Z name no drive
    EXPECT_STREQ(letters, "ADE");

    const char* types[] = {"未知磁盘类型", "磁盘名无效", "可移动磁盘", "本地磁盘", "网络磁盘", "光驱", "RAM",
                           "GetDriveType的返回值非法"};
    for (unsigned code = 0; code <= 8; ++code)
        EXPECT_STREQ(DriveTypeText(code), types[code < 7 ? code : 7]) << code;

    EXPECT_TRUE(IsFloppyDrive(2, 'A', ""));
    EXPECT_TRUE(IsFloppyDrive(2, 'G', "3.5 软盘 (G:)"));
    EXPECT_FALSE(IsFloppyDrive(2, 'G', "U 盘 (G:)"));
    EXPECT_FALSE(IsFloppyDrive(3, 'A', "软盘"));

    const std::pair<std::string, char> names[] = {{"本地磁盘 (C:)", 'C'}, {"a (X:) b (e:)", 'E'}, {"no drive", 0},
                                                  {"ends (", 0},          {"(1:)", 0},            {"(" + kBen + ")", 0}};
    for (const auto& n : names)
        EXPECT_EQ(DriveLetterOfDisplayName(n.first.c_str()), n.second) << n.first;
}

TEST(Sorting, KeysReadTheirViewsColumns)
{
    const struct {
        int key;
        View view;
        int column;
        bool bySize;
    } keys[] = {
        {1, View::Folder, 0, false}, {2, View::Folder, 1, true},  {3, View::Folder, 2, false},
        {4, View::Folder, 3, false}, {2, View::Vault, 1, true},   {1, View::Drives, 0, false},
        {2, View::Drives, 2, true},  {3, View::Drives, 1, false}, {4, View::Drives, -1, false},
        {0, View::Folder, -1, false}, {5, View::Folder, -1, false},
    };
    for (const auto& k : keys) {
        SortRule rule = SortRuleOfKey(k.key, k.view);
        EXPECT_EQ(rule.column, k.column) << k.key;
        EXPECT_EQ(rule.column < 0 || rule.bySize == k.bySize, true) << k.key;
    }
    EXPECT_EQ(SortRuleOfDriveColumn(3).column, 3);
    EXPECT_TRUE(SortRuleOfDriveColumn(3).bySize);
    EXPECT_EQ(SortRuleOfDriveColumn(5).column, -1);
    EXPECT_EQ(SizeKeyOf("123KB"), 123);
    EXPECT_EQ(SizeKeyOf("465.762G"), 465);
    EXPECT_EQ(SizeKeyOf(""), 0);
    EXPECT_EQ(SizeKeyOf("2147483649KB"), 2147483649);
}

TEST(Locations, ViewsAndTheirTexts)
{
    EXPECT_EQ(ViewOfLocation(""), View::Drives);
    EXPECT_EQ(ViewOfLocation("hide"), View::Vault);
    EXPECT_EQ(ViewOfLocation("Hide"), View::Folder);
    EXPECT_STREQ(LocationText(""), "我的电脑");
    EXPECT_STREQ(LocationText("hide"), "Quillvane");
    EXPECT_STREQ(LocationText("C:\\dir"), "C:\\dir");
}
