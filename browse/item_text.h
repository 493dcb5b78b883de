#pragma once
// Texts shown for items and the rules the browsing views follow;
// platform-free (no <windows.h>): texts are NUL-terminated code page 936
// bytes, and every function that writes into a buffer takes its capacity
// and returns false, leaving an empty string, when the whole text does not fit.

#include "base/columns.h"
#include "base/location.h"
#include "browse/sort_keys.h"

#include <cstddef>
#include <cstdint>

// Size of a file: floor(bytes / 1024) + 1 as "%dKB" (0 -> "1KB", 1024 -> "2KB").
bool FormatKilobytes(uint64_t bytes, char* out, size_t capacity);

// Size of a volume in GiB with three decimals and a "G": the quotient is
// expanded to 17 significant digits, then cut after the third decimal, a
// following digit of 5 or more carrying upward (67,108,864 -> "0.063G").
bool FormatGigabytes(uint64_t bytes, char* out, size_t capacity);

// Modification time as "%i-%02d-%02d %02d:%02d".
bool FormatItemTime(int year, int month, int day, int hour, int minute, char* out, size_t capacity);

// The extension of a file name, without the dot, or "" when it has none.
const char* ExtensionOf(const char* name);

// Compares two extensions, ASCII letters without regard to case (the second
// byte of a double-byte character is never taken for a letter).
bool SameExtension(const char* a, const char* b);

// The type text of a drive-type code (GetDriveTypeA's value).
const char* DriveTypeText(unsigned code);
constexpr unsigned kRemovableDrive = 2;
constexpr unsigned kCdRomDrive = 5;

// The letters of the drives a GetLogicalDrives mask names, A to Z; returns how many.
int DriveLettersOfMask(uint32_t mask, char (&letters)[27]);

// A floppy drive must never be asked for its space: that would start the
// drive. Windows names such drives "软盘"; Wine's shell gives no such word,
// but on both the floppy drives are the removable drives A: and B:.
bool IsFloppyDrive(unsigned typeCode, char letter, const char* displayName);

// Which column of the view's set a sort reads and how; column -1 leaves
// every pair of rows level.
struct SortRule {
    int column;
    bool bySize;  // compared as sizes (the leading integer of the text), else as text
};
// The four keys read other columns in the drives view: its sizes are its
// third and fourth columns, and it has no time.
SortRule SortRuleOfKey(SortKey key, View view);
// In the drives view a header sorts by its own column; in the others the
// four headers are the four keys.
SortRule SortRuleOfDriveColumn(int column);
bool SortKeyOfFolderColumn(int column, SortKey& key);
// The leading decimal integer of a size text, as atoi reads it but in 64 bits
// ("123KB" -> 123, "465.762G" -> 465, "" -> 0).
int64_t SizeKeyOf(const char* text);
