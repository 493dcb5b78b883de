#include "base/ansi_text.h"
#include "base/app_state.h"
#include "base/controls.h"
#include "base/file_search.h"
#include "base/messages.h"
#include "base/vault_names.h"
#include "browse/browse_parts.h"
#include "browse/item_text.h"
#include "browse/kinds.h"

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

void SwitchView(HWND window, const char* location, Columns columns, unsigned number, CancelFlag cancel);
void ViewComplete(HWND window);
void ListVault(HWND window, unsigned view, const CancelFlag& cancel);
bool CanListFolder(HWND window, const char* path);

// A worker hands the rows it found to the window in batches: the first one
// small, so the first rows show at once, the later ones larger.
constexpr size_t kFirstBatch = 64;
constexpr size_t kLargestBatch = 8192;
constexpr DWORD kBatchInterval = 40;  // milliseconds

struct FoundRows {
    struct Found {
        RowFacts facts;
        uint32_t nameAt;
        uint16_t nameLength;
    };
    std::vector<Found> rows;
    std::vector<char> names;

    void Add(const char* name, const RowFacts& facts)
    {
        size_t length = strlen(name);
        rows.push_back({facts, static_cast<uint32_t>(names.size()), static_cast<uint16_t>(length)});
        names.insert(names.end(), name, name + length);
    }
};

// The view shown and the one being opened: each has a number, and answers
// carrying another number belong to a view left behind.
struct ShownView {
    unsigned number = 0;
    CancelFlag cancel;
    bool complete = true;
    int vaultDrivesLeft = 0;
    DWORD countDue = 0;  // when the list and the status bar next learn the count
    // Names that rows got from commands while the listing went on: the
    // listing may come upon the same items.
    std::unordered_set<std::string> madeByCommands;
};
struct OpeningView {
    unsigned number = 0;
    CancelFlag cancel;
    std::string location;
    Columns columns = Columns::Install;
};
ShownView g_shown;
OpeningView g_opening;
unsigned g_lastNumber;
int g_opens;

unsigned NewViewNumber() { return ++g_lastNumber == 0 ? ++g_lastNumber : g_lastNumber; }

// While rows come, the list and the status bar learn their count first a
// moment after the view opened, then at most this often, and at the end: a
// folder read within that moment shows whole at once. Under Wine each
// LVM_SETITEMCOUNT takes milliseconds (it sets the scroll bars).
constexpr DWORD kFirstCountAfter = 100;  // milliseconds
constexpr DWORD kCountInterval = 100;

void AppendFound(HWND window, FoundRows& found, bool last)
{
    RowStore& rows = Rows();
    for (const FoundRows::Found& row : found.rows) {
        const char* name = found.names.data() + row.nameAt;
        if (!g_shown.madeByCommands.empty() && g_shown.madeByCommands.erase(std::string(name, row.nameLength)))
            continue;
        rows.Add(name, row.nameLength, row.facts);
    }
    DWORD now = GetTickCount();
    if (last || static_cast<LONG>(now - g_shown.countDue) >= 0) {
        ShowRowCount(window);
        g_shown.countDue = now + kCountInterval;
    }
}

class RowsFound : public Answer {
public:
    RowsFound(unsigned view, FoundRows rows, bool last, int tooLong)
        : view_(view), rows_(std::move(rows)), last_(last), tooLong_(tooLong)
    {
    }
    void Deliver(HWND window) override
    {
        if (view_ != g_shown.number)
            return;
        AppendFound(window, rows_, last_);
        if (!last_)
            return;
        if (CurrentView() == View::Vault && --g_shown.vaultDrivesLeft > 0)
            return;
        ViewComplete(window);
        if (tooLong_ > 0) {
            AnswerHold hold(window);
            ShowFormattedMessage(window, Message::EntriesNotListed, nullptr, tooLong_);
        }
    }

private:
    unsigned view_;
    FoundRows rows_;
    bool last_;
    int tooLong_;
};

// The rows of one worker, sent as they come.
class Batches {
public:
    Batches(HWND window, unsigned view) : window_(window), view_(view), sentAt_(GetTickCount()) {}
    void Add(const char* name, const RowFacts& facts)
    {
        if (rows_.rows.empty()) {
            rows_.rows.reserve(limit_);
            rows_.names.reserve(limit_ * 16);
        }
        rows_.Add(name, facts);
        // The clock is read every so many rows: a row takes microseconds.
        size_t count = rows_.rows.size();
        if (count >= limit_ || (count % 64 == 0 && GetTickCount() - sentAt_ >= kBatchInterval)) {
            Send(false, 0);
            limit_ = limit_ * 2 < kLargestBatch ? limit_ * 2 : kLargestBatch;
        }
    }
    void Finish(int tooLong) { Send(true, tooLong); }

private:
    void Send(bool last, int tooLong)
    {
        PostAnswer(window_, std::make_unique<RowsFound>(view_, std::move(rows_), last, tooLong));
        rows_ = FoundRows();
        sentAt_ = GetTickCount();
    }
    HWND window_;
    unsigned view_;
    DWORD sentAt_;
    size_t limit_ = kFirstBatch;
    FoundRows rows_;
};

