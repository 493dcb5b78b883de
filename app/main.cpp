#include "app/frame.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    HWND window = StartApplication(instance, showCommand);
    return window ? RunMessageLoop(window) : 0;
}
