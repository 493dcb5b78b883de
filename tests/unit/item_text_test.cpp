#include "browse/item_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

namespace {

// 本 in code page 936 is B1 BE: its trail byte also lies in the lead-byte range.
const char kBen[] = "\xB1\xBE";
// 誠 in code page 936 is D5 5C: its trail byte is a backslash.
const char kCheng[] = "\xD5\x5C";

std::string Cat(const std::string& a, const std::string& b, const std::string& c = "") { return a + b + c; }

}  // namespace

TEST(IsLeadByte936, RangeEnds)
{
    EXPECT_FALSE(IsLeadByte936(0x80));
    EXPECT_TRUE(IsLeadByte936(0x81));
    EXPECT_TRUE(IsLeadByte936(0xFE));
    EXPECT_FALSE(IsLeadByte936(0xFF));
    EXPECT_FALSE(IsLeadByte936(0x5C));
}

TEST(FormatKilobytes, AddsOneToWholeKilobytes)
{
    const struct {
        uint64_t bytes;
        const char* text;
    } cases[] = {
        {0, "1KB"},
        {1023, "1KB"},
        {1024, "2KB"},
        {uint64_t{1} << 32, "4194305KB"},
        {(uint64_t{1} << 41) + 5000, "2147483653KB"},
        {UINT64_MAX, "18014398509481984KB"},
    };
    for (const auto& c : cases) {
        char out[32];
        EXPECT_TRUE(FormatKilobytes(c.bytes, out, sizeof out));
        EXPECT_STREQ(out, c.text);
    }
}

TEST(FormatGigabytes, RoundsSeventeenDigitsThenThreeDecimals)
{
    const uint64_t gib = uint64_t{1} << 30;
    const uint64_t tenBillion = 10000000000u;
    const struct {
        uint64_t bytes;
        const char* text;
    } cases[] = {
        {0, "0.000G"},
        {1, "0.000G"},
        {67108863, "0.062G"},  // 0.0624999990...
        {67108864, "0.063G"},  // 0.0625 exactly
        {1073741, "0.001G"},   // 0.00099999923...
        {gib - 1, "1.000G"},
        {gib, "1.000G"},
        {500107862016, "465.762G"},
        {1000 * gib - 536400, "1000.000G"},
        {10000 * gib, "10000.000G"},
        // 10000000000.000499375...: 17 digits end in ...000499, the fourth decimal stays 4.
        {tenBillion * gib + 536200, "10000000000.000G"},
        // 10000000000.000499561...: the 18th digit rounds ...000499 up to ...000500.
        {tenBillion * gib + 536400, "10000000000.001G"},
        {UINT64_MAX, "17179869184.000G"},
    };
    for (const auto& c : cases) {
        char out[32];
        EXPECT_TRUE(FormatGigabytes(c.bytes, out, sizeof out)) << c.bytes;
        EXPECT_STREQ(out, c.text) << c.bytes;
    }
}

TEST(FormatItemTime, PadsAllButTheYear)
{
    char out[32];
    EXPECT_TRUE(FormatItemTime(2024, 3, 5, 7, 9, out, sizeof out));
    EXPECT_STREQ(out, "2024-03-05 07:09");
    EXPECT_TRUE(FormatItemTime(999, 12, 31, 23, 59, out, sizeof out));
    EXPECT_STREQ(out, "999-12-31 23:59");
    EXPECT_TRUE(FormatItemTime(12345, 1, 1, 0, 0, out, sizeof out));
    EXPECT_STREQ(out, "12345-01-01 00:00");
}

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
        {"join", [](char* o, size_t n) { return JoinPath("C:\\dir", "a.txt", o, n); }, "C:\\dir\\a.txt"},
        {"restore", [](char* o, size_t n) { return RestoreHomePath('E', "+a.txt", o, n); }, "E:\\\\a.txt"},
    };
    for (const auto& w : writers) {
        for (size_t capacity = 0; capacity <= w.text.size() + 1; ++capacity) {
            SCOPED_TRACE(std::string(w.name) + " capacity " + std::to_string(capacity));
            char out[40];
            std::memset(out, '#', sizeof out);
            bool fits = capacity > w.text.size();
            EXPECT_EQ(w.write(out, capacity), fits);
            if (fits) {
                EXPECT_EQ(std::string(out), w.text);
            } else if (capacity > 0) {
                EXPECT_EQ(out[0], '\0');
            }
            for (size_t i = capacity; i < sizeof out; ++i)
                ASSERT_EQ(out[i], '#') << "wrote past capacity at " << i;
        }
    }
}

TEST(JoinPath, KeepsFolderEndingInBackslashTrailByte)
{
    char out[32];
    EXPECT_TRUE(JoinPath(Cat("C:\\", kCheng).c_str(), "x", out, sizeof out));
    EXPECT_EQ(std::string(out), Cat("C:\\", kCheng, "\\x"));
}

