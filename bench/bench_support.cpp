#include "bench/bench_support.h"

#include "browse/browse.h"
#include "browse/browse_parts.h"
#include "tests/win/harness.h"

#include <cstdint>
#include <cstdio>

namespace qvbench {
namespace {

bool g_checksPassed = true;

constexpr int kChineseEvery = 20;
const char* const kExtensions[] = {".txt", ".doc", ".bmp", ".wav", ".xls", ".zip", ".htm", ".jpg", ".ini", ".c", ""};
constexpr int kExtensionCount = sizeof kExtensions / sizeof kExtensions[0];

// A spread of sizes up to about 3 MB, so sorting by size has work to do.
DWORD SizeOfEntry(int index) { return (static_cast<uint32_t>(index) * 2654435761u) % 3000000u; }

}  // namespace

double Stopwatch::Seconds() const
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double TimeThenPump(const std::function<void()>& act)
{
    Stopwatch watch;
    act();
    double seconds = watch.Seconds();
    qvtest::Pump(0);
    return seconds;
}

double TimeShowingLocation(HWND window, const char* location)
{
    ClearItemList(window);
    qvtest::Pump(0);
    return TimeThenPump([&] { ShowLocation(window, location); });
}

const char* Verdict(bool met) { return met ? "ok" : "SLOW"; }

void RecordCheck(bool ok) { g_checksPassed = g_checksPassed && ok; }

void ReportCheck(bool ok, const std::string& what)
{
    RecordCheck(ok);
    printf("  %s: %s\n", what.c_str(), ok ? "ok" : "MISMATCH");
}

bool ChecksPassed() { return g_checksPassed; }

void CheckRowCount(HWND window, int expected)
{
    int rows = qvtest::RowCount(window);
    ReportCheck(rows == expected, "rows " + std::to_string(rows) + ", entries " + std::to_string(expected));
}

// Wine looks up a name that does not exist yet by reading the whole folder,
// which makes filling one folder with n files cost n² / 2 entry reads (hours
// for 100,000). A path in Wine's "\\?\unix" namespace is matched exactly and
// skips that read; QV_TEST_DRIVES, set by the Wine session, names the host
// folder that holds each test drive's folder (C:, the prefix's own drive, has
// none there). Elsewhere the path is used as it is.
std::string FastCreationPath(const std::string& path)
{
    char drives[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("QV_TEST_DRIVES", drives, sizeof drives);
    if (length == 0 || length >= sizeof drives || path.size() < 3 || path[1] != ':' || path[2] != '\\')
        return path;
    char letter = path[0] >= 'A' && path[0] <= 'Z' ? static_cast<char>(path[0] - 'A' + 'a') : path[0];
    std::string host = std::string("\\\\?\\unix") + drives + "\\" + letter + path.substr(2);
    for (char& c : host) {
        if (c == '/')
            c = '\\';
    }
    return host;
}

bool CreateSizedFile(const std::string& path, DWORD size)
{
    std::string fast = FastCreationPath(path);
    HANDLE file = CreateFileA(fast.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && fast != path)
        file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    if (size > 0) {
        SetFilePointer(file, static_cast<LONG>(size), nullptr, FILE_BEGIN);
        SetEndOfFile(file);
    }
    CloseHandle(file);
    return true;
}

std::string EntryName(int index)
{
    char name[64];
    const char* stem = index % kChineseEvery == 0 ? "文档" : "f";
    snprintf(name, sizeof name, "%s%06d%s", stem, index, kExtensions[index % kExtensionCount]);
    return name;
}

bool CreateNumberedFiles(const std::string& folder, int count)
{
    for (int index = 0; index < count; ++index) {
        if (!CreateSizedFile(folder + "\\" + EntryName(index), SizeOfEntry(index)))
            return false;
    }
    return true;
}

}  // namespace qvbench
