#pragma once
// A directory search that closes its own handle:
//   for (FileSearch search = FileSearch::InFolder(folder); search.Next();)
//       use(search.Entry());
#include <windows.h>

// True for the "." and ".." entries every folder but a drive's root lists.
bool IsDotOrDotDot(const WIN32_FIND_DATAA& found);

// What a path names: a folder, a file, or nothing, with the system's reason.
// GetFileAttributesA's failure value has every bit set, the folder bit too,
// so its answer is read here only.
struct PathState {
    bool exists;
    bool isFolder;
    DWORD error;  // why nothing is there
};
PathState StateOfPath(const char* path);

class FileSearch {
public:
    // Every entry of a folder ("." and ".." included); none when the folder
    // is null, can't be searched or its search pattern doesn't fit a path.
    static FileSearch InFolder(const char* folder);
    // The one entry a path names, if it exists.
    static FileSearch ForPath(const char* path);
    ~FileSearch();
    FileSearch(const FileSearch&) = delete;
    FileSearch& operator=(const FileSearch&) = delete;

    // Moves to the next entry (the first one on the first call); false at the end.
    bool Next();
    const WIN32_FIND_DATAA& Entry() const { return found_; }
    bool IsDotOrDotDot() const { return ::IsDotOrDotDot(found_); }
    // Why the search couldn't begin (FindFirstFileA's last error); 0 when it began.
    DWORD OpenError() const { return openError_; }

private:
    explicit FileSearch(const char* pattern);
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    DWORD openError_ = 0;
    bool started_ = false;
    WIN32_FIND_DATAA found_ = {};
};
