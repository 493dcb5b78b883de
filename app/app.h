#pragma once
// The router: start-up, the message loop and the main window procedure,
// which hands every message, command and notification to its operation.
#include <windows.h>

// Start-up up to the message loop: the main window, created, centred and
// shown; null when it could not be created (the user has been told).
HWND StartApplication(HINSTANCE instance, int showCommand);
int RunMessageLoop(HWND window);
// One message of the loop: offered to the accelerators, else dispatched.
void DispatchThreadMessage(HWND window, MSG& message);
// Ends browsing and the message loop, once the main window is destroyed.
void CleanUp(HWND window);

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

