#include "base/app_state.h"
#include "base/controls.h"
#include "base/redraw_guard.h"
#include "browse/browse_parts.h"
#include "browse/item_text.h"

#include <cstdio>

namespace {

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

    int count = DriveLettersOfMask(GetLogicalDrives(), g_app.driveLetters);
    char countText[32];
    snprintf(countText, sizeof countText, "%i 个分区", count);
    SetStatusText(window, 0, LocationText(""));
    SetStatusText(window, 1, countText);

    for (const char* letter = g_app.driveLetters; *letter; ++letter) {
        ItemRecord record = {};
        record.drive = *letter;
        char drive[3] = {*letter, ':', '\0'};
        char root[4] = {*letter, ':', '\\', '\0'};
        UINT type = GetDriveTypeA(drive);
        lstrcpynA(record.type, DriveTypeText(type), sizeof record.type);
        int treeImage = -1;
        int image = LookupShellName(record, root, &treeImage);
        if (type == kCdRomDrive)
            continue;
        GetVolumeInformationA(root, nullptr, 0, nullptr, nullptr, nullptr, record.fileSystem, sizeof record.fileSystem);
        if (!IsFloppyDrive(type, *letter, record.name))
            FillDriveSpace(root, record);
        AppendListRow(list, record, RowLayout::Drive, image, RowShade::Normal);
    }
}

void BuildFolderTree(HWND window)
{
    HWND tree = FolderTree(window);
    SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));

    ItemRecord computer = {};
    int treeImage = -1;
    LookupShellName(computer, "", &treeImage);
    HTREEITEM computerNode = AddTreeNode(tree, TVI_ROOT, treeImage, computer.name, kComputerMarker, true);

    for (const char* letter = g_app.driveLetters; *letter; ++letter) {
        ItemRecord record = {};
        char drive[3] = {*letter, ':', '\0'};
        char root[4] = {*letter, ':', '\\', '\0'};
        UINT type = GetDriveTypeA(drive);
        LookupShellName(record, root, &treeImage);
        if (type == kCdRomDrive)
            continue;
        AddTreeNode(tree, computerNode, treeImage, record.name, drive, true);
    }
    int vaultImage = ImageList_ReplaceIcon(g_app.treeIcons, -1, g_app.appIcon);
    AddTreeNode(tree, computerNode, vaultImage, LocationText(kVaultMarker), kVaultMarker, false);
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(computerNode));
}
