#pragma once
// Where a drive's vault lies and how its entries are named; platform-free.
//
// The vault of drive X is the folder "X:\ \Quillnest\": a folder named by one
// space in the drive's root (hidden and system), holding "Quillnest". An
// entry's stored name is its home path (the full path it had before it moved
// in) less the leading "X:\", with every '\' written as '+'. Home paths
// containing '+' can't be stored.

#include <cstddef>

// Longest stored name a file system takes for one path component.
constexpr size_t kMaxStoredName = 255;

// "X:\ \", always with its trailing backslash: the system drops trailing
// spaces from a last path component, so "X:\ " would name the drive's root.
void HiddenRootOf(char drive, char (&out)[6]);

// "X:\ \Quillnest" (no trailing backslash).
void VaultFolderOf(char drive, char (&out)[16]);

// The stored name of a home path; false when the path doesn't start with a
// drive ("X:\"), holds '+', or its stored name exceeds kMaxStoredName or capacity.
bool FlattenHomePath(const char* homePath, char* out, size_t capacity);

// A home path from the drive and stored name: "X:\" then the stored name with
// every '+' written as '\'.
bool RestoreHomePath(char drive, const char* storedName, char* out, size_t capacity);

// The full path of a home path's vault entry: "X:\ \Quillnest\" + stored name.
bool VaultEntryOf(const char* homePath, char* out, size_t capacity);
