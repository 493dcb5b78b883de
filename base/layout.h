#pragma once
// Where the child controls go for a client area; platform-free.

struct ControlLayout {
    int listX, listWidth;  // item list: x, width (negative below 250)
    int treeWidth;         // folder tree width, fixed
    int paneHeight;        // height of tree and list
    int statusEdges[3];    // right edges of the three status-bar parts
};

// clientWidth16 is the low word of WM_SIZE's lParam; clientWidth and
// clientHeight come from the client rectangle, statusHeight from the status bar.
ControlLayout ComputeLayout(unsigned clientWidth16, int clientWidth, int clientHeight, int statusHeight);

struct WindowOrigin {
    int x, y;
};

// Top-left corner that centres the 900 x 600 main window in a full-screen
// client area of the given size; negative when the area is smaller.
WindowOrigin CentreMainWindow(int fullScreenWidth, int fullScreenHeight);

constexpr int kMainWindowWidth = 900;
constexpr int kMainWindowHeight = 600;
