#include "base/app_state.h"
#include "base/ansi_text.h"
#include "base/messages.h"
#include "base/rows.h"
#include "browse/item_text.h"
#include "fileops/fileops.h"

#include <shellapi.h>

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
            wsprintfA(path, "%c:\\", CurrentFolder()[0]);  // the folder's drive: "D:\" of "D:\docs"
        return true;
    }
    char text[MAX_PATH];
    ReadRowText(list, SelectionMark(list), 0, text, sizeof text);
    if (view == View::Folder)
        return !RefuseNotAddressable(window, text) && JoinPath(CurrentFolder(), text, path, sizeof path);
    char letter = DriveLetterOfDisplayName(text);
    wsprintfA(path, "%c:\\", letter);
    return letter != 0;
}

void ShowProperties(HWND window)
{
    char path[MAX_PATH];
    if (!PropertiesTarget(window, path))
        return;
    SHELLEXECUTEINFOA request = {};
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    request.hwnd = window;
    request.lpVerb = "properties";
    request.lpFile = path;
    request.nShow = SW_HIDE;
    ShellExecuteExA(&request);
    if (request.hProcess)
        CloseHandle(request.hProcess);
}
