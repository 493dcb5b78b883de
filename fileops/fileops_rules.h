#pragma once
// Rules of the file operations; platform-free (no <windows.h>).

#include <cstddef>

// True when renaming old to new changes the extension: the part from the
// last '.' on, letter case counted; a name without '.' has none, and an old
// name without one never asks.
bool ExtensionChanges(const char* oldName, const char* newName);

// The list of paths the shell deletes: each path and its NUL, one after
// another, and one more NUL after the last. Appends one path, keeping room
// for that last NUL; false when it doesn't fit.
bool AppendToDeleteList(const char* path, char* list, size_t capacity, size_t& used);
