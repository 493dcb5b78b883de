#include "base/location.h"

#include <cstring>

const char kVaultMarker[] = "hide";
const char kComputerMarker[] = "root";

View ViewOfLocation(const char* location)
{
    if (location[0] == '\0')
        return View::Drives;
    return std::strcmp(location, kVaultMarker) == 0 ? View::Vault : View::Folder;
}

const char* LocationText(const char* location)
{
    switch (ViewOfLocation(location)) {
    case View::Drives: return "我的电脑";
    case View::Vault: return "Quillvane";
    case View::Folder: break;
    }
    return location;
}
