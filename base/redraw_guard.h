#pragma once
#include <windows.h>

// Keeps a control from redrawing while it is refilled; a visible list view
// repaints after every inserted row, which makes large listings crawl.
class RedrawGuard {
public:
    explicit RedrawGuard(HWND control) : control_(control) { SendMessageA(control_, WM_SETREDRAW, FALSE, 0); }
    ~RedrawGuard()
    {
        SendMessageA(control_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(control_, nullptr, TRUE);
    }
    RedrawGuard(const RedrawGuard&) = delete;
    RedrawGuard& operator=(const RedrawGuard&) = delete;

private:
    HWND control_;
};
