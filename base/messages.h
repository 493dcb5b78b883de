#pragma once
// Every message box of the program: one catalogue of texts, captions and
// icons, shown through one seam.
#include <windows.h>

enum class Message {
    RegistrationFailed,
    StartFailed,
    TreeControlFailed,
    ListControlFailed,
    PathTooLongToOpen,   // %s: the path
    EntriesNotListed,    // %d: how many
    OpenSharingViolation,
    OpenNoAssociation,
    OpenDllNotFound,
    OpenNotAProgram,     // %s: the path
    OpenAccessDenied,
    FirstUse,
    EmptyPassword,
    PasswordTooLong,     // %d: the limit in characters
    PasswordSet,         // %s: the password
    PasswordNotStored,
    WrongPassword,
    WrongOldPassword,
    PlusInPath,
    ItemsNotMoved,       // %d: how many, %s: the first few with their reasons
    NewItemInDrivesView,
    FileExists,
    OutOfMemory,
    ExtensionChange,
    NamesNotDeleted,     // %d: how many, %s: their names
    NumberedTreeDone,
    NumberedTreeIncomplete,  // %d: how many, %s: the system's reason for the first
};

struct MessageRule {
    const char* text;     // a format for the messages that take arguments
    const char* caption;  // null: the caller gives it (a file's path, a kind's caption)
    UINT flags;
};

const MessageRule& RuleOf(Message message);

// Shows a message; caption replaces the catalogue's caption when given.
int ShowMessage(HWND owner, Message message, const char* caption = nullptr);
// Shows a message whose text is a format, filled with the arguments.
int ShowFormattedMessage(HWND owner, Message message, const char* caption, ...);

// Shows the system's text for the calling thread's last error under a
// caption; call it right after the failing call.
void ShowSystemError(HWND owner, const char* caption);
// The system's text for an error code, without its line break.
void SystemErrorText(DWORD code, char* text, int capacity);