RowFacts FactsOf(const WIN32_FIND_DATAA& found, KindLookup& kinds)
{
    RowFacts facts;
    facts.size = (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    facts.writeTime = (static_cast<uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                      found.ftLastWriteTime.dwLowDateTime;
    facts.attributes = found.dwFileAttributes;
    facts.kind = KindOfEntry(found.cFileName, found.dwFileAttributes, kinds);
    return facts;
}

// ".", ".." and system entries are never listed.
bool IsListed(const WIN32_FIND_DATAA& found)
{
    return !IsDotOrDotDot(found) && !(found.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM);
}

class ListingOpened : public Answer {
public:
    ListingOpened(unsigned view, DWORD error) : view_(view), error_(error) {}
    void Deliver(HWND window) override
    {
        if (view_ != g_opening.number)
            return;
        OpeningView opening = std::move(g_opening);
        g_opening = OpeningView();
        if (error_ != 0) {
            // Only an empty folder is an empty list: a folder that can't be
            // read leaves the view as it was.
            UpdateWorkingCursor(window);
            AnswerHold hold(window);
            ShowSystemError(window, opening.location.c_str(), error_);
            return;
        }
        SwitchView(window, opening.location.c_str(), opening.columns, view_, opening.cancel);

        g_shown.complete = false;
        UpdateWorkingCursor(window);
    }

private:
    unsigned view_;
    DWORD error_;
};

void ListFolder(HWND window, unsigned view, const CancelFlag& cancel, const std::string& folder)
{
    FileSearch search = FileSearch::InFolder(folder.c_str());
    DWORD error = search.OpenError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) {
        // An empty drive root has no "." or "..": its search finds nothing at
        // all. A folder that isn't there is no empty folder, though. A drive
        // is asked with its root: "D:" alone names the current folder on D:.
        std::string named = folder.size() == 2 ? folder + "\\" : folder;
        PathState state = StateOfPath(named.c_str());
        error = !state.exists ? state.error : state.isFolder ? 0 : ERROR_DIRECTORY;
    }
    PostAnswer(window, std::make_unique<ListingOpened>(view, error));
    if (error != 0)
        return;
    Batches batches(window, view);
    KindLookup kinds;
    int tooLong = 0;
    while (search.Next() && !Cancelled(cancel)) {
        const WIN32_FIND_DATAA& found = search.Entry();
        if (!IsListed(found))
            continue;
        // An entry whose path doesn't fit can be neither opened nor acted on.
        if (folder.size() + 1 + strlen(found.cFileName) >= MAX_PATH) {
            ++tooLong;
            continue;
        }
        batches.Add(found.cFileName, FactsOf(found, kinds));
    }
    if (!Cancelled(cancel))
        batches.Finish(tooLong);
}

void ListVaultOfDrive(HWND window, unsigned view, const CancelFlag& cancel, char letter, UINT type)
{
    char root[4] = {letter, ':', '\\', '\0'};
    Batches batches(window, view);
    // An optical drive is left alone: asking it would start the disc.
    if (type == kDriveTypeNotKnown)
        type = GetDriveTypeA(root);
    if (type != kCdRomDrive) {
        char vault[16];
        VaultFolderOf(letter, vault);
        for (FileSearch search = FileSearch::InFolder(vault); search.Next() && !Cancelled(cancel);) {
            if (!IsListed(search.Entry()))
                continue;
            char home[MAX_PATH];
            if (!RestoreHomePath(letter, search.Entry().cFileName, home, sizeof home))
                continue;  // a stored name that fits no home path is not one of ours
            RowFacts facts;
            facts.attributes = search.Entry().dwFileAttributes;
            facts.drive = letter;
            batches.Add(home, facts);
        }
    }
    batches.Finish(0);
}

struct VaultDrive {
    char letter;
    UINT type;
};

bool IsFastDrive(UINT type) { return type == DRIVE_FIXED || type == DRIVE_RAMDISK; }

}  // namespace

unsigned ShownViewNumber() { return g_shown.number; }

