// The platform-free rules: text, item names and texts, drives, layout, file operations, vault names.
#include "base/ansi_text.h"
#include "base/item_names.h"
#include "base/layout.h"
#include "base/vault_names.h"
#include "browse/item_text.h"
#include "fileops/fileops_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

const std::string kBen = "\xB1\xBE";    // 本: its trail byte also lies in the lead-byte range
const std::string kCheng = "\xD5\x5C";  // 誠: its trail byte is a backslash

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
    const std::pair<uint64_t, const char*> cases[] = {
        {0, "1KB 0.000G"},
        {1023, "1KB 0.000G"},
        {1024, "2KB 0.000G"},
        {500107862016, "488386585KB 465.762G"},
        {67108863, "65536KB 0.062G"},
        {67108864, "65537KB 0.063G"},  // 0.0624999990... and 0.0625 exactly
        // 10000000000.000499375...: 17 digits end in ...000499, the fourth decimal stays 4;
        // 10000000000.000499561...: the 18th digit rounds them up to ...000500.
        {10000000000u * gib + 536200, "10485760000000524KB 10000000000.000G"},
        {10000000000u * gib + 536400, "10485760000000524KB 10000000000.001G"},
    };
    for (const auto& c : cases) {
        char kilobytes[32], gigabytes[32];
        EXPECT_TRUE(FormatKilobytes(c.first, kilobytes, sizeof kilobytes) && FormatGigabytes(c.first, gigabytes, 32));
        EXPECT_EQ(std::string(kilobytes) + " " + gigabytes, c.second) << c.first;
    }
}

TEST(TextRules, ExtensionsAndDrives)
{
    std::string extensions;
    for (const std::string& name :
         {std::string("a."), std::string("a.b.txt"), std::string("dir.x\\file"), "a." + kCheng})
        extensions += std::string(ExtensionOf(name.c_str())) + "|";
    EXPECT_EQ(extensions, "|txt||" + kCheng + "|");
    EXPECT_TRUE(SameExtension("TxT", "tXt"));
    EXPECT_FALSE(SameExtension("txt", "tx") || SameExtension("[", "{") || SameExtension("\x81\x41", "\x81\x61"));

    EXPECT_TRUE(IsFloppyDrive(2, 'A', "") && IsFloppyDrive(2, 'G', "3.5 软盘 (G:)"));
    EXPECT_FALSE(IsFloppyDrive(2, 'G', "U 盘 (G:)") || IsFloppyDrive(3, 'A', "软盘"));
    // In the drives view a header sorts by its own column: the free space as a number.
    EXPECT_TRUE(SortRuleOfDriveColumn(2).column == 2 && SortRuleOfDriveColumn(2).bySize &&
                SortRuleOfDriveColumn(3).bySize && !SortRuleOfDriveColumn(1).bySize &&
                SortRuleOfDriveColumn(5).column < 0);
}

TEST(Layout, ControlsFollowTheClientWidthAndTheDpi)
{
    // DPI, low word of the width, width: list x, list width, tree width (scaled sizes round to the nearest pixel).
    const int cases[][6] = {{96, 90, 90, 250, -160, 248},
                            {96, 70000 & 0xFFFF, 70000, 250, 4214, 248},
                            {120, 1000, 1000, 313, 687, 310},
                            {144, 1000, 1000, 375, 625, 372}};
    for (const auto& c : cases) {
        ControlLayout layout = ComputeLayout(static_cast<unsigned>(c[1]), c[2], 600, 22, c[0]);
        EXPECT_EQ(std::vector<int>(
                      {layout.listX, layout.listWidth, layout.treeWidth, layout.paneHeight, layout.statusEdges[2]}),
                  std::vector<int>({c[3], c[4], c[5], 578, -1}));
    }
    // The status bar's parts end at the width times 0.7 and 0.85 as doubles multiply them, truncated, for every
    // width (90 * 0.7 gives 62), whatever unit the program is built for (x87 rounds its products twice).
    for (int w = 0; w <= 65535; ++w) {
        const ControlLayout l = ComputeLayout(static_cast<unsigned>(w), w, 600, 22, 96);
        volatile double seventy = w * 0.7, eightyFive = w * 0.85;  // SSE doubles: this test runs natively
        ASSERT_EQ(l.statusEdges[0], static_cast<int>(seventy)) << "width " << w;
        ASSERT_EQ(l.statusEdges[1], static_cast<int>(eightyFive)) << "width " << w;
    }
    // The window is 900 x 600 at 96 DPI, centred (off the screen's corner when the screen is smaller).
    std::vector<int> placements;
    for (WindowPlacement p :
         {CentreMainWindow(1920, 1017, 96), CentreMainWindow(800, 560, 96), CentreMainWindow(1920, 1017, 144)})
        placements.insert(placements.end(), {p.x, p.y, p.width, p.height});
    EXPECT_EQ(placements, std::vector<int>({510, 208, 900, 600, -50, -20, 900, 600, 285, 58, 1350, 900}));
}

TEST(FileopsRules, ExtensionChangesAndDeleteList)
{
    EXPECT_FALSE(ExtensionChanges("a.\xD5\x5C", "b.\xD5\x5C"));  // a trail byte 0x5C is no backslash

    char list[16];
    size_t used = 0;
    EXPECT_TRUE(AppendToDeleteList("C:\\a", list, 16, used) && AppendToDeleteList("C:\\bb", list, 16, used));
    EXPECT_FALSE(AppendToDeleteList("C:\\c", list, 16, used));  // 11 + 5 + the last NUL > 16
    EXPECT_TRUE(AppendToDeleteList("C:", list, 16, used));
    EXPECT_EQ(std::string(list, used + 1), std::string("C:\\a\0C:\\bb\0C:\0\0", 15));
}

