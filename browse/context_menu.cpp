#include "base/app_state.h"
#include "browse/browse.h"
#include "browse/browse_parts.h"
#include "res/resource.h"

namespace {

// One entry of a pop-up menu: a command, a separator (id 0, no text) or a
// submenu (id 0, a text, followed by its entries and closed by kEnd).
struct MenuEntry {
    const char* text;
    UINT id;
};

constexpr MenuEntry kSeparator = {nullptr, 0};
constexpr MenuEntry kEnd = {"", 0};

MenuEntry Submenu(const char* text) { return {text, 0}; }

// clang-format off: one entry a line, as the menus show them
const MenuEntry kFolderBackgroundMenu[] = {
    Submenu("查看"),
    {"图标", IDM_VIEW_ICON},
    {"列表", IDM_VIEW_LIST},
    {"详细信息", IDM_VIEW_DETAILS},
    kEnd,
    kSeparator,
    Submenu("排列图标"),
    {"名称", IDM_SORT_NAME},
    {"大小", IDM_SORT_SIZE},
    {"类型", IDM_SORT_TYPE},
    {"修改时间", IDM_SORT_TIME},
    kEnd,
    {"刷新(&E)", IDM_REFRESH},
    kSeparator,
    Submenu("新建"),
    {"文件夹", IDM_NEW_FOLDER},
    kSeparator,
    {"BMP图像", IDM_NEW_BITMAP},
    {"Microsoft Word 文档", IDM_NEW_WORD},
    {"Microsoft PowerPoint 演示文稿", IDM_NEW_POWERPOINT},
    {"文本文档", IDM_NEW_TEXT},
    {"波形声音", IDM_NEW_WAVE},
    {"Microsoft Excel 工作表", IDM_NEW_EXCEL},
    kEnd,
    kSeparator,
    {"属性", IDM_PROPERTIES},
    kEnd,
};

const MenuEntry kDriveItemMenu[] = {
    {"打开磁盘", IDM_OPEN},
    kEnd,
};

const MenuEntry kFolderItemMenu[] = {
    {"打开", IDM_OPEN},
    kSeparator,
    {"移入Quillvane", IDM_VAULT_MOVE_IN},
    kSeparator,
    {"重命名", IDM_RENAME},
    {"删除", IDM_DELETE},
    kSeparator,
    {"属性", IDM_PROPERTIES},
    kEnd,
};

const MenuEntry kVaultItemMenu[] = {
    Submenu("移除Quillvane"), {"移除不打开", IDM_VAULT_MOVE_OUT}, {"移除并打开", IDM_VAULT_MOVE_OUT_OPEN}, kEnd, kEnd,
};

// clang-format on

bool IsEnd(const MenuEntry& entry) { return entry.text && !entry.text[0] && entry.id == 0; }

// Appends entries up to the matching kEnd; returns the entry after it.
const MenuEntry* AppendEntries(HMENU menu, const MenuEntry* entry)
{
    for (; !IsEnd(*entry); ++entry) {
        if (!entry->text) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        } else if (entry->id == 0) {
            HMENU submenu = CreatePopupMenu();
            const MenuEntry* title = entry;
            entry = AppendEntries(submenu, entry + 1);
            AppendMenuA(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), title->text);
        } else {
            AppendMenuA(menu, MF_STRING, entry->id, entry->text);
        }
    }
    return entry;
}

void TrackAndDestroy(HWND window, HMENU menu, LPARAM position)
{
    POINT point = ContextMenuPosition(ItemList(window), position);
    TrackPopupMenuEx(menu, 0, point.x, point.y, window, nullptr);
    DestroyMenu(menu);
}

}  // namespace

// Where the menu opens. Positions are signed: monitors left of or above the
// primary one have negative coordinates. Shift+F10 and the menu key send
// (-1, -1): the menu then opens beside the focused row, or at the list's
// top-left corner when no row is focused or it is out of sight.
POINT ContextMenuPosition(HWND list, LPARAM position)
{
    POINT point = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    if (point.x != -1 || point.y != -1)
        return point;
    point = POINT{0, 0};
    RECT client = {};
    GetClientRect(list, &client);
    int focused = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    RECT row = {};
    row.left = LVIR_SELECTBOUNDS;
    POINT beside = {};
    if (focused >= 0 && SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(focused), reinterpret_cast<LPARAM>(&row))) {
        beside = POINT{row.left, row.bottom};
        if (PtInRect(&client, beside))
            point = beside;
    }
    ClientToScreen(list, &point);
    return point;
}

namespace {

void ShowBackgroundMenu(HWND window, HMENU menu, LPARAM position)
{
    if (CurrentView() == View::Folder)
        AppendEntries(menu, kFolderBackgroundMenu);
    TrackAndDestroy(window, menu, position);
}

void ShowItemMenu(HWND window, HMENU menu, LPARAM position)
{
    View view = CurrentView();
    AppendEntries(menu, view == View::Drives ? kDriveItemMenu : view == View::Vault ? kVaultItemMenu : kFolderItemMenu);
    TrackAndDestroy(window, menu, position);
}

}  // namespace

void ShowContextMenu(HWND window, HWND clicked, LPARAM position)
{
    HWND list = ItemList(window);
    if (!list || clicked != list)
        return;
    LRESULT selected = SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0);
    HMENU menu = CreatePopupMenu();
    if (selected == 0)
        ShowBackgroundMenu(window, menu, position);
    else
        ShowItemMenu(window, menu, position);
}
