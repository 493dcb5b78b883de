#pragma once
// The vault: the password gate in front of the vault view, the transfers
// into and out of the vaults, and the numbered folder tree.
#include <windows.h>

// The gate: asks for a new password, asks for the password, or shows the
// vault view at once, as the stored and remembered passwords say.
void OpenVaultView(HWND window);

enum class TransferMode { MoveIn, MoveOut, MoveOutAndOpen };
// Moves the selected rows' items into the vault of their drive (from a
// folder view) or back to their home paths (from the vault view).
void TransferVaultItems(HWND window, TransferMode mode);

// Starts a worker thread that builds the folders C:\Safe\0\0\0\0 to
// C:\Safe\9\9\9\9 and reports how that went; the window stays usable.
void StartNumberedTree();
