// Stands in for a program associated with a file type: writes the folder it runs in, a '|' and its command line
// into C:\qv\opened.txt.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    char record[2 * MAX_PATH + 2] = {};
    DWORD folder = GetCurrentDirectoryA(MAX_PATH, record);
    if (folder == 0 || folder >= MAX_PATH)
        return 1;
    lstrcatA(record, "|");
    lstrcpynA(record + lstrlenA(record), commandLine, MAX_PATH);
    HANDLE file =
        CreateFileA("C:\\qv\\opened.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, record, static_cast<DWORD>(lstrlenA(record)), &written, nullptr);
    return CloseHandle(file) ? 0 : 1;
}
