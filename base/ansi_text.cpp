#include "base/ansi_text.h"

#include <cstring>

namespace {

// The lead bytes of code page 936, the code page until start-up names one.
bool IsLeadByte936(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

bool (*g_isLeadByte)(unsigned char) = IsLeadByte936;
bool g_utf8 = false;

void ClearOut(char* out, size_t capacity)
{
    if (capacity > 0)
        out[0] = '\0';
}

// Bytes of the UTF-8 sequence at text, or 1 when it isn't a whole one.
size_t Utf8Length(const unsigned char* text)
{
    unsigned char c = text[0];
    size_t length = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 1;
    for (size_t i = 1; i < length; ++i) {
        if (text[i] < 0x80 || text[i] > 0xBF)
            return 1;
    }
    return length;
}

}  // namespace

void UseCodePage(unsigned codePage, LeadBytePredicate isLeadByte)
{
    g_utf8 = codePage == 65001;
    g_isLeadByte = isLeadByte ? isLeadByte : IsLeadByte936;
}

size_t CharLength(const char* text)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    if (g_utf8)
        return Utf8Length(bytes);
    return g_isLeadByte(bytes[0]) && bytes[1] >= 0x40 ? 2 : 1;
}

const char* FindLastCharacter(const char* text, char c)
{
    const char* last = nullptr;
    for (const char* p = text; *p != '\0'; p += CharLength(p)) {
        if (*p == c)
            last = p;
    }
    return last;
}

bool ContainsCharacter(const char* text, char c) { return FindLastCharacter(text, c) != nullptr; }

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

bool CopyText(const char* source, char* out, size_t capacity)
{
    size_t length = std::strlen(source);
    if (length >= capacity) {
        ClearOut(out, capacity);
        return false;
    }
    std::memcpy(out, source, length + 1);
    return true;
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
    std::memcpy(out + folderLength + 1, name, nameLength + 1);
    return true;
}
