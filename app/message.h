#pragma once
#include <windows.h>

// Every message box of the program goes through here.
int ShowMessage(HWND owner, const char* text, const char* caption, UINT flags);

// Shows a text formatted with one argument of at most MAX_PATH bytes.
int ShowFormattedMessage(HWND owner, const char* caption, UINT flags, const char* format, const char* argument);