namespace {

void SwitchView(HWND window, const char* location, Columns columns, unsigned number, CancelFlag cancel)
{
    Cancel(g_shown.cancel);
    g_shown = ShownView();
    g_shown.number = number;
    g_shown.cancel = std::move(cancel);
    HWND list = ItemList(window);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    Rows().Clear();
    FreeOwnIconPlaces();
    View view = ViewOfLocation(location);
    if (columns == Columns::Install)
        SetColumnSet(window, view == View::Drives  ? ColumnSet::Drives
                             : view == View::Vault ? ColumnSet::Vault
                                                   : ColumnSet::Folder);
    SetCurrentFolder(location);
    SetStatusText(window, StatusPart::Location, LocationText(location));
    ShowObjectCount(window);
    g_shown.countDue = GetTickCount() + kFirstCountAfter;
}

void ViewComplete(HWND window)
{
    g_shown.complete = true;
    g_shown.madeByCommands.clear();
    SortAfterListing(window);
    UpdateWorkingCursor(window);
}

}  // namespace

bool ShownViewComplete() { return g_shown.complete; }

void ShowLocation(HWND window, const char* location, Columns columns)
{
    char copy[MAX_PATH];
    if (!CopyText(location, copy, sizeof copy)) {
        ShowFormattedMessage(window, Message::PathTooLongToOpen, nullptr, location);
        return;
    }
    View view = ViewOfLocation(copy);
    if (view == View::Folder && (RefuseNotAddressable(window, copy) || !CanListFolder(window, copy)))
        return;
    Cancel(g_opening.cancel);
    g_opening = OpeningView();
    CancelFlag cancel = NewCancelFlag();
    switch (view) {
    case View::Drives:
        SwitchView(window, copy, columns, NewViewNumber(), cancel);
        ShowDrives(window);
        break;
    case View::Vault:
        SwitchView(window, copy, columns, NewViewNumber(), cancel);
        g_shown.complete = false;
        ListVault(window, g_shown.number, cancel);
        break;
    case View::Folder: {
        unsigned number = NewViewNumber();
        g_opening = OpeningView{number, cancel, copy, columns};
        std::string folder = copy;
        if (!RunInBackground([window, number, cancel, folder] { ListFolder(window, number, cancel, folder); }))
            g_opening = OpeningView();
        break;
    }
    }
    UpdateWorkingCursor(window);
}

namespace {

void ListVault(HWND window, unsigned view, const CancelFlag& cancel)
{
    // Fixed disks are read first, one after another; every other drive gets
    // a worker of its own afterwards, so a slow one delays its own rows only.
    std::vector<VaultDrive> fast, others;
    for (char letter : DrivesShown()) {
        UINT type = KnownDriveType(letter);
        (IsFastDrive(type) ? fast : others).push_back({letter, type});
    }
    g_shown.vaultDrivesLeft = static_cast<int>(fast.size() + others.size());
    if (g_shown.vaultDrivesLeft == 0) {
        ViewComplete(window);
        return;
    }
    auto started = RunInBackground([window, view, cancel, fast, others] {
        for (const VaultDrive& drive : fast)
            ListVaultOfDrive(window, view, cancel, drive.letter, drive.type);
        for (const VaultDrive& drive : others) {
            VaultDrive one = drive;
            if (!RunInBackground([window, view, cancel, one] {
                    ListVaultOfDrive(window, view, cancel, one.letter, one.type);
                }))
                PostAnswer(window, std::make_unique<RowsFound>(view, FoundRows(), true, 0));
        }
    });
    if (!started)
        ViewComplete(window);
}

}  // namespace

void RefreshViewAndShellTypes(HWND window)
{
    ForgetKinds();
    ShowLocation(window, CurrentFolder());
}

void ListAgainWhatIsOpening(HWND window)
{
    if (g_opening.number != 0) {
        OpeningView opening = g_opening;
        ShowLocation(window, opening.location.c_str(), opening.columns);
    }
}

bool ViewsBusy() { return g_opening.number != 0 || !g_shown.complete || g_opens > 0; }

void ForgetViewWork()
{
    Cancel(g_opening.cancel);
    Cancel(g_shown.cancel);
}

namespace {

bool CanListFolder(HWND window, const char* path)
{
    char pattern[MAX_PATH];
    if (JoinPath(path, "*.*", pattern, sizeof pattern))
        return true;
    ShowFormattedMessage(window, Message::PathTooLongToOpen, nullptr, path);
    return false;
}

}  // namespace

namespace {

// Reads one entry of the current folder, named exactly.
bool ReadEntry(const char* path, WIN32_FIND_DATAA& entry)
{
    FileSearch search = FileSearch::ForPath(path);
    if (!search.Next() || !IsListed(search.Entry()))
        return false;
    entry = search.Entry();
    return true;
}

}  // namespace

