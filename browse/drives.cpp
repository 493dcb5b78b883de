#include "app/app_state.h"
#include "browse/browse.h"
#include "browse/item_text.h"
#include "browse/redraw_guard.h"

#include <cstdio>
#include <cstring>

namespace {

// A floppy drive must never be asked for its space: that would start the
// drive. Windows names such drives "软盘"; Wine's shell gives no such word, but
// on both the floppy drives are the removable drives A: and B:.
bool IsFloppyDrive(UINT type, char letter, const char* displayName)
{
    if (type != DRIVE_REMOVABLE)
        return false;
    return letter == 'A' || letter == 'B' || strstr(displayName, "软盘") != nullptr;
}

void FillDriveSpace(const char* root, ItemRecord& record)
{
    ULARGE_INTEGER available = {};
    ULARGE_INTEGER total = {};
    ULARGE_INTEGER free = {};
    if (!GetDiskFreeSpaceExA(root, &available, &total, &free))
        return;
    FormatGigabytes(total.QuadPart, record.size, sizeof record.size);
    FormatGigabytes(free.QuadPart, record.freeSpace, sizeof record.freeSpace);
}

}  // namespace

void ShowDrives(HWND window)
{
    HWND list = ItemList(window);
    RedrawGuard quiet(list);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);

    ZeroMemory(g_app.driveLetters, sizeof g_app.driveLetters);
    DWORD present = GetLogicalDrives();
    int count = 0;
    for (int bit = 0; bit < 26 && (present >> bit) != 0; ++bit) {
        if (present & (1u << bit))
            g_app.driveLetters[count++] = static_cast<char>('A' + bit);
    }

    char countText[32];
    snprintf(countText, sizeof countText, "%i 个分区", count);
    SetStatusText(window, 0, "我的电脑");
    SetStatusText(window, 1, countText);

    for (const char* letter = g_app.driveLetters; *letter; ++letter) {
        ItemRecord record = {};
        record.drive = *letter;
        char drive[3] = {*letter, ':', '\0'};
        char root[4] = {*letter, ':', '\\', '\0'};
        UINT type = GetDriveTypeA(drive);
        DescribeDriveType(type, record);
        int image = LookupShellInfo(record, root, kNameMode, nullptr);
        if (type == DRIVE_CDROM)
            continue;
        GetVolumeInformationA(root, nullptr, 0, nullptr, nullptr, nullptr, record.fileSystem, sizeof record.fileSystem);
        if (!IsFloppyDrive(type, *letter, record.name))
            FillDriveSpace(root, record);
        AddListRow(list, 0, image, record, kDriveLayout, false, true);
    }
}

void BuildFolderTree(HWND window)
{
    HWND tree = FolderTree(window);
    SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));

    ItemRecord computer = {};
    int treeImage = -1;
    LookupShellInfo(computer, "", kNameMode, &treeImage);
    HTREEITEM computerNode = AddTreeNode(tree, TVI_ROOT, treeImage, computer.name, "root", true);

    for (const char* letter = g_app.driveLetters; *letter; ++letter) {
        ItemRecord record = {};
        char drive[3] = {*letter, ':', '\0'};
        char root[4] = {*letter, ':', '\\', '\0'};
        UINT type = GetDriveTypeA(drive);
        LookupShellInfo(record, root, kNameMode, &treeImage);
        if (type == DRIVE_CDROM)
            continue;
        AddTreeNode(tree, computerNode, treeImage, record.name, drive, true);
    }
    AddTreeNode(tree, computerNode, kVaultIconRequest, "Quillvane", kVaultViewMarker, false);
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(computerNode));
}
