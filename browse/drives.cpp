#include "base/ansi_text.h"
#include "base/app_state.h"
#include "base/controls.h"
#include "browse/browse_parts.h"
#include "browse/item_text.h"
#include "browse/kinds.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// What a drive has answered so far.
struct DriveFacts {
    char letter = 0;
    UINT type = kDriveTypeNotKnown;
    bool named = false;
    char displayName[MAX_PATH] = {};
    ShellIcons icons;
    bool volumeKnown = false;
    char fileSystem[16] = {};
    bool spaceKnown = false;
    uint64_t total = 0;
    uint64_t free = 0;
    bool done = false;
};

struct Drive {
    bool asking = false;
    DriveFacts facts;
    HTREEITEM node = nullptr;
};

Drive g_drives[26];
int g_asking;
HTREEITEM g_computerNode;

Drive* DriveOf(char letter) { return letter >= 'A' && letter <= 'Z' ? &g_drives[letter - 'A'] : nullptr; }

// Until a drive has answered, its row and its node show what is known: its letter.
void NodeText(const Drive& drive, char* out, size_t capacity)
{
    if (drive.facts.named)
        CopyTextCut(drive.facts.displayName, out, capacity);
    else
        snprintf(out, capacity, "%c:", drive.facts.letter);
}

void SetNode(HWND tree, HTREEITEM node, const char* text, int image)
{
    TVITEMA item = {};
    item.mask = TVIF_HANDLE | TVIF_TEXT | (image >= 0 ? TVIF_IMAGE | TVIF_SELECTEDIMAGE : 0);
    item.hItem = node;
    item.pszText = const_cast<char*>(text);
    item.iImage = item.iSelectedImage = image;
    SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

// Drops the row of a drive from the drives view, when it is shown.
void RemoveDriveRow(HWND window, char letter)
{
    if (CurrentView() != View::Drives)
        return;
    RowStore& rows = Rows();
    for (size_t index = 0; index < rows.Count(); ++index) {
        if (rows.Facts(rows.At(index)).drive == letter) {
            RowStore::Id id = rows.At(index);
            ChangeRowsKeepingSelection(window, [id](RowStore& shown) { shown.Remove({id}); });
            return;
        }
    }
}

class DriveAnswered : public Answer {
public:
    explicit DriveAnswered(const DriveFacts& facts) : facts_(facts) {}
    ~DriveAnswered() override { DestroyIcons(facts_.icons); }
    void Deliver(HWND window) override
    {
        Drive* drive = DriveOf(facts_.letter);
        if (!drive)
            return;
        ShellIcons icons = facts_.icons;
        facts_.icons = ShellIcons{};
        Merge(drive->facts);
        PlaceDriveIcons(facts_.letter, icons.small, icons.large);
        DestroyIcons(icons);
        if (facts_.done) {
            drive->asking = false;
            --g_asking;
        }
        HWND tree = FolderTree(window);
        if (facts_.type == kCdRomDrive) {
            // Optical drives are in neither the list nor the tree.
            RemoveDriveRow(window, facts_.letter);
            if (drive->node) {
                ForgetTreeNode(drive->node);
                SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(drive->node));
                drive->node = nullptr;
            }
        } else if (drive->node) {
            char text[MAX_PATH];
            NodeText(*drive, text, sizeof text);
            SetNode(tree, drive->node, text, DriveTreeImage(facts_.letter));
        }
        if (CurrentView() == View::Drives)
            InvalidateRect(ItemList(window), nullptr, FALSE);
        UpdateWorkingCursor(window);
    }

private:
    // The last answer of an asking says all; the earlier ones add what they
    // know, so a drive asked again keeps its details meanwhile.
    void Merge(DriveFacts& known) const
    {
        if (facts_.done) {
            known = facts_;
            return;
        }
        if (facts_.type != kDriveTypeNotKnown)
            known.type = facts_.type;
        if (facts_.named) {
            known.named = true;
            memcpy(known.displayName, facts_.displayName, sizeof known.displayName);
        }
        if (facts_.volumeKnown) {
            known.volumeKnown = true;
            memcpy(known.fileSystem, facts_.fileSystem, sizeof known.fileSystem);
        }
    }

    DriveFacts facts_;
};

void Tell(HWND window, DriveFacts& facts)
{
    PostAnswer(window, std::make_unique<DriveAnswered>(facts));
    facts.icons = ShellIcons{};  // the answer owns them now
}

// Asks one drive what the drives view shows, step by step, telling the window
// after each step: a slow drive fills its row in as it answers.
void AskDrive(HWND window, char letter)
{
    DriveFacts facts;
    facts.letter = letter;
    char root[4] = {letter, ':', '\\', '\0'};
    // The root with its backslash, as GetDriveTypeA's documentation asks; the
    // call opens it, so it waits for a drive that is slow to answer.
    facts.type = GetDriveTypeA(root);
    if (facts.type == kCdRomDrive) {
        facts.done = true;
        Tell(window, facts);
        return;
    }
    Tell(window, facts);
    SHFILEINFOA small = {};
    SHFILEINFOA large = {};
    SHGetFileInfoA(root, 0, &small, sizeof small, SHGFI_ICON | SHGFI_SMALLICON | SHGFI_DISPLAYNAME);
    SHGetFileInfoA(root, 0, &large, sizeof large, SHGFI_ICON);
    facts.named = true;
    CopyTextCut(small.szDisplayName, facts.displayName, sizeof facts.displayName);
    facts.icons = ShellIcons{small.hIcon, large.hIcon};
    // A floppy drive is asked nothing more: that would start its motor.
    if (!IsFloppyDrive(facts.type, letter, facts.displayName)) {
        Tell(window, facts);
        facts.volumeKnown = GetVolumeInformationA(root, nullptr, 0, nullptr, nullptr, nullptr, facts.fileSystem,
                                                  sizeof facts.fileSystem) != 0;
        Tell(window, facts);
        ULARGE_INTEGER available = {};
        ULARGE_INTEGER total = {};
        ULARGE_INTEGER free = {};
        facts.spaceKnown = GetDiskFreeSpaceExA(root, &available, &total, &free) != 0;
        facts.total = total.QuadPart;
        facts.free = free.QuadPart;
    }
    facts.done = true;
    Tell(window, facts);
}

