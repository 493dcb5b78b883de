#include "base/item_names.h"

#include "base/ansi_text.h"

#include <cstring>

namespace {

bool IsForbiddenInName(unsigned char c) { return c < 0x20 || std::strchr("\\/:*?\"<>|", c) != nullptr; }

char UpperLetter(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The fault of the name from start up to end.
ListedNameFault FaultOfPart(const char* start, const char* end)
{
    bool onlyDots = true;
    char last = '\0';
    for (const char* p = start; p < end; p += CharLength(p)) {
        if (*p == '?' || *p == '*')
            return ListedNameFault::Wildcard;
        onlyDots = onlyDots && *p == '.';
        last = CharLength(p) == 1 ? *p : '\0';
    }
    if (onlyDots)
        return ListedNameFault::OnlyDots;
    if (last == '.' || last == ' ')
        return ListedNameFault::TrailingDotOrSpace;
    return ListedNameFault::None;
}

}  // namespace

ListedNameFault FaultOfListedName(const char* name) { return FaultOfPart(name, name + std::strlen(name)); }

ListedNameFault FaultOfPathParts(const char* path)
{
    const char* start = path[0] != '\0' && path[1] == ':' ? path + 2 : path;
    for (const char* p = start;; p += CharLength(p)) {
        if (*p != '\\' && *p != '\0')
            continue;
        ListedNameFault fault = p > start ? FaultOfPart(start, p) : ListedNameFault::None;
        if (fault != ListedNameFault::None || *p == '\0')
            return fault;
        start = p + 1;
    }
}

void TrimTypedName(char* name)
{
    // Only single-byte dots and spaces count: no second byte lies below 0x40.
    size_t keep = 0;
    for (const char* p = name; *p != '\0'; p += CharLength(p)) {
        if (*p != '.' && *p != ' ')
            keep = static_cast<size_t>(p - name) + CharLength(p);
    }
    name[keep] = '\0';
}

TypedNameFault FaultOfTypedName(const char* name)
{
    if (name[0] == '\0')
        return TypedNameFault::Empty;
    for (const char* p = name; *p != '\0'; p += CharLength(p)) {
        if (CharLength(p) == 1 && IsForbiddenInName(static_cast<unsigned char>(*p)))
            return TypedNameFault::ForbiddenCharacter;
    }
    // The device is named by the part before the first dot, trailing spaces dropped.
    size_t base = std::strcspn(name, ".");
    while (base > 0 && name[base - 1] == ' ')
        --base;
    char upper[5] = {};
    if (base < 3 || base > 4)
        return TypedNameFault::None;
    for (size_t i = 0; i < base; ++i)
        upper[i] = UpperLetter(name[i]);
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL"};
    for (const char* device : kDevices) {
        if (std::strcmp(upper, device) == 0)
            return TypedNameFault::DeviceName;
    }
    bool numbered = base == 4 && upper[3] >= '1' && upper[3] <= '9';
    if (numbered && (std::strncmp(upper, "COM", 3) == 0 || std::strncmp(upper, "LPT", 3) == 0))
        return TypedNameFault::DeviceName;
    return TypedNameFault::None;
}
