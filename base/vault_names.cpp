#include "base/vault_names.h"

#include "base/ansi_text.h"

#include <cstdio>
#include <cstring>

namespace {

bool StartsWithDrive(const char* path) { return path[0] != '\0' && path[1] == ':' && path[2] == '\\'; }

// Copies text, writing `to` for every single-byte `from`; false when it doesn't fit.
bool CopyReplacing(const char* text, char from, char to, char* out, size_t capacity)
{
    size_t length = std::strlen(text);
    if (length >= capacity)
        return false;
    std::memcpy(out, text, length + 1);
    for (char* p = out; *p != '\0'; p += CharLength(p)) {
        if (*p == from)
            *p = to;
    }
    return true;
}

}  // namespace

void HiddenRootOf(char drive, char (&out)[6]) { std::snprintf(out, sizeof out, "%c:\\ \\", drive); }

void VaultFolderOf(char drive, char (&out)[16]) { std::snprintf(out, sizeof out, "%c:\\ \\Quillnest", drive); }

bool FlattenHomePath(const char* homePath, char* out, size_t capacity)
{
    bool ok = StartsWithDrive(homePath) && !ContainsCharacter(homePath, '+') &&
              std::strlen(homePath + 3) <= kMaxStoredName && CopyReplacing(homePath + 3, '\\', '+', out, capacity);
    if (!ok && capacity > 0)
        out[0] = '\0';
    return ok;
}

bool RestoreHomePath(char drive, const char* storedName, char* out, size_t capacity)
{
    if (capacity < 4 || !CopyReplacing(storedName, '+', '\\', out + 3, capacity - 3)) {
        if (capacity > 0)
            out[0] = '\0';
        return false;
    }
    out[0] = drive;
    out[1] = ':';
    out[2] = '\\';
    return true;
}

bool VaultEntryOf(const char* homePath, char* out, size_t capacity)
{
    char folder[16];
    char stored[kMaxStoredName + 1];
    if (!FlattenHomePath(homePath, stored, sizeof stored)) {
        if (capacity > 0)
            out[0] = '\0';
        return false;
    }
    VaultFolderOf(homePath[0], folder);
    return JoinPath(folder, stored, out, capacity);
}