TEST(TextRules, NoCodePageSplitsOrMisreadsACharacter)
{
    // 1252 has no lead bytes; 65001 has sequences of up to four bytes.
    struct {
        unsigned codePage;
        LeadBytePredicate isLeadByte;
        std::string text;
        const char* cutTo3;
        int lastBackslash, lastQuestionMark;
    } cases[] = {
        {936, nullptr, "a" + kCheng, "a", -1, -1},
        {936, nullptr, kBen + "b", kBen.c_str(), -1, -1},  // 本's trail byte lies in the lead-byte range
        {936, nullptr, "x\\" + kCheng, "x\\", 1, -1},
        {936, nullptr, "a\x81\x40", "a", -1, -1},  // 0x40 is the lowest second byte
        {936, nullptr, "\xE9?", "\xE9?", -1, 1},   // no second byte lies below 0x40
        {1252, [](unsigned char) { return false; }, "a" + kCheng, "a\xD5", 2, -1},
        {65001, nullptr, "\xE4\xB8\xAD", "", -1, -1},
        {65001, nullptr, "\xE4\xB8?\\", "\xE4\xB8", 3, 2},  // an unfinished sequence is bytes
    };
    for (const auto& c : cases) {
        UseCodePage(c.codePage, c.isLeadByte);
        char out[8];
        CopyTextCut(c.text.c_str(), out, 3);
        const char* backslash = FindLastCharacter(c.text.c_str(), '\\');
        const char* question = FindLastCharacter(c.text.c_str(), '?');
        EXPECT_EQ(out, std::string(c.cutTo3)) << c.codePage << " " << c.text;
        EXPECT_EQ(backslash ? backslash - c.text.c_str() : -1, c.lastBackslash) << c.codePage << " " << c.text;
        EXPECT_EQ(question ? question - c.text.c_str() : -1, c.lastQuestionMark) << c.codePage << " " << c.text;
    }
    UseCodePage(936, nullptr);
}

TEST(ItemNames, NamesWindowsWouldReadAsOthersAreRefused)
{
    // W wildcard, T trailing dot or space, D only dots, - none.
    std::string listed;
    for (const std::string& name : {std::string("a."), std::string("a "), std::string("..."), std::string("a.b"),
                                    std::string("\xE9?.txt"), std::string("a*"), kCheng, kCheng + ".", kBen + " x"})
        listed += "-WTD"[static_cast<int>(FaultOfListedName(name.c_str()))];
    EXPECT_EQ(listed, "TTD-WW-T-");
    std::string paths;
    for (const char* path : {"D:\\docs.\\a.txt", "D:\\docs\\a.txt", "E:\\\\a.txt", "D:", "D:\\a\\b "})
        paths += "-WTD"[static_cast<int>(FaultOfPathParts(path))];
    EXPECT_EQ(paths, "T---T");

    // Trimmed first; E empty, F forbidden character, N device name, - none.
    std::string typed;
    for (const char* name : {"b.txt.. ", ". ..", "..\\x.txt", "a/b", "a\x01", "a|", "CON", "con.txt", "nul .a", "Com9",
                             "lpt1", "PRN.x", "aux", "COM10", "LPT0", "console", kCheng.c_str(), "\xB1\x7C"}) {
        char text[32];
        snprintf(text, sizeof text, "%s", name);
        TrimTypedName(text);
        typed += std::string(text).substr(0, 5) + ":" + "-EFN"[static_cast<int>(FaultOfTypedName(text))] + " ";
    }
    EXPECT_EQ(typed, "b.txt:- :E ..\\x.:F a/b:F a\x01:F a|:F CON:N con.t:N nul .:N Com9:N lpt1:N PRN.x:N aux:N COM10:- "
                     "LPT0:- conso:- " +
                         kCheng + ":- \xB1\x7C:- ");
}

TEST(VaultNames, FlattenAndRestoreAreInverse)
{
    const std::pair<std::string, std::string> cases[] = {
        // home path, stored name (empty: refused)
        {"D:\\docs\\work\\a.txt", "docs+work+a.txt"},
        {"D:\\a.txt", "a.txt"},
        {"D:\\photos\\2017", "photos+2017"},
        {"E:\\\\a.txt", "+a.txt"},  // a '+' at the fourth character stands for a doubled backslash
        {"D:\\" + kCheng + "\\" + kCheng + ".txt", kCheng + "+" + kCheng + ".txt"},
        {"D:\\x\\" + kCheng, "x+" + kCheng},
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
    char entry[260], small[8];
    // The entry's path is 12 bytes longer than its home path: 247 fits 260 bytes, 248 doesn't.
    std::string home = "D:\\" + std::string(244, 'n');
    EXPECT_TRUE(VaultEntryOf(home.c_str(), entry, sizeof entry) && std::string(entry).size() == 259);
    EXPECT_FALSE(VaultEntryOf((home + "n").c_str(), entry, sizeof entry) || entry[0] ||
                 RestoreHomePath('D', "abcde", small, 8));
}
