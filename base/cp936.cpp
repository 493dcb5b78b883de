#include "base/cp936.h"

#include <cstring>

namespace {

void ClearOut(char* out, size_t capacity)
{
    if (capacity > 0)
        out[0] = '\0';
}

}  // namespace

bool IsLeadByte936(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

size_t CharLength936(const char* text)
{
    return IsLeadByte936(static_cast<unsigned char>(text[0])) && text[1] != '\0' ? 2 : 1;
}

const char* FindLastCharacter(const char* text, char c)
{
    const char* last = nullptr;
    for (const char* p = text; *p != '\0'; p += CharLength936(p)) {
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
        size_t step = CharLength936(source + length);
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

void LowerCaseLetters(char* text)
{
    for (; *text != '\0'; text += CharLength936(text)) {
        if (*text >= 'A' && *text <= 'Z')
            *text = static_cast<char>(*text - 'A' + 'a');
    }
}
