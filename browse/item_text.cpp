#include "browse/item_text.h"

#include <cstdio>
#include <cstring>

const char kVaultViewMarker[] = "hide";

namespace {

const char kDrivesViewText[] = "我的电脑";
const char kVaultViewText[] = "Quillvane";

// Bytes taken by the character starting at text[0]; a lead byte before the NUL counts alone.
size_t CharLength(const char* text)
{
    return IsLeadByte936(static_cast<unsigned char>(text[0])) && text[1] != '\0' ? 2 : 1;
}

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

bool IsLeadByte936(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

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

bool JoinPath(const char* folder, const char* name, char* out, size_t capacity)
{
    size_t folderLength = std::strlen(folder);
    size_t nameLength = std::strlen(name);
    if (folderLength + 1 + nameLength >= capacity) {
        ClearOut(out, capacity);
        return false;
    }
    std::memcpy(out, folder, folderLength);
    out[folderLength] = '\\';
    std::memcpy(out + folderLength + 1, name, nameLength);
    out[folderLength + 1 + nameLength] = '\0';
    return true;
}

void CopyTextCut(const char* source, char* out, size_t capacity)
{
    if (capacity == 0)
        return;
    size_t length = 0;
    while (source[length] != '\0') {
        size_t step = CharLength(source + length);
        if (length + step > capacity - 1)
            break;
        length += step;
    }
    std::memcpy(out, source, length);
    out[length] = '\0';
}

bool RestoreHomePath(char drive, const char* storedName, char* out, size_t capacity)
{
    size_t nameLength = std::strlen(storedName);
    if (3 + nameLength >= capacity) {
        ClearOut(out, capacity);
        return false;
    }
    out[0] = drive;
    out[1] = ':';
    out[2] = '\\';
    std::memcpy(out + 3, storedName, nameLength + 1);
    for (size_t i = 0; out[i] != '\0'; i += CharLength(out + i)) {
        if (i >= 3 && out[i] == '+')
            out[i] = '\\';
    }
    return true;
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

void LowerCaseLetters(char* text)
{
    for (; *text != '\0'; text += CharLength(text))
        *text = LowerLetter(*text);
}

char DriveLetterOfDisplayName(const char* displayName)
{
    const char* afterParen = nullptr;
    for (const char* p = displayName; *p != '\0'; p += CharLength(p)) {
        if (*p == '(')
            afterParen = p + 1;
    }
    if (afterParen == nullptr)
        return 0;
    char c = *afterParen;
    if (c >= 'a' && c <= 'z')
        return static_cast<char>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z')
        return c;
    return 0;
}

void CutLastCharacters(char* text, size_t n)
{
    size_t count = 0;
    for (const char* p = text; *p != '\0'; p += CharLength(p))
        ++count;
    if (count < n)
        return;
    char* p = text;
    for (size_t kept = 0; kept < count - n; ++kept)
        p += CharLength(p);
    *p = '\0';
}

const char* LocationText(const char* currentFolder)
{
    if (currentFolder == nullptr || currentFolder[0] == '\0')
        return kDrivesViewText;
    if (std::strcmp(currentFolder, kVaultViewMarker) == 0)
        return kVaultViewText;
    return currentFolder;
}
