#include "base/controls.h"

#include "base/app_state.h"
#include "base/layout.h"
#include "base/messages.h"
#include "res/resource.h"

namespace {

struct ColumnRule {
    const char* title;
    int width;
    int format;
};

// Each set in the order of its column names (base/columns.h).
const ColumnRule kDriveColumnRules[kDriveColumnCount] = {
    {"名称", 160, LVCFMT_CENTER},     {"类型", 100, LVCFMT_CENTER},     {"总大小", 100, LVCFMT_CENTER},
    {"可用空间", 100, LVCFMT_CENTER}, {"文件系统", 100, LVCFMT_CENTER},
};
const ColumnRule kFolderColumnRules[kFolderColumnCount] = {
    {"名称", 220, LVCFMT_CENTER},
    {"大小", 100, LVCFMT_RIGHT},
    {"类型", 120, LVCFMT_LEFT},
    {"修改时间", 120, LVCFMT_LEFT},
};
const ColumnRule kVaultColumnRules[kVaultColumnCount] = {
    {"文件所在路径", 560, LVCFMT_CENTER},
};

constexpr int kStatusPartEdges[] = {200, 300, -1};

HWND CreateChild(HWND parent, HINSTANCE instance, DWORD exStyle, const char* windowClass, DWORD style, int id)
{
    return CreateWindowExA(exStyle, windowClass, "", style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

// The set installed last; -1 before the first.
int g_installedSet = -1;

// True when the list shows the set's columns at their first widths.
template <size_t N> bool ShowsColumnsAsInstalled(HWND list, const ColumnRule (&rules)[N])
{
    for (size_t i = 0; i < N; ++i) {
        if (SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0) != ScaledToDpi(rules[i].width, g_app.dpi))
            return false;
    }
    return true;
}

template <size_t N> void InsertColumns(HWND list, const ColumnRule (&rules)[N])
{
    for (size_t i = 0; i < N; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = rules[i].format;
        column.cx = ScaledToDpi(rules[i].width, g_app.dpi);
        column.pszText = const_cast<char*>(rules[i].title);
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

}  // namespace

void CreateControls(HWND window)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));

    HWND tree = CreateChild(window, instance, 0, WC_TREEVIEWA,
                            WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                                TVS_LINESATROOT | TVS_TRACKSELECT,
                            IDC_FOLDER_TREE);
    if (!tree) {
        ShowMessage(window, Message::TreeControlFailed);
        return;
    }
    // The rows are the program's own: the list asks for what it shows.
    HWND list = CreateChild(window, instance, 0, WC_LISTVIEWA,
                            WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | LVS_REPORT | LVS_EDITLABELS |
                                LVS_OWNERDATA,
                            IDC_ITEM_LIST);
    if (!list) {
        ShowMessage(window, Message::ListControlFailed);
        return;
    }
    // Hidden rows are dimmed: the list asks for the cut state with the texts.
    SendMessageA(list, LVM_SETCALLBACKMASK, LVIS_CUT, 0);
    SetColumnSet(window, ColumnSet::Drives);
    SetViewMode(window, LVS_REPORT);

    HWND status = CreateChild(window, instance, WS_EX_CLIENTEDGE, STATUSCLASSNAMEA,
                              WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, IDC_STATUS_BAR);
    SendMessageA(status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(kStatusPartEdges));
    SetStatusText(window, StatusPart::Location, "");
    SetStatusText(window, StatusPart::Count, "");
}

void SetColumnSet(HWND window, ColumnSet set)
{
    HWND list = ItemList(window);
    // Columns as they would be installed stay: rebuilding them costs the
    // window milliseconds at every folder opened.
    bool asInstalled = set == ColumnSet::Drives   ? ShowsColumnsAsInstalled(list, kDriveColumnRules)
                       : set == ColumnSet::Folder ? ShowsColumnsAsInstalled(list, kFolderColumnRules)
                                                  : ShowsColumnsAsInstalled(list, kVaultColumnRules);
    if (g_installedSet == static_cast<int>(set) && asInstalled)
        return;
    g_installedSet = static_cast<int>(set);
    for (int column = 5; column >= 0; --column)
        SendMessageA(list, LVM_DELETECOLUMN, column, 0);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    switch (set) {
    case ColumnSet::Drives: InsertColumns(list, kDriveColumnRules); break;
    case ColumnSet::Folder: InsertColumns(list, kFolderColumnRules); break;
    case ColumnSet::Vault: InsertColumns(list, kVaultColumnRules); break;
    }
}

void LayoutControls(HWND window, LPARAM sizeParam)
{
    HWND status = StatusBar(window);
    SendMessageA(status, WM_SIZE, 0, 0);
    RECT statusRect = {};
    GetWindowRect(status, &statusRect);
    RECT client = {};
    GetClientRect(window, &client);

    ControlLayout layout = ComputeLayout(LOWORD(sizeParam), client.right - client.left, client.bottom,
                                         statusRect.bottom - statusRect.top, g_app.dpi);
    MoveWindow(ItemList(window), layout.listX, 0, layout.listWidth, layout.paneHeight, TRUE);
    MoveWindow(FolderTree(window), 0, 0, layout.treeWidth, layout.paneHeight, TRUE);
    SendMessageA(status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(layout.statusEdges));
}

void SetViewMode(HWND window, DWORD mode)
{
    HWND list = ItemList(window);
    LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
    SetWindowLongPtrA(list, GWL_STYLE, (style & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | mode);
    // Wine leaves pieces of the old view on screen until the list is repainted.
    InvalidateRect(list, nullptr, TRUE);
}

void SetStatusText(HWND window, StatusPart part, const char* text)
{
    SendMessageA(StatusBar(window), SB_SETTEXTA, static_cast<WPARAM>(IndexOf(part)), reinterpret_cast<LPARAM>(text));
}
