#pragma once
// Texts shown for items, and the path and name rules they depend on.
// Platform-free: no <windows.h>; texts are NUL-terminated code page 936 bytes.
// Every function that writes into a buffer is given its capacity in bytes and
// returns false, leaving an empty string, when the whole text does not fit.

#include <cstddef>
#include <cstdint>

// True for a byte that starts a double-byte character in code page 936.
bool IsLeadByte936(unsigned char c);

// Size of a file: floor(bytes / 1024) + 1 as "%dKB" (0 -> "1KB", 1024 -> "2KB").
bool FormatKilobytes(uint64_t bytes, char* out, size_t capacity);

// Size of a volume in GiB with three decimals and a "G": the quotient is
// expanded to 17 significant digits, then cut after the third decimal, a
// following digit of 5 or more carrying upward (67,108,864 -> "0.063G").
bool FormatGigabytes(uint64_t bytes, char* out, size_t capacity);

// Modification time as "%i-%02d-%02d %02d:%02d".
bool FormatItemTime(int year, int month, int day, int hour, int minute, char* out, size_t capacity);

// "%s\%s": an entry's path from its folder and its name.
bool JoinPath(const char* folder, const char* name, char* out, size_t capacity);

// Copies as much of source as fits, never ending inside a double-byte character.
void CopyTextCut(const char* source, char* out, size_t capacity);

// A vault entry's home path from its drive letter and stored name: "%c:\%s",
// then every '+' from the fourth character on turned into '\'.
bool RestoreHomePath(char drive, const char* storedName, char* out, size_t capacity);

// The extension of a file name, without the dot, or "" when it has none.
const char* ExtensionOf(const char* name);

// Compares two extensions, ASCII letters without regard to case (the second
// byte of a double-byte character is never taken for a letter).
bool SameExtension(const char* a, const char* b);

// Turns the ASCII capital letters of a text into small ones, leaving
// double-byte characters whole.
void LowerCaseLetters(char* text);

// The drive letter right after the last '(' of a drive's display name such as
// "本地磁盘 (C:)", upper-cased; 0 when there is none.
char DriveLetterOfDisplayName(const char* displayName);

// Removes the last n characters (a double-byte character counts once); a text
// of fewer than n characters is left unchanged.
void CutLastCharacters(char* text, size_t n);

// What the status bar's first part shows for a location: "我的电脑" for the
// drives view (empty folder), "Quillvane" for the vault view ("hide"),
// otherwise the folder itself.
const char* LocationText(const char* currentFolder);

extern const char kVaultViewMarker[];  // "hide"
