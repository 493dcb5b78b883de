// The platform-free rules: code page 936 text, item texts, drives, sorting and locations.
#include "base/cp936.h"
#include "base/location.h"
#include "browse/item_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

namespace {

const std::string kBen = "\xB1\xBE";    // 本: its trail byte also lies in the lead-byte range
const std::string kCheng = "\xD5\x5C";  // 誠: its trail byte is a backslash

}  // namespace

TEST(TextRules, BoundedWritersFitExactlyOrLeaveEmpty)
{
    const std::pair<std::function<bool(char*, size_t)>, std::string> writers[] = {
        {[](char* o, size_t n) { return FormatKilobytes(uint64_t{1} << 32, o, n); }, "4194305KB"},
        {[](char* o, size_t n) { return FormatGigabytes(UINT64_MAX, o, n); }, "17179869184.000G"},
        {[](char* o, size_t n) { return FormatItemTime(999, 3, 5, 7, 9, o, n); }, "999-03-05 07:09"},
        {[](char* o, size_t n) { return JoinPath(("C:\\" + kCheng).c_str(), "a", o, n); }, "C:\\" + kCheng + "\\a"},
    };
    for (const auto& w : writers) {
        for (size_t capacity = 1; capacity <= w.second.size() + 1; ++capacity) {
            char out[40];
            std::memset(out, '#', sizeof out);
            bool fits = capacity > w.second.size();
            EXPECT_EQ(w.first(out, capacity), fits) << w.second << " in " << capacity;
            EXPECT_EQ(std::string(out) + std::string(out + capacity, sizeof out - capacity),
                      (fits ? w.second : "") + std::string(sizeof out - capacity, '#'));
        }
    }
}

TEST(TextRules, SizesAsTheListShowsThem)
{
    const uint64_t gib = uint64_t{1} << 30;
    const struct {
        uint64_t bytes;
        const char* text;
    } cases[] = {
        {0, "1KB 0.000G"}, {1023, "1KB 0.000G"}, {1024, "2KB 0.000G"},
        {67108863, "65536KB 0.062G"},  // 0.0624999990...
        {67108864, "65537KB 0.063G"},  // 0.0625 exactly goes up
        {gib - 1, "1048576KB 1.000G"}, {500107862016, "488386585KB 465.762G"},
        // 10000000000.000499375...: 17 digits end in ...000499, the fourth decimal stays 4;
        // 10000000000.000499561...: the 18th digit rounds them up to ...000500.
        {10000000000u * gib + 536200, "10485760000000524KB 10000000000.000G"},
        {10000000000u * gib + 536400, "10485760000000524KB 10000000000.001G"},
    };
    for (const auto& c : cases) {
        char kilobytes[32], gigabytes[32];
        EXPECT_TRUE(FormatKilobytes(c.bytes, kilobytes, sizeof kilobytes) && FormatGigabytes(c.bytes, gigabytes, 32));
        EXPECT_EQ(std::string(kilobytes) + " " + gigabytes, c.text) << c.bytes;
    }
}

TEST(TextRules, DoubleByteCharactersStayWhole)
{
    for (const auto& cut : {std::make_pair("a" + kBen, std::string("a")), std::make_pair(kBen + "b", kBen)}) {
        char out[8] = "#######";
        CopyTextCut(cut.first.c_str(), out, 3);
        EXPECT_EQ(std::string(out) + out[3], cut.second + "#") << cut.first;
    }
    std::string path = "x\\" + kCheng + kCheng;
    EXPECT_EQ(FindLastCharacter(path.c_str(), '\\'), path.c_str() + 1);
    char letters[] = "TXT.\x81\x41Z";
    LowerCaseLetters(letters);
    EXPECT_STREQ(letters, "txt.\x81\x41z");
    std::string extensions;
    for (const std::string& name : {std::string("a."), std::string("a.b.txt"), std::string("dir.x\\file"), "a." + kCheng})
        extensions += std::string(ExtensionOf(name.c_str())) + "|";
    EXPECT_EQ(extensions, "|txt||" + kCheng + "|");
    EXPECT_TRUE(SameExtension("TxT", "tXt"));
    EXPECT_FALSE(SameExtension("txt", "tx") || SameExtension("[", "{") || SameExtension("\x81\x41", "\x81\x61"));
}

TEST(TextRules, DrivesSortKeysAndLocations)
{
    char letters[27];
    EXPECT_EQ(DriveLettersOfMask(0xFC000019, letters), 3);  // bits past Z name no drive
    EXPECT_STREQ(letters, "ADE");
    const char* types[] = {"未知磁盘类型", "磁盘名无效", "可移动磁盘", "本地磁盘", "网络磁盘", "光驱", "RAM",
                           "GetDriveType的返回值非法", "GetDriveType的返回值非法"};
    for (unsigned code = 0; code <= 8; ++code)
        EXPECT_STREQ(DriveTypeText(code), types[code]) << code;
    EXPECT_TRUE(IsFloppyDrive(2, 'A', "") && IsFloppyDrive(2, 'G', "3.5 软盘 (G:)"));
    EXPECT_FALSE(IsFloppyDrive(2, 'G', "U 盘 (G:)") || IsFloppyDrive(3, 'A', "软盘"));
    for (const auto& n : {std::make_pair(std::string("本地磁盘 (C:)"), 'C'), {"a (X:) b (e:)", 'E'}, {"ends (", '\0'},
                          {"(1:)", '\0'}, {"(" + kBen + ")", '\0'}})
        EXPECT_EQ(DriveLetterOfDisplayName(n.first.c_str()), n.second) << n.first;

    std::string columns;  // keys 1 to 4 (and 5) by view; '-' leaves every pair of rows level
    for (View view : {View::Folder, View::Vault, View::Drives}) {
        for (int key = 1; key <= 5; ++key) {
            SortRule rule = SortRuleOfKey(key, view);
            columns += rule.column < 0 ? "-" : std::to_string(rule.column) + (rule.bySize ? "#" : "");
        }
    }
    EXPECT_EQ(columns, "01#23-01#23-02#1--");
    EXPECT_TRUE(SortRuleOfDriveColumn(3).column == 3 && SortRuleOfDriveColumn(3).bySize && SortRuleOfDriveColumn(5).column < 0);
    EXPECT_EQ(SizeKeyOf("465.762G") + SizeKeyOf("") + SizeKeyOf("2147483649KB"), 465 + 0 + 2147483649);
    EXPECT_EQ(std::string(LocationText("")) + LocationText("hide") + LocationText("Hide"), "我的电脑QuillvaneHide");
}
