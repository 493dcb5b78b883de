#include "fileops/fileops_rules.h"

#include "base/ansi_text.h"

#include <cstring>

bool ExtensionChanges(const char* oldName, const char* newName)
{
    const char* oldExtension = FindLastCharacter(oldName, '.');
    if (oldExtension == nullptr)
        return false;
    const char* newExtension = FindLastCharacter(newName, '.');
    return newExtension == nullptr || std::strcmp(oldExtension, newExtension) != 0;
}

bool AppendToDeleteList(const char* path, char* list, size_t capacity, size_t& used)
{
    size_t length = std::strlen(path);
    if (used + length + 2 > capacity)
        return false;
    std::memcpy(list + used, path, length + 1);
    used += length + 1;
    list[used] = '\0';
    return true;
}
