#pragma once
// Work that may wait for a drive runs on worker threads, never on the
// window's thread: a listing, a volume query, a shell look-up of a path.
// What a worker finds reaches the window's thread as answers posted to the
// main window.
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

constexpr UINT WM_QV_ANSWER = WM_APP + 1;       // lParam: the Answer
constexpr UINT WM_QV_HELD_ANSWERS = WM_APP + 2;  // the answers held meanwhile are due

// Something a worker found, delivered on the window's thread.
class Answer {
public:
    virtual ~Answer() = default;
    virtual void Deliver(HWND window) = 0;
};

// Hands an answer to the window's thread; dropped when the window is gone.
void PostAnswer(HWND window, std::unique_ptr<Answer> answer);

// Runs work on a thread of its own that has COM initialised, as the shell
// asks of every thread that calls it; false when no thread could be started.
bool RunInBackground(std::function<void()> work);

// Set on the window's thread when the work is no longer wanted; a worker
// reads it between steps and stops.
using CancelFlag = std::shared_ptr<std::atomic<bool>>;
CancelFlag NewCancelFlag();
inline bool Cancelled(const CancelFlag& flag) { return flag->load(std::memory_order_relaxed); }
inline void Cancel(const CancelFlag& flag)
{
    if (flag)
        flag->store(true);
}

// The main window's handling of the two messages above.
void ReceiveAnswer(HWND window, LPARAM answer);
void DeliverHeldAnswers(HWND window);

// While an operation runs, and any modal loop inside it (a message box, a
// dialog, a menu, the shell's own dialogs), answers are held and delivered
// afterwards in the order they came: rows never change under an operation.
class AnswerHold {
public:
    explicit AnswerHold(HWND window);
    ~AnswerHold();
    AnswerHold(const AnswerHold&) = delete;
    AnswerHold& operator=(const AnswerHold&) = delete;

private:
    HWND window_;
};
// The same for a span that starts in one handler and ends in another (a
// label edit, from its beginning to its end).
void HoldAnswers();
void ReleaseAnswers(HWND window);
