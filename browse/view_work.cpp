#include "base/ansi_text.h"
#include "base/app_state.h"
#include "base/messages.h"
#include "browse/browse_parts.h"
#include "browse/kinds.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

bool g_cursorWorking;

// Rows waiting for their own icon, shared with the worker that asks for them.
struct IconRequests {
    IconRequests() { InitializeCriticalSection(&lock); }
    ~IconRequests() { DeleteCriticalSection(&lock); }
    IconRequests(const IconRequests&) = delete;
    IconRequests& operator=(const IconRequests&) = delete;
    CRITICAL_SECTION lock;
    std::vector<std::pair<RowStore::Id, std::string>> waiting;
    bool working = false;
    std::atomic<bool> abandoned{false};
};
std::shared_ptr<IconRequests> g_iconRequests;
unsigned g_iconView;
// More rows than are ever in sight: the ones asked for longest ago are dropped.
constexpr size_t kMostIconRequests = 256;

class OwnIconFound : public Answer {
public:
    OwnIconFound(unsigned view, RowStore::Id row, ShellIcons icons) : view_(view), row_(row), icons_(icons) {}
    ~OwnIconFound() override { DestroyIcons(icons_); }
    void Deliver(HWND window) override
    {
        if (view_ != ShownViewNumber() || (!icons_.small && !icons_.large))
            return;
        Rows().SetOwnImage(row_, PlaceOwnIcon(Rows(), row_, icons_.small, icons_.large));
        InvalidateRect(ItemList(window), nullptr, FALSE);
    }

private:
    unsigned view_;
    RowStore::Id row_;
    ShellIcons icons_;
};

void FetchOwnIcons(HWND window, unsigned view, const std::shared_ptr<IconRequests>& requests)
{
    for (;;) {
        std::pair<RowStore::Id, std::string> next;
        EnterCriticalSection(&requests->lock);
        if (requests->waiting.empty() || requests->abandoned) {
            requests->working = false;
            LeaveCriticalSection(&requests->lock);
            return;
        }
        // The newest first: those are the rows in sight.
        next = std::move(requests->waiting.back());
        requests->waiting.pop_back();
        LeaveCriticalSection(&requests->lock);
        PostAnswer(window, std::make_unique<OwnIconFound>(view, next.first, OwnIconsOf(next.second.c_str())));
    }
}

}  // namespace

void AskOwnIcon(HWND window, RowStore::Id id)
{
    RowStore& rows = Rows();
    rows.SetOwnIconAsked(id, true);
    // A name Windows reads as another's would bring that other item's icon.
    char path[MAX_PATH];
    if (NotAddressableReason(rows.Name(id)) || !JoinPath(CurrentFolder(), rows.Name(id), path, sizeof path))
        return;
    if (!g_iconRequests || g_iconView != ShownViewNumber()) {
        if (g_iconRequests)
            g_iconRequests->abandoned = true;
        g_iconRequests = std::make_shared<IconRequests>();
        g_iconView = ShownViewNumber();
    }
    std::shared_ptr<IconRequests> requests = g_iconRequests;
    bool start = false;
    EnterCriticalSection(&requests->lock);
    requests->waiting.emplace_back(id, path);
    if (requests->waiting.size() > kMostIconRequests) {
        rows.SetOwnIconAsked(requests->waiting.front().first, false);
        requests->waiting.erase(requests->waiting.begin());
    }
    start = !requests->working;
    requests->working = true;
    LeaveCriticalSection(&requests->lock);
    unsigned view = g_iconView;
    if (start && !RunInBackground([window, view, requests] { FetchOwnIcons(window, view, requests); })) {
        EnterCriticalSection(&requests->lock);
        requests->working = false;
        LeaveCriticalSection(&requests->lock);
    }
}

bool IsWorkPending() { return ViewsBusy() || DrivesAnswering() || TreeFillsRunning(); }

void UpdateWorkingCursor(HWND window)
{
    bool working = IsWorkPending();
    if (working == g_cursorWorking)
        return;
    g_cursorWorking = working;
    // The cursor changes at once where it is, not only when the mouse moves.
    POINT point = {};
    GetCursorPos(&point);
    HWND under = WindowFromPoint(point);
    if (!under || (under != window && !IsChild(window, under)))
        return;
    LRESULT hit = SendMessageA(under, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    SendMessageA(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
}

bool SetWorkingCursor(HWND, LPARAM hitTestAndMessage)
{
    // Over the window's inside the pointer shows that work goes on in the
    // background, as the system's own arrow with an hourglass says.
    if (!IsWorkPending() || LOWORD(hitTestAndMessage) != HTCLIENT)
        return false;
    SetCursor(LoadCursorA(nullptr, IDC_APPSTARTING));
    return true;
}

void ShowFirstView(HWND window)
{
    CreateImageLists(window);
    ShowLocation(window, "");
    BuildFolderTree(window);
}

void EndBrowsing(HWND window)
{
    ForgetViewWork();
    ForgetTreeWork();
    if (g_iconRequests)
        g_iconRequests->abandoned = true;
    DestroyImageLists(window);
}
