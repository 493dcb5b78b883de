#include "app/app.h"

#include <objbase.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    HWND window = StartApplication(instance, showCommand);
    int code = window ? RunMessageLoop(window) : 0;
    CoUninitialize();
    return code;
}
