#pragma once
// Every message box of the program: one catalogue of texts, captions and
// icons, shown through one seam.
#include <windows.h>

#include <string>

enum class Message {
    RegistrationFailed,
    StartFailed,
    TreeControlFailed,
    ListControlFailed,
    PathTooLongToOpen,  // %s: the path
    EntriesNotListed,   // %d: how many
    OpenSharingViolation,
    OpenNoAssociation,
    OpenDllNotFound,
    OpenNotAProgram,  // %s: the path
    OpenAccessDenied,
    FirstUse,
    EmptyPassword,
    PasswordTooLong,  // %d: the limit in characters
    PasswordSet,      // %s: the password
    PasswordNotStored,
    WrongPassword,
    WrongOldPassword,
    PlusInPath,
    ItemsNotMoved,       // %d: how many, %s: the first few with their reasons
    ItemsNotDeleted,     // the same
    NameNotAddressable,  // %s: the name, %s: why
    NameEmpty,
    NameHasForbiddenCharacter,
    NameIsDevice,  // %s: the name
    NameTaken,     // %s: the name
    NewItemInDrivesView,
    FileExists,
    OutOfMemory,
    ExtensionChange,
    NumberedTreeDone,
    NumberedTreeIncomplete,  // %d: how many, %s: the system's reason for the first
    // Why an item was left alone, in the lists of SkippedItems and NameNotAddressable.
    ReasonWildcard,
    ReasonTrailingDotOrSpace,
    ReasonOnlyDots,
    ReasonPathTooLong,
    // An error the system has no text for; %lu: its code.
    UnknownSystemError,
    Count,
};

struct MessageRule {
    const char* text;     // a format for the messages that take arguments
    const char* caption;  // null: the caller gives it (a file's path, a kind's caption)
    UINT flags;
};

// The caption of the rename's messages.
extern const char kRenameCaption[];

const MessageRule& RuleOf(Message message);
const char* TextOf(Message message);

// Shows a message; caption replaces the catalogue's caption when given.
int ShowMessage(HWND owner, Message message, const char* caption = nullptr);
// Shows a message whose text is a format, filled with the arguments.
int ShowFormattedMessage(HWND owner, Message message, const char* caption, ...);

// Shows the system's text for an error code under a caption.
void ShowSystemError(HWND owner, const char* caption, DWORD code);
// The system's text for an error code, without its line break.
void SystemErrorText(DWORD code, char* text, int capacity);

// The items a command left alone, reported in one message at its end with
// the first few names and the reason for each.
class SkippedItems {
public:
    void Add(const char* name, const char* reason);
    // Adds an item with the system's text for an error code.
    void AddSystemError(const char* name, DWORD code);
    void Report(HWND owner, Message message) const;

private:
    int count_ = 0;
    std::string lines_;
};

// Why a command must leave an item alone because its name, or a part of its
// path, names another item in Windows' reading (base/item_names.h); null
// when the file system can be handed it as it stands.
const char* NotAddressableReason(const char* nameOrPath);
// Tells the user that a command can't act on the item; true when it can't.
bool RefuseNotAddressable(HWND owner, const char* nameOrPath);
