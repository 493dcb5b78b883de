#include "app/app.h"
#include "base/ansi_text.h"
#include "base/app_state.h"
#include "base/layout.h"
#include "base/messages.h"
#include "browse/browse.h"
#include "res/resource.h"

#include <objbase.h>

namespace {

bool RegisterMainClass(const char* className)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = g_app.instance;
    windowClass.hIcon = LoadIconA(g_app.instance, MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
    // The small icon is the icon's own 16 x 16 picture, not the large one scaled down.
    windowClass.hIconSm =
        static_cast<HICON>(LoadImageA(g_app.instance, MAKEINTRESOURCEA(IDI_APPLICATION_ICON), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = className;
    return RegisterClassExA(&windowClass) != 0;
}

bool IsLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

bool IsEditingKey(WPARAM key)
{
    bool control = GetKeyState(VK_CONTROL) < 0;
    return key == VK_DELETE || (control && (key == 'A' || key == 'C' || key == 'X' || key == 'V'));
}

// The screen's logical pixels per inch, the same for all monitors. Without <dpiAware> in the manifest
// Windows Vista and later may report 96 here and stretch the window's bitmap instead.
int SystemDpi()
{
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDefaultDpi;
}

}  // namespace

HWND StartApplication(HINSTANCE instance, int showCommand)
{
    // A query of an empty floppy, card or CD drive would otherwise raise the
    // system's "no disk" box, on every start and at every click on the drive.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    g_app.instance = instance;
    g_app.dpi = SystemDpi();
    UseCodePage(GetACP(), IsLeadByte);
    // Shell look-ups and the verbs ShellExecuteA runs may use COM, which the
    // user-interface thread keeps initialised for its whole life, as the
    // shell's documentation asks.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    g_app.appIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APPLICATION_ICON));

    char title[100] = {};
    char className[100] = {};
    LoadStringA(instance, IDS_APP_TITLE, title, sizeof title);
    LoadStringA(instance, IDS_WINDOW_CLASS, className, sizeof className);

    // Under common controls 6 InitCommonControls registers nothing.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    if (!RegisterMainClass(className)) {
        ShowMessage(nullptr, Message::RegistrationFailed);
        return nullptr;
    }

    WindowPlacement placement =
        CentreMainWindow(GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN), g_app.dpi);
    HWND window = CreateWindowExA(WS_EX_ACCEPTFILES, className, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                                  placement.width, placement.height, nullptr, nullptr, instance, nullptr);
    if (!window) {
        ShowMessage(nullptr, Message::StartFailed);
        return nullptr;
    }
    SetWindowPos(window, HWND_TOP, placement.x, placement.y, 0, 0, SWP_NOSIZE);
    g_app.mainWindow = window;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    g_app.accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MAIN));
    return window;
}

int RunMessageLoop(HWND window)
{
    // Accelerators are offered every message of the thread, so the keys act
    // on the main window even while a control or the label editor has focus.
    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchThreadMessage(window, message);
    return static_cast<int>(message.wParam);
}

void DispatchThreadMessage(HWND window, MSG& message)
{
    // In the list's label editor Delete, Ctrl+A, Ctrl+C, Ctrl+X and Ctrl+V
    // edit the name instead of acting on the selected items.
    bool editing = message.message == WM_KEYDOWN && IsEditingKey(message.wParam) &&
                   message.hwnd == reinterpret_cast<HWND>(SendMessageA(ItemList(window), LVM_GETEDITCONTROL, 0, 0));
    if (editing && message.wParam == 'A') {
        // The edit control of Windows XP has no Ctrl+A of its own.
        SendMessageA(message.hwnd, EM_SETSEL, 0, -1);
        return;
    }
    if (!editing && TranslateAcceleratorA(window, g_app.accelerators, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

void CleanUp(HWND window)
{
    // Work in flight is left to itself: its answers find no window.
    EndBrowsing(window);
    g_app.mainWindow = nullptr;
    PostQuitMessage(0);
}
