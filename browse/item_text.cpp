#include "browse/item_text.h"

#include "base/ansi_text.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void ClearOut(char* out, size_t capacity)
{
    if (capacity > 0)
        out[0] = '\0';
}

// Copies text (length bytes plus its NUL) into out, or clears out when it does not fit.
bool PutText(const char* text, size_t length, char* out, size_t capacity)
{
    if (length >= capacity) {
        ClearOut(out, capacity);
        return false;
    }
    std::memcpy(out, text, length);
    out[length] = '\0';
    return true;
}

// Writes value in decimal (no NUL) into digits, which holds at least 20 bytes; returns the length.
size_t UnsignedToDecimal(uint64_t value, char* digits)
{
    char reversed[20];
    size_t count = 0;
    do {
        reversed[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (size_t i = 0; i < count; ++i)
        digits[i] = reversed[count - 1 - i];
    return count;
}

// Adds one unit at digits[position], carrying toward index 0.
void IncrementDigit(unsigned char* digits, size_t position)
{
    for (size_t i = position + 1; i-- > 0;) {
        if (digits[i] < 9) {
            ++digits[i];
            return;
        }
        digits[i] = 0;
    }
}

char LowerLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool FormatKilobytes(uint64_t bytes, char* out, size_t capacity)
{
    char text[24];
    size_t length = UnsignedToDecimal(bytes / 1024 + 1, text);
    text[length++] = 'K';
    text[length++] = 'B';
    return PutText(text, length, out, capacity);
}

bool FormatGigabytes(uint64_t bytes, char* out, size_t capacity)
{
    // bytes / 2^30 written out exactly: 12 integer digits (the quotient has at most 11,
    // one spare for a carry) followed by its 30 fraction digits.
    constexpr size_t kIntDigits = 12;
    constexpr size_t kFracDigits = 30;
    constexpr size_t kAll = kIntDigits + kFracDigits;
    constexpr size_t kSignificant = 17;
    unsigned char digits[kAll] = {};

    uint64_t whole = bytes >> 30;
    for (size_t i = kIntDigits; i-- > 0 && whole != 0;) {
        digits[i] = static_cast<unsigned char>(whole % 10);
        whole /= 10;
    }
    uint64_t fraction = bytes & ((uint64_t{1} << 30) - 1);
    for (size_t i = kIntDigits; i < kAll; ++i) {
        fraction *= 10;
        digits[i] = static_cast<unsigned char>(fraction >> 30);
        fraction &= (uint64_t{1} << 30) - 1;
    }

    // Round to 17 significant digits, ties to even, then drop the rest.
    size_t first = 0;
    while (first < kAll && digits[first] == 0)
        ++first;
    size_t cut = first + kSignificant;
    if (cut < kAll) {
        bool restNonZero = false;
        for (size_t i = cut + 1; i < kAll; ++i)
            restNonZero = restNonZero || digits[i] != 0;
        unsigned dropped = digits[cut];
        if (dropped > 5 || (dropped == 5 && (restNonZero || digits[cut - 1] % 2 == 1))) {
            IncrementDigit(digits, cut - 1);
        }
        for (size_t i = cut; i < kAll; ++i)
            digits[i] = 0;
    }

    // Keep three decimals, the fourth rounding half up.
    if (digits[kIntDigits + 3] >= 5)
        IncrementDigit(digits, kIntDigits + 2);

    char text[kIntDigits + 6];
    size_t length = 0;
    size_t start = 0;
    while (start < kIntDigits - 1 && digits[start] == 0)
        ++start;
    for (size_t i = start; i < kIntDigits; ++i)
        text[length++] = static_cast<char>('0' + digits[i]);
    text[length++] = '.';
    for (size_t i = kIntDigits; i < kIntDigits + 3; ++i)
        text[length++] = static_cast<char>('0' + digits[i]);
    text[length++] = 'G';
    return PutText(text, length, out, capacity);
}

bool FormatItemTime(int year, int month, int day, int hour, int minute, char* out, size_t capacity)
{
    char text[64];
    int length = std::snprintf(text, sizeof text, "%i-%02d-%02d %02d:%02d", year, month, day, hour, minute);
    if (length < 0 || static_cast<size_t>(length) >= sizeof text) {
        ClearOut(out, capacity);
        return false;
    }
    return PutText(text, static_cast<size_t>(length), out, capacity);
}

const char* ExtensionOf(const char* name)
{
    const char* extension = nullptr;
    const char* p = name;
    for (; *p != '\0'; p += CharLength(p)) {
        if (*p == '\\')
            extension = nullptr;
        else if (*p == '.')
            extension = p + 1;
    }
    return extension != nullptr ? extension : p;
}

bool SameExtension(const char* a, const char* b)
{
    while (*a != '\0' && *b != '\0') {
        size_t lengthA = CharLength(a);
        size_t lengthB = CharLength(b);
        if (lengthA != lengthB)
            return false;
        if (lengthA == 2 ? (a[0] != b[0] || a[1] != b[1]) : LowerLetter(*a) != LowerLetter(*b))
            return false;
        a += lengthA;
        b += lengthB;
    }
    return *a == *b;
}

const char* DriveTypeText(unsigned code)
{
    static const char* const kTypeTexts[] = {"未知磁盘类型", "磁盘名无效", "可移动磁盘", "本地磁盘",
                                             "网络磁盘",     "光驱",       "RAM"};
    return code < sizeof kTypeTexts / sizeof kTypeTexts[0] ? kTypeTexts[code] : "GetDriveType的返回值非法";
}

int DriveLettersOfMask(uint32_t mask, char (&letters)[27])
{
    int count = 0;
    for (int bit = 0; bit < 26; ++bit) {
        if (mask & (uint32_t{1} << bit))
            letters[count++] = static_cast<char>('A' + bit);
    }
    letters[count] = '\0';
    return count;
}

bool IsFloppyDrive(unsigned typeCode, char letter, const char* displayName)
{
    if (typeCode != kRemovableDrive)
        return false;
    return letter == 'A' || letter == 'B' || std::strstr(displayName, "软盘") != nullptr;
}

namespace {

SortRule RuleOf(FolderColumn column) { return {IndexOf(column), column == FolderColumn::Size}; }

SortRule RuleOf(DriveColumn column)
{
    return {IndexOf(column), column == DriveColumn::TotalSize || column == DriveColumn::FreeSpace};
}

constexpr SortRule kLevel = {-1, false};

}  // namespace

SortRule SortRuleOfKey(SortKey key, View view)
{
    bool drives = view == View::Drives;
    switch (key) {
    case SortKey::Name: return drives ? RuleOf(DriveColumn::Name) : RuleOf(FolderColumn::Name);
    case SortKey::Size: return drives ? RuleOf(DriveColumn::TotalSize) : RuleOf(FolderColumn::Size);
    case SortKey::Type: return drives ? RuleOf(DriveColumn::Type) : RuleOf(FolderColumn::Type);
    case SortKey::Time: return drives ? kLevel : RuleOf(FolderColumn::Time);
    }
    return kLevel;
}

SortRule SortRuleOfDriveColumn(int column)
{
    return column >= 0 && column < kDriveColumnCount ? RuleOf(static_cast<DriveColumn>(column)) : kLevel;
}

bool SortKeyOfFolderColumn(int column, SortKey& key)
{
    static const SortKey kKeyOfColumn[kFolderColumnCount] = {SortKey::Name, SortKey::Size, SortKey::Type,
                                                              SortKey::Time};
    if (column < 0 || column >= kFolderColumnCount)
        return false;
    key = kKeyOfColumn[column];
    return true;
}

int64_t SizeKeyOf(const char* text) { return std::strtoll(text, nullptr, 10); }
