#include "base/app_state.h"
#include "base/ansi_text.h"
#include "base/messages.h"
#include "base/background.h"
#include "browse/browse.h"
#include "fileops/fileops.h"

#include <shellapi.h>

#include <cstdio>
#include <string>

bool PropertiesTarget(HWND window, char (&path)[MAX_PATH])
{
    HWND list = ItemList(window);
    View view = CurrentView();
    // A vault row's text is a home path where no file is; a path made from
    // the vault marker would be relative.
    if (view == View::Vault)
        return false;
    if (SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) <= 0) {
        // A drive is named with its root: "D:" alone names the process's
        // current folder on D:.
        if (view == View::Drives)
            lstrcpynA(path, "explorer", sizeof path);
        else
            snprintf(path, sizeof path, "%c:\\", CurrentFolder()[0]);  // the folder's drive: "D:\" of "D:\docs"
        return true;
    }
    ListedItem item;
    if (!MarkedItem(window, item))
        return false;
    if (view == View::Folder)
        return !RefuseNotAddressable(window, item.name.c_str()) &&
               JoinPath(CurrentFolder(), item.name.c_str(), path, sizeof path);
    // The drive row keeps its letter: a display name may hide it or hold another.
    snprintf(path, sizeof path, "%c:\\", item.drive);
    return item.drive != 0;
}

void ShowProperties(HWND window)
{
    char path[MAX_PATH];
    if (!PropertiesTarget(window, path))
        return;
    // The shell looks the path up, which waits for a slow drive: a worker asks.
    std::string target = path;
    RunInBackground([window, target] {
        SHELLEXECUTEINFOA request = {};
        request.cbSize = sizeof request;
        // NOASYNC: the call returns only when the sheet is up, as a thread
        // that ends right after must ask.
        request.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
        request.hwnd = window;
        request.lpVerb = "properties";
        request.lpFile = target.c_str();
        request.nShow = SW_HIDE;
        ShellExecuteExA(&request);
        if (request.hProcess)
            CloseHandle(request.hProcess);
    });
}