TEST(CopyTextCut, NeverEndsInsideACharacter)
{
    const struct {
        std::string source;
        size_t capacity;
        std::string expected;
    } cases[] = {
        {"abc", 1, ""},
        {"abc", 3, "ab"},
        {"abc", 4, "abc"},
        {"abc", 9, "abc"},
        {Cat("a", kBen), 3, "a"},
        {Cat("a", kBen), 4, Cat("a", kBen)},
        {Cat(kBen, "b"), 3, kBen},  // last kept byte BE looks like a lead byte but is a trail
        {Cat(kBen, kBen), 4, kBen},
        {Cat(kBen, kBen), 2, ""},
    };
    for (const auto& c : cases) {
        char out[16];
        std::memset(out, '#', sizeof out);
        CopyTextCut(c.source.c_str(), out, c.capacity);
        EXPECT_EQ(std::string(out), c.expected) << c.source << " / " << c.capacity;
        EXPECT_EQ(out[c.capacity], '#');
    }
    char untouched = '#';
    CopyTextCut("abc", &untouched, 0);
    EXPECT_EQ(untouched, '#');
}

TEST(RestoreHomePath, TurnsPlusIntoBackslashAfterDrive)
{
    const struct {
        char drive;
        std::string stored;
        std::string expected;
    } cases[] = {
        {'E', "+a.txt", "E:\\\\a.txt"},
        {'C', "dir+sub+f.txt", "C:\\dir\\sub\\f.txt"},
        {'D', "plain", "D:\\plain"},
        {'C', Cat(kBen, "+", kCheng), Cat("C:\\", kBen, Cat("\\", kCheng))},
    };
    for (const auto& c : cases) {
        char out[40];
        EXPECT_TRUE(RestoreHomePath(c.drive, c.stored.c_str(), out, sizeof out));
        EXPECT_EQ(std::string(out), c.expected);
    }
}

TEST(ExtensionOf, AfterLastDotOfLastComponent)
{
    const struct {
        std::string name;
        std::string extension;
    } cases[] = {
        {"", ""},
        {"noext", ""},
        {"a.", ""},
        {"a.b.txt", "txt"},
        {".bashrc", "bashrc"},
        {"dir.x\\file", ""},
        {"dir.x\\file.doc", "doc"},
        {Cat("a.", kCheng), kCheng},  // the trail byte 5C is not a separator
    };
    for (const auto& c : cases) {
        const char* extension = ExtensionOf(c.name.c_str());
        EXPECT_EQ(std::string(extension), c.extension) << c.name;
        if (c.extension.empty()) {
            EXPECT_EQ(extension, c.name.c_str() + c.name.size());
        }
    }
}

TEST(SameExtension, IgnoresCaseOfAsciiLettersOnly)
{
    EXPECT_TRUE(SameExtension("", ""));
    EXPECT_TRUE(SameExtension("TxT", "tXt"));
    EXPECT_TRUE(SameExtension(kBen, kBen));
    EXPECT_FALSE(SameExtension("txt", "tx"));
    EXPECT_FALSE(SameExtension("tx", "txt"));
    EXPECT_FALSE(SameExtension("@", "`"));
    EXPECT_FALSE(SameExtension("[", "{"));
    EXPECT_FALSE(SameExtension("\xC4", "\xE4"));
    // A trail byte that looks like a capital letter is not folded: 81 41 and 81 61 are two characters.
    EXPECT_FALSE(SameExtension("\x81\x41", "\x81\x61"));
    EXPECT_FALSE(SameExtension("\x81" "A", "\x81" "a"));
}

TEST(LowerCaseLetters, FoldsSingleByteLettersOnly)
{
    char text[] = "TXT.\x81\x41Z";
    LowerCaseLetters(text);
    EXPECT_STREQ(text, "txt.\x81\x41z");
}

TEST(DriveLetterOfDisplayName, LetterAfterLastParenthesis)
{
    const struct {
        std::string name;
        char letter;
    } cases[] = {
        {"本地磁盘 (C:)", 'C'}, {"(d:)", 'D'}, {"a (X:) b (e:)", 'E'},   {"no drive", 0},
        {"ends (", 0},          {"(1:)", 0},   {Cat("(", kBen, ")"), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DriveLetterOfDisplayName(c.name.c_str()), c.letter) << c.name;
}

TEST(CutLastCharacters, CountsDoubleByteCharactersOnce)
{
    const struct {
        std::string text;
        size_t n;
        std::string expected;
    } cases[] = {
        {"ab", 0, "ab"},
        {"ab", 3, "ab"},
        {"ab", 2, ""},
        {"abc", 1, "ab"},
        {Cat("a", kBen), 1, "a"},
        {Cat(kBen, "b"), 1, kBen},  // BE before the cut is a trail byte
        {Cat(kBen, "b"), 2, ""},
        {Cat(kCheng, kCheng), 1, kCheng},
    };
    for (const auto& c : cases) {
        char text[16];
        std::strcpy(text, c.text.c_str());
        CutLastCharacters(text, c.n);
        EXPECT_EQ(std::string(text), c.expected) << c.text << " - " << c.n;
    }
}

TEST(LocationText, DrivesVaultOrFolder)
{
    EXPECT_STREQ(kVaultViewMarker, "hide");
    EXPECT_STREQ(LocationText(""), "我的电脑");
    EXPECT_STREQ(LocationText("hide"), "Quillvane");
    const char folder[] = "C:\\dir";
    EXPECT_EQ(LocationText(folder), folder);
    EXPECT_STREQ(LocationText("Hide"), "Hide");
}
