#pragma once
// The item list's three column sets and the status bar's parts, by name;
// platform-free (no <windows.h>). The values are the columns' and parts'
// indexes, in the order shown.

enum class ColumnSet { Drives, Folder, Vault };

enum class DriveColumn { Name, Type, TotalSize, FreeSpace, FileSystem };
enum class FolderColumn { Name, Size, Type, Time };
enum class VaultColumn { HomePath };
constexpr int kDriveColumnCount = static_cast<int>(DriveColumn::FileSystem) + 1;
constexpr int kFolderColumnCount = static_cast<int>(FolderColumn::Time) + 1;
constexpr int kVaultColumnCount = static_cast<int>(VaultColumn::HomePath) + 1;

// The location or what is selected; the number of rows or drives; nothing.
enum class StatusPart { Location, Count, Rest };

template <typename Column> constexpr int IndexOf(Column column) { return static_cast<int>(column); }
