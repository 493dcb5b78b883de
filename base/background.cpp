#include "base/background.h"

#include <objbase.h>
#include <process.h>

#include <deque>

namespace {

int g_holds;
std::deque<Answer*> g_held;
bool g_heldDuePosted;

struct Work {
    std::function<void()> run;
};

unsigned __stdcall RunWork(void* parameter)
{
    std::unique_ptr<Work> work(static_cast<Work*>(parameter));
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    try {
        work->run();
    } catch (...) {
        // Out of memory on a worker: its answers stop; the window goes on.
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return 0;
}

void Deliver(HWND window, Answer* answer)
{
    std::unique_ptr<Answer> owned(answer);
    owned->Deliver(window);
}

void PostHeldDue(HWND window)
{
    if (!g_heldDuePosted && !g_held.empty())
        g_heldDuePosted = PostMessageA(window, WM_QV_HELD_ANSWERS, 0, 0) != 0;
}

}  // namespace

void PostAnswer(HWND window, std::unique_ptr<Answer> answer)
{
    // A thread's message queue holds 10,000 messages: when it is full, the
    // answer waits rather than being lost.
    Answer* raw = answer.release();
    while (!PostMessageA(window, WM_QV_ANSWER, 0, reinterpret_cast<LPARAM>(raw))) {
        if (!IsWindow(window)) {
            delete raw;
            return;
        }
        Sleep(10);
    }
}

bool RunInBackground(std::function<void()> run)
{
    // _beginthreadex, not CreateThread: the thread uses the C runtime.
    auto* work = new Work{std::move(run)};
    uintptr_t thread = _beginthreadex(nullptr, 0, RunWork, work, 0, nullptr);
    if (thread == 0) {
        delete work;
        return false;
    }
    CloseHandle(reinterpret_cast<HANDLE>(thread));
    return true;
}

CancelFlag NewCancelFlag() { return std::make_shared<std::atomic<bool>>(false); }

void ReceiveAnswer(HWND window, LPARAM answer)
{
    auto* received = reinterpret_cast<Answer*>(answer);
    if (g_holds > 0 || !g_held.empty()) {
        g_held.push_back(received);
        if (g_holds == 0)
            PostHeldDue(window);
        return;
    }
    Deliver(window, received);
}

void DeliverHeldAnswers(HWND window)
{
    g_heldDuePosted = false;
    while (g_holds == 0 && !g_held.empty()) {
        Answer* next = g_held.front();
        g_held.pop_front();
        Deliver(window, next);
    }
}

AnswerHold::AnswerHold(HWND window) : window_(window) { HoldAnswers(); }

AnswerHold::~AnswerHold() { ReleaseAnswers(window_); }

void HoldAnswers() { ++g_holds; }

void ReleaseAnswers(HWND window)
{
    if (g_holds > 0 && --g_holds == 0)
        PostHeldDue(window);
}
