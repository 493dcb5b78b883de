#include "base/file_search.h"
#include "base/messages.h"
#include "vault/vault.h"

#include <cstdio>

namespace {

const char kRoot[] = "C:\\Safe";

// What building the tree came to: folders that aren't there at the end, and
// the system's reason for the first.
struct TreeOutcome {
    int missing = 0;
    DWORD firstError = 0;
};

// Creates one folder and, when it exists afterwards, its numbered
// descendants down to depth 4; folders that were there count as made.
void BuildLevel(const char* path, int depth, TreeOutcome& outcome)
{
    // Below a folder that can't be made, none of its 1 + 10 + 100 ... can.
    static const int kSubtreeSizes[] = {11111, 1111, 111, 11, 1};
    if (!CreateDirectoryA(path, nullptr)) {
        DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS || !StateOfPath(path).isFolder) {
            outcome.missing += kSubtreeSizes[depth];
            if (outcome.firstError == 0)
                outcome.firstError = error;
            return;
        }
    }
    if (depth == 4)
        return;
    char child[MAX_PATH];
    for (int digit = 0; digit <= 9; ++digit) {
        snprintf(child, sizeof child, "%s\\%d", path, digit);
        BuildLevel(child, depth + 1, outcome);
    }
}

// Builds C:\Safe\i\j\k\l for every digit i, j, k and l, depth first, and
// says so in a message box of its own, owned by no window.
DWORD WINAPI BuildNumberedTree(void*)
{
    TreeOutcome outcome;
    BuildLevel(kRoot, 0, outcome);
    if (outcome.missing == 0)
        return static_cast<DWORD>(ShowMessage(nullptr, Message::NumberedTreeDone));
    char reason[256];
    SystemErrorText(outcome.firstError, reason, sizeof reason);
    return static_cast<DWORD>(
        ShowFormattedMessage(nullptr, Message::NumberedTreeIncomplete, nullptr, outcome.missing, reason));
}

}  // namespace

void StartNumberedTree()
{
    HANDLE thread = CreateThread(nullptr, 0, BuildNumberedTree, nullptr, 0, nullptr);
    if (thread)
        CloseHandle(thread);
}
