#include "base/file_search.h"

#include "base/ansi_text.h"

FileSearch::FileSearch(const char* pattern)
{
    if (pattern)
        handle_ = FindFirstFileA(pattern, &found_);
    if (handle_ == INVALID_HANDLE_VALUE)
        openError_ = pattern ? GetLastError() : ERROR_FILENAME_EXCED_RANGE;
}

FileSearch FileSearch::InFolder(const char* folder)
{
    char pattern[MAX_PATH];
    return FileSearch(folder && JoinPath(folder, "*.*", pattern, sizeof pattern) ? pattern : nullptr);
}

FileSearch FileSearch::ForPath(const char* path) { return FileSearch(path); }

FileSearch::~FileSearch()
{
    if (handle_ != INVALID_HANDLE_VALUE)
        FindClose(handle_);
}

bool FileSearch::Next()
{
    if (handle_ == INVALID_HANDLE_VALUE)
        return false;
    if (!started_) {
        started_ = true;
        return true;
    }
    return FindNextFileA(handle_, &found_) != 0;
}

bool IsDotOrDotDot(const WIN32_FIND_DATAA& found)
{
    // Compared byte by byte: lstrcmpA asks the locale, a microsecond an entry.
    const char* name = found.cFileName;
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

PathState StateOfPath(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return PathState{false, false, GetLastError()};
    return PathState{true, (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0, 0};
}
