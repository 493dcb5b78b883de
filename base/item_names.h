#pragma once
// Which names the program may hand to the file system; platform-free (no
// <windows.h>). A path given to a command must name exactly the item the
// user chose, so names that Windows would read as another name, or as a
// pattern, are refused.

// Why a name the file system listed can't be handed back to it as it stands.
enum class ListedNameFault {
    None,
    // '?' or '*': the shell takes them for wildcards, and the list shows a
    // character the code page can't hold as '?'.
    Wildcard,
    // Windows drops trailing dots and spaces from a path's last part, so
    // "a." names "a".
    TrailingDotOrSpace,
    // "..." and the like: with the trailing dots dropped nothing is left,
    // and the path names the folder itself.
    OnlyDots,
};
ListedNameFault FaultOfListedName(const char* name);

// The first fault of the parts of a path, checked one by one; the drive
// ("X:") and empty parts are passed over.
ListedNameFault FaultOfPathParts(const char* path);

// Why a name typed for an item can't be taken.
enum class TypedNameFault {
    None,
    Empty,
    // \ / : * ? " < > | or a control character: the name would be a path, a
    // stream or a pattern.
    ForbiddenCharacter,
    // CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9, also with an
    // extension: Windows opens the device instead.
    DeviceName,
};

// Drops a typed name's trailing dots and spaces, as Windows' own rename does.
void TrimTypedName(char* name);
// The fault of a trimmed typed name.
TypedNameFault FaultOfTypedName(const char* name);