int AddItemRow(HWND window, const char* path)
{
    WIN32_FIND_DATAA entry;
    KindLookup kinds;
    if (CurrentView() != View::Folder || !ReadEntry(path, entry) ||
        !Rows().Add(entry.cFileName, strlen(entry.cFileName), FactsOf(entry, kinds)))
        return -1;
    if (!g_shown.complete)
        g_shown.madeByCommands.insert(entry.cFileName);
    ShowRowCount(window);
    ListAgainWhatIsOpening(window);
    return static_cast<int>(Rows().Count()) - 1;
}

void ReplaceItemRow(HWND window, uint32_t id, const char* path)
{
    WIN32_FIND_DATAA entry;
    KindLookup kinds;
    RowStore& rows = Rows();
    if (!ReadEntry(path, entry) || !rows.Rename(id, entry.cFileName, strlen(entry.cFileName))) {
        RemoveItems(window, {id});
        return;
    }
    rows.Facts(id) = FactsOf(entry, kinds);
    rows.SetOwnImage(id, -1);
    rows.SetOwnIconAsked(id, false);
    if (!g_shown.complete)
        g_shown.madeByCommands.insert(entry.cFileName);
    InvalidateRect(ItemList(window), nullptr, TRUE);
    ListAgainWhatIsOpening(window);
}

namespace {

// What became of opening an item.
class Opened : public Answer {
public:
    enum class Outcome { Started, IsFolder, Gone, Failed };
    Opened(unsigned view, std::string path, Outcome outcome, INT_PTR code)
        : view_(view), path_(std::move(path)), outcome_(outcome), code_(code)
    {
    }
    void Deliver(HWND window) override
    {
        --g_opens;
        UpdateWorkingCursor(window);
        AnswerHold hold(window);
        switch (outcome_) {
        case Outcome::Started: break;
        case Outcome::IsFolder:
            // Only from the view it was opened in: the user may have gone elsewhere meanwhile.
            if (view_ == g_shown.number)
                ShowLocation(window, path_.c_str(), Columns::Keep);
            break;
        case Outcome::Gone: ShowSystemError(window, path_.c_str(), static_cast<DWORD>(code_)); break;
        case Outcome::Failed: ReportOpenError(window, path_.c_str(), code_); break;
        }
    }

private:
    unsigned view_;
    std::string path_;
    Outcome outcome_;
    INT_PTR code_;
};

void OpenItem(HWND window, unsigned view, const std::string& path)
{
    PathState state = StateOfPath(path.c_str());
    if (!state.exists) {
        PostAnswer(window, std::make_unique<Opened>(view, path, Opened::Outcome::Gone, state.error));
        return;
    }
    if (state.isFolder) {
        PostAnswer(window, std::make_unique<Opened>(view, path, Opened::Outcome::IsFolder, 0));
        return;
    }
    // The program starts in the file's own folder, as it does from the shell;
    // a drive's root keeps its backslash ("D:" alone is a relative path).
    char folder[MAX_PATH];
    if (!CopyText(path.c_str(), folder, sizeof folder))
        folder[0] = '\0';
    if (char* last = const_cast<char*>(FindLastCharacter(folder, '\\')))
        last[last == folder + 2 && folder[1] == ':' ? 1 : 0] = '\0';
    INT_PTR result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(window, "open", path.c_str(), nullptr, folder[0] ? folder : nullptr, SW_SHOWNORMAL));
    Opened::Outcome outcome = result <= 32 ? Opened::Outcome::Failed : Opened::Outcome::Started;
    PostAnswer(window, std::make_unique<Opened>(view, path, outcome, result));
}

}  // namespace

void OpenItemInBackground(HWND window, const char* path)
{
    std::string target = path;
    unsigned view = g_shown.number;
    if (RunInBackground([window, view, target] { OpenItem(window, view, target); })) {
        ++g_opens;
        UpdateWorkingCursor(window);
    }
}

void ReportOpenError(HWND window, const char* path, INT_PTR code)
{
    switch (code) {
    case SE_ERR_SHARE: ShowMessage(window, Message::OpenSharingViolation, path); break;
    case SE_ERR_NOASSOC: ShowMessage(window, Message::OpenNoAssociation, path); break;
    case SE_ERR_DLLNOTFOUND: ShowMessage(window, Message::OpenDllNotFound, path); break;
    case ERROR_BAD_FORMAT: ShowFormattedMessage(window, Message::OpenNotAProgram, path, path); break;
    case SE_ERR_ACCESSDENIED: ShowMessage(window, Message::OpenAccessDenied, path); break;
    }
}
