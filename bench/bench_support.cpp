#include "bench/bench_support.h"

#include "browse/browse.h"
#include "tests/win/harness.h"

#include <psapi.h>

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
    qvtest::WaitIdle();
    Stopwatch watch;
    ShowLocation(window, location);
    qvtest::WaitIdle();
    return watch.Seconds();
}

bool g_small;

AnswerProbe::AnswerProbe(HWND window) : window_(window) { thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr); }

AnswerProbe::~AnswerProbe() { Slowest(); }

double AnswerProbe::Slowest()
{
    if (thread_) {
        InterlockedExchange(&stop_, 1);
        // The window's thread answers the probe's last message while it waits.
        while (MsgWaitForMultipleObjects(1, &thread_, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
            qvtest::Pump(0);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    return slowest_;
}

DWORD WINAPI AnswerProbe::Run(void* parameter)
{
    auto* probe = static_cast<AnswerProbe*>(parameter);
    while (!probe->stop_) {
        Stopwatch watch;
        SendMessageTimeoutA(probe->window_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr);
        probe->slowest_ = std::max(probe->slowest_, watch.Seconds());
        Sleep(5);
    }
    return 0;
}

double PeakWorkingSetMegabytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

void PrintPeakMemory() { printf("  peak working set so far %.1f MB\n", PeakWorkingSetMegabytes()); }

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

bool CreateSizedFile(const std::string& path, DWORD size)
{
    std::string fast = qvtest::FastCreationPath(path);
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