void StartAsking(HWND window, char letter)
{
    Drive* drive = DriveOf(letter);
    if (!drive || drive->asking || drive->facts.type == kCdRomDrive)
        return;
    if (RunInBackground([window, letter] { AskDrive(window, letter); })) {
        drive->asking = true;
        ++g_asking;
    }
}

class ComputerAnswered : public Answer {
public:
    ComputerAnswered(const char* name, HICON icon) : icon_(icon) { CopyTextCut(name, name_, sizeof name_); }
    ~ComputerAnswered() override
    {
        if (icon_)
            DestroyIcon(icon_);
    }
    void Deliver(HWND window) override
    {
        if (g_computerNode && name_[0])
            SetNode(FolderTree(window), g_computerNode, name_, icon_ ? AppendTreeIcon(icon_) : -1);
    }

private:
    char name_[MAX_PATH] = {};
    HICON icon_;
};

// The shell's own name and icon of My Computer (此电脑 on Windows 10).
void AskComputer(HWND window)
{
    LPITEMIDLIST computer = nullptr;
    SHFILEINFOA info = {};
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer))) {
        SHGetFileInfoA(reinterpret_cast<LPCSTR>(computer), 0, &info, sizeof info,
                       SHGFI_PIDL | SHGFI_ICON | SHGFI_SMALLICON | SHGFI_DISPLAYNAME);
        CoTaskMemFree(computer);
    }
    PostAnswer(window, std::make_unique<ComputerAnswered>(info.szDisplayName, info.hIcon));
}

}  // namespace

void ShowDrives(HWND window)
{
    // The one question the window's thread asks about drives: which are there.
    DWORD mask = GetLogicalDrives();
    int count = DriveLettersOfMask(mask, g_app.driveLetters);
    char countText[32];
    snprintf(countText, sizeof countText, "%i 个分区", count);
    SetStatusText(window, StatusPart::Count, countText);
    for (int bit = 0; bit < 26; ++bit)
        g_drives[bit].facts.letter = static_cast<char>('A' + bit);
    RowStore& rows = Rows();
    for (char letter : DrivesShown()) {
        RowFacts facts;
        facts.drive = letter;
        rows.Add("", 0, facts);
    }
    ShowRowCount(window);
    for (const char* letter = g_app.driveLetters; *letter; ++letter)
        StartAsking(window, *letter);
}

std::vector<char> DrivesShown()
{
    // Optical drives are in neither the list nor the tree, nor searched for a
    // vault: asking them would start the disc.
    std::vector<char> shown;
    for (const char* letter = g_app.driveLetters; *letter; ++letter) {
        if (DriveOf(*letter)->facts.type != kCdRomDrive)
            shown.push_back(*letter);
    }
    return shown;
}

void BuildFolderTree(HWND window)
{
    HWND tree = FolderTree(window);
    SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    g_computerNode = AddTreeNode(tree, TVI_ROOT, BlankTreeImage(), LocationText(""), kComputerMarker, true);
    RunInBackground([window] { AskComputer(window); });
    for (char letter : DrivesShown()) {
        Drive& drive = *DriveOf(letter);
        char text[MAX_PATH];
        NodeText(drive, text, sizeof text);
        char path[3] = {letter, ':', '\0'};
        drive.node = AddTreeNode(tree, g_computerNode, DriveTreeImage(letter), text, path, true);
    }
    AddTreeNode(tree, g_computerNode, VaultTreeImage(), LocationText(kVaultMarker), kVaultMarker, false);
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(g_computerNode));
}

void DriveColumnText(char letter, int column, char* out, size_t capacity)
{
    const Drive* drive = DriveOf(letter);
    if (capacity > 0)
        out[0] = '\0';
    if (!drive)
        return;
    const DriveFacts& facts = drive->facts;
    if (column < 0 || column >= kDriveColumnCount)
        return;
    switch (static_cast<DriveColumn>(column)) {
    case DriveColumn::Name: NodeText(*drive, out, capacity); break;
    case DriveColumn::Type:
        if (facts.type != kDriveTypeNotKnown)
            CopyTextCut(DriveTypeText(facts.type), out, capacity);
        break;
    case DriveColumn::TotalSize:
        if (facts.spaceKnown)
            FormatGigabytes(facts.total, out, capacity);
        break;
    case DriveColumn::FreeSpace:
        if (facts.spaceKnown)
            FormatGigabytes(facts.free, out, capacity);
        break;
    case DriveColumn::FileSystem:
        if (facts.volumeKnown)
            CopyTextCut(facts.fileSystem, out, capacity);
        break;
    }
}

bool DrivesAnswering() { return g_asking > 0; }

UINT KnownDriveType(char letter)
{
    const Drive* drive = DriveOf(letter);
    return drive ? drive->facts.type : kDriveTypeNotKnown;
}
