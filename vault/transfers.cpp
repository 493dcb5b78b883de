#include "base/app_state.h"
#include "base/ansi_text.h"
#include "base/file_search.h"
#include "base/messages.h"
#include "base/vault_names.h"
#include "browse/browse.h"
#include "vault/vault.h"

#include <vector>

namespace {

// Makes a folder unless it is there; 0 when it is there afterwards, else the
// system's reason (a file in its place counts as a failure).
DWORD EnsureFolder(const char* path)
{
    if (CreateDirectoryA(path, nullptr))
        return 0;
    DWORD error = GetLastError();
    return StateOfPath(path).isFolder ? 0 : error;
}

// The hidden root (hidden and system, set again every time) and the vault
// of a drive; 0 when they are ready, else the system's reason.
DWORD PrepareVault(char drive)
{
    char root[6];
    char vault[16];
    HiddenRootOf(drive, root);
    VaultFolderOf(drive, vault);
    if (DWORD error = EnsureFolder(root))
        return error;
    SetFileAttributesA(root, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    return EnsureFolder(vault);
}

// A move that renames or fails. MoveFileA copies when the target lies on
// another volume (a drive mounted in a folder, a junction) and may leave the
// source behind; MoveFileExA without flags neither copies nor replaces.
DWORD Rename(const char* from, const char* to) { return MoveFileExA(from, to, 0) ? 0 : GetLastError(); }

// Whether the vault of the current folder's drive is ready: prepared once
// per transfer, before the first item, even one that is then refused.
struct VaultState {
    bool prepared = false;
    DWORD error = 0;
};

// Moves one item of the current folder into its drive's vault; false when
// the whole transfer ends here (a '+' in the path). moved says whether the
// item left its folder.
bool MoveIn(HWND window, const char* folder, const char* name, VaultState& vault, SkippedItems& notMoved, bool& moved)
{
    char source[MAX_PATH];
    char target[MAX_PATH];
    if (!vault.prepared) {
        vault.error = PrepareVault(folder[0]);
        vault.prepared = true;
    }
    DWORD error = 0;
    if (const char* reason = NotAddressableReason(name)) {
        notMoved.Add(name, reason);
    } else if (vault.error) {
        notMoved.AddSystemError(name, vault.error);
    } else if (!JoinPath(folder, name, source, sizeof source)) {
        notMoved.Add(name, TextOf(Message::ReasonPathTooLong));
    } else if (ContainsCharacter(source, '+')) {
        ShowMessage(window, Message::PlusInPath);
        return false;
    } else if (!VaultEntryOf(source, target, sizeof target)) {
        notMoved.Add(name, TextOf(Message::ReasonPathTooLong));
    } else if ((error = Rename(source, target)) != 0) {
        notMoved.AddSystemError(name, error);
    } else {
        moved = true;
    }
    return true;
}

// Creates the missing folders of a home path, outer ones first; 0, or the
// system's reason for the first that can't be made.
DWORD RecreateFolders(const char* homePath)
{
    char folder[MAX_PATH];
    for (const char* p = homePath + 3; *p; p += CharLength(p)) {
        if (*p != '\\')
            continue;
        lstrcpynA(folder, homePath, static_cast<int>(p - homePath) + 1);
        if (DWORD error = EnsureFolder(folder))
            return error;
    }
    return 0;
}

// Moves one vault entry back to its home path; true when it went.
bool MoveOut(HWND window, const char* homePath, bool open, SkippedItems& notMoved)
{
    char source[MAX_PATH];
    DWORD error = 0;
    if (const char* reason = NotAddressableReason(homePath)) {
        notMoved.Add(homePath, reason);
    } else if (!VaultEntryOf(homePath, source, sizeof source)) {
        notMoved.Add(homePath, TextOf(Message::ReasonPathTooLong));
    } else if ((error = RecreateFolders(homePath)) != 0 || (error = Rename(source, homePath)) != 0) {
        notMoved.AddSystemError(homePath, error);
    } else {
        if (open)
            OpenItemInBackground(window, homePath);
        return true;
    }
    return false;
}

}  // namespace

void TransferVaultItems(HWND window, TransferMode mode)
{
    // Each direction starts only from its own view: elsewhere the rows'
    // texts and the current folder name no vault entry or home path.
    View from = mode == TransferMode::MoveIn ? View::Folder : View::Vault;
    if (CurrentView() != from)
        return;
    char folder[MAX_PATH];
    lstrcpynA(folder, CurrentFolder(), sizeof folder);
    SkippedItems notMoved;
    VaultState vault;
    std::vector<uint32_t> moved;
    for (const ListedItem& item : SelectedItems(window)) {
        bool gone = false;
        if (mode != TransferMode::MoveIn)
            gone = MoveOut(window, item.name.c_str(), mode == TransferMode::MoveOutAndOpen, notMoved);
        else if (!MoveIn(window, folder, item.name.c_str(), vault, notMoved, gone))
            break;
        if (gone)
            moved.push_back(item.id);
    }
    RemoveItems(window, moved);
    notMoved.Report(window, Message::ItemsNotMoved);
}
