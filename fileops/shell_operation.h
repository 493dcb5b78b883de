#pragma once
// What the file operations share: the shell's own delete and rename.
#include <windows.h>

// Deletes (the double-NUL list in from) or renames (from to to) through the
// shell, whose confirmation, progress and error dialogs the main window owns.
bool ShellFileOperation(HWND window, UINT operation, const char* from, const char* to);
