#pragma once
// What kind of item a row is: the files of one extension, or plain folders.
// The shell names each kind and gives its icons, asked once per kind and by
// the extension alone (SHGFI_USEFILEATTRIBUTES), which never touches a file.
#include <windows.h>

#include <cstdint>
#include <string>
#include <unordered_map>

// Kind 0 belongs to rows that are no listed file (drives, vault entries).
constexpr uint16_t kNoKind = 0;

// A worker's own memory of the kinds it has met, so that most entries of a
// listing need no lock.
struct KindLookup {
    unsigned epoch = 0;
    std::unordered_map<std::string, uint16_t> known;
    std::string key;  // the last key looked up, kept for its memory
};

// The kind of a listed entry; from any thread, asking the shell when the kind
// is new. kNoKind when the table is full.
uint16_t KindOfEntry(const char* name, DWORD attributes, KindLookup& lookup);
// True when an item shows an icon of its own, asked of the item itself: the
// files of kinds that carry theirs (programs, shortcuts, icon files), and
// read-only folders, which may set one in their desktop.ini.
bool ShowsOwnIcon(DWORD attributes, uint16_t kind);

// The window's thread only:
const char* KindTypeName(uint16_t kind);
// The kind's icon in the item list's image lists, appended when first shown.
int KindImage(uint16_t kind);
// The shell is asked again about every kind met from now on (F5).
void ForgetKinds();

// The icon a shell item shows for itself, small and large; null where there is none.
struct ShellIcons {
    HICON small = nullptr;
    HICON large = nullptr;
};
// Asks the shell for a path's own icons (the file is read: workers only).
ShellIcons OwnIconsOf(const char* path);
void DestroyIcons(ShellIcons& icons);
