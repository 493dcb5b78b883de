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
    ItemsNotMoved,    // %d: how many, %s: the first few with their reasons
    ItemsNotDeleted,  // the same
    NewItemInDrivesView,
    FileExists,
    OutOfMemory,
    ExtensionChange,
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

// The items a command left alone, reported in one message at its end with
// the first few names and the reason for each.
class SkippedItems {
public:
    void Add(const char* name, const char* reason);
    // Adds an item with the system's text for the last error.
    void AddSystemError(const char* name);
    void Report(HWND owner, Message message) const;

    static const char kPathTooLong[];
    static const char kUnrepresentableName[];

private:
    int count_ = 0;
    std::string lines_;
};

// The list shows a character that code page 936 can't hold as '?', which no
// file name contains: the ANSI name would name another file, or several.
bool HasUnrepresentableCharacter(const char* name);
