#pragma once
// Where the child controls go for a client area; platform-free.

// Fixed sizes are given for 96 DPI and scaled to the system's DPI.
constexpr int kDefaultDpi = 96;

struct ControlLayout {
    int listX, listWidth;  // item list: x (250 at 96 DPI), width (negative when the client area is narrower)
    int treeWidth;         // folder tree width (248 at 96 DPI)
    int paneHeight;        // height of tree and list
    int statusEdges[3];    // right edges of the three status-bar parts
};

// A size in pixels at 96 DPI, at dpi: scaled and rounded to the nearest pixel.
int ScaledToDpi(int pixels, int dpi);

// clientWidth16 is the low word of WM_SIZE's lParam; clientWidth and
// clientHeight come from the client rectangle, statusHeight from the status bar.
ControlLayout ComputeLayout(unsigned clientWidth16, int clientWidth, int clientHeight, int statusHeight, int dpi);

struct WindowPlacement {
    int x, y, width, height;
};

// The 900 x 600 main window at dpi, centred in a full-screen client area of
// the given size; x and y are negative when the area is smaller.
WindowPlacement CentreMainWindow(int fullScreenWidth, int fullScreenHeight, int dpi);
