#pragma once
// What the item list shows, told by the current folder; platform-free.
//   ""      the drives view
//   "hide"  the vault view
//   else    the folder shown, without trailing backslash ("D:" for a root)

// The current folder while the vault view is shown, and the vault node's tree path.
extern const char kVaultMarker[];
// The tree path of the My Computer node.
extern const char kComputerMarker[];

enum class View { Drives, Vault, Folder };

View ViewOfLocation(const char* location);

// The status bar's text for a location: "我的电脑", "Quillvane" or the folder.
const char* LocationText(const char* location);
