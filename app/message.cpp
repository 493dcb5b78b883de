#include "app/message.h"

#include <cstdio>

int ShowMessage(HWND owner, const char* text, const char* caption, UINT flags)
{
    return MessageBoxA(owner, text, caption, flags);
}

int ShowFormattedMessage(HWND owner, const char* caption, UINT flags, const char* format, const char* argument)
{
    // Arguments are paths of at most MAX_PATH bytes, so the text always fits.
    char text[1024];
    snprintf(text, sizeof text, format, argument);
    return ShowMessage(owner, text, caption, flags);
}
