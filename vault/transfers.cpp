#include "base/app_state.h"
#include "base/cp936.h"
#include "base/messages.h"
#include "base/rows.h"
#include "base/vault_names.h"
#include "vault/vault.h"

#include <shellapi.h>
#include <shlwapi.h>

namespace {

// Creates a folder that doesn't exist yet; false when it can't be made.
bool EnsureFolder(const char* path)
{
    return PathFileExistsA(path) || CreateDirectoryA(path, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// The hidden root (hidden and system, set again every time) and the vault
// of a drive; false when they can't be made.
bool PrepareVault(char drive)
{
    char root[6];
    char vault[16];
    HiddenRootOf(drive, root);
    VaultFolderOf(drive, vault);
    if (!EnsureFolder(root))
        return false;
    SetFileAttributesA(root, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    return EnsureFolder(vault);
}

// Moves one item of the current folder into its drive's vault; false when
// the whole transfer ends here (a '+' in the path). The vault is prepared
// once per transfer, before the first item, even one that is then refused.
bool MoveIn(HWND window, const char* folder, const char* name, int& vaultReady, SkippedItems& notMoved)
{
    char source[MAX_PATH];
    char target[MAX_PATH];
    if (vaultReady < 0)
        vaultReady = PrepareVault(folder[0]) ? 1 : 0;
    if (HasUnrepresentableCharacter(name)) {
        notMoved.Add(name, SkippedItems::kUnrepresentableName);
    } else if (!vaultReady) {
        notMoved.AddSystemError(name);
    } else if (!JoinPath(folder, name, source, sizeof source)) {
        notMoved.Add(name, SkippedItems::kPathTooLong);
    } else if (ContainsCharacter(source, '+')) {
        ShowMessage(window, Message::PlusInPath);
        return false;
    } else if (!VaultEntryOf(source, target, sizeof target)) {
        notMoved.Add(name, SkippedItems::kPathTooLong);
    } else if (!MoveFileA(source, target)) {
        notMoved.AddSystemError(name);
    }
    return true;
}

// Creates the missing folders of a home path, outer ones first.
bool RecreateFolders(const char* homePath)
{
    char folder[MAX_PATH];
    for (const char* p = homePath + 3; *p; p += CharLength936(p)) {
        if (*p != '\\')
            continue;
        lstrcpynA(folder, homePath, static_cast<int>(p - homePath) + 1);
        if (!EnsureFolder(folder))
            return false;
    }
    return true;
}

void MoveOut(HWND window, const char* homePath, bool open, SkippedItems& notMoved)
{
    char source[MAX_PATH];
    if (HasUnrepresentableCharacter(homePath)) {
        notMoved.Add(homePath, SkippedItems::kUnrepresentableName);
    } else if (!VaultEntryOf(homePath, source, sizeof source)) {
        notMoved.Add(homePath, SkippedItems::kPathTooLong);
    } else if (!RecreateFolders(homePath) || !MoveFileA(source, homePath)) {
        notMoved.AddSystemError(homePath);
    } else if (open) {
        ShellExecuteA(window, "open", homePath, nullptr, nullptr, SW_SHOWNORMAL);
    }
}

}  // namespace

void TransferVaultItems(HWND window, int mode)
{
    // Each direction starts only from its own view: elsewhere the rows'
    // texts and the current folder name no vault entry or home path.
    View from = mode == kMoveIn ? View::Folder : View::Vault;
    if (CurrentView() != from)
        return;
    char folder[MAX_PATH];
    lstrcpynA(folder, CurrentFolder(), sizeof folder);
    SkippedItems notMoved;
    int vaultReady = -1;
    ForEachSelectedRow(ItemList(window), [&](int, const char* text) {
        if (mode == kMoveIn)
            return MoveIn(window, folder, text, vaultReady, notMoved);
        MoveOut(window, text, mode == kMoveOutAndOpen, notMoved);
        return true;
    });
    notMoved.Report(window, Message::ItemsNotMoved);
}
