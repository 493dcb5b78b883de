#include "fileops/shell_operation.h"

#include <shellapi.h>

bool ShellFileOperation(HWND window, UINT operation, const char* from, const char* to)
{
    SHFILEOPSTRUCTA request = {};
    request.hwnd = window;
    request.wFunc = operation;
    request.pFrom = from;
    request.pTo = to;
    request.fFlags = operation == FO_DELETE ? FOF_MULTIDESTFILES : FOF_NOCONFIRMATION;
    return SHFileOperationA(&request) == 0;
}
