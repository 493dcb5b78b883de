#include "base/app_state.h"
#include "base/ansi_text.h"
#include "base/messages.h"
#include "browse/browse.h"
#include "res/resource.h"
#include "vault/vault.h"

#include <shlwapi.h>

#include <vector>

namespace {

const char kPasswordKey[] = "Software\\Quillvane";
const char kPasswordValue[] = "PassWord";

// Room for the longest password, a NUL the registry may add when reading,
// and one more NUL that the read never reaches.
using StoredPassword = char[kStoredPasswordBytes + 2];

// The stored password, or "" when none is stored or it can't be read: a
// value longer than any password counts as unreadable.
void ReadStoredPassword(StoredPassword& password)
{
    // The value is stored without its NUL; the buffer is zero-filled and one
    // byte longer than the size passed, so it stays terminated.
    ZeroMemory(password, sizeof password);
    DWORD size = sizeof password - 1;
    if (SHGetValueA(HKEY_CURRENT_USER, kPasswordKey, kPasswordValue, nullptr, password, &size) != ERROR_SUCCESS ||
        lstrlenA(password) > kStoredPasswordBytes)
        ZeroMemory(password, sizeof password);
}

bool StorePassword(const char* password)
{
    return SHSetValueA(HKEY_CURRENT_USER, kPasswordKey, kPasswordValue, REG_SZ, password,
                       static_cast<DWORD>(lstrlenA(password))) == ERROR_SUCCESS;
}

int CountCharacters(const char* text)
{
    int count = 0;
    for (; *text; text += CharLength(text))
        ++count;
    return count;
}

// Reads the dialog's field into the remembered password; false, leaving it
// empty, when the field holds more bytes than a stored password can have.
bool RememberTypedPassword(HWND dialog)
{
    HWND field = GetDlgItem(dialog, IDC_PASSWORD_EDIT);
    std::vector<char> typed(static_cast<size_t>(GetWindowTextLengthA(field)) + 1, '\0');
    GetWindowTextA(field, typed.data(), static_cast<int>(typed.size()));
    return CopyText(typed.data(), g_app.rememberedPassword, sizeof g_app.rememberedPassword);
}

bool RememberedIsStored()
{
    StoredPassword stored;
    ReadStoredPassword(stored);
    return lstrcmpA(g_app.rememberedPassword, stored) == 0;
}

void ShowVaultView() { ShowLocation(g_app.mainWindow, kVaultMarker); }

void RunPasswordDialog(const char* templateName, DLGPROC procedure)
{
    DialogBoxParamA(g_app.instance, templateName, g_app.mainWindow, procedure, 0);
}

// Answers what both dialogs answer alike; true when the message was one of them.
bool HandleCommonMessage(HWND dialog, UINT message, INT_PTR& answer)
{
    switch (message) {
    case WM_INITDIALOG:
        SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_app.appIcon));
        // The limit counts bytes on Windows (characters under Wine): the
        // field takes every password that can be stored.
        SendDlgItemMessageA(dialog, IDC_PASSWORD_EDIT, EM_LIMITTEXT, kStoredPasswordBytes, 0);
        answer = TRUE;
        return true;
    case WM_CLOSE:
        // The close box ends the dialog and nothing else; the dialog manager
        // would otherwise send IDCANCEL, the reset button's id.
        EndDialog(dialog, 0);
        answer = TRUE;
        return true;
    }
    return false;
}

INT_PTR CALLBACK SetPasswordProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    INT_PTR answer = FALSE;
    if (HandleCommonMessage(dialog, message, answer))
        return answer;
    if (message != WM_COMMAND || LOWORD(wParam) != IDC_PASSWORD_SET)
        return FALSE;
    if (!RememberTypedPassword(dialog) || CountCharacters(g_app.rememberedPassword) > kPasswordCharacters) {
        g_app.rememberedPassword[0] = '\0';
        ShowFormattedMessage(dialog, Message::PasswordTooLong, nullptr, kPasswordCharacters);
        return TRUE;
    }
    if (g_app.rememberedPassword[0] == '\0') {
        ShowMessage(dialog, Message::EmptyPassword);
        return TRUE;
    }
    EndDialog(dialog, 0);
    if (StorePassword(g_app.rememberedPassword))
        ShowFormattedMessage(g_app.mainWindow, Message::PasswordSet, nullptr, g_app.rememberedPassword);
    else
        ShowMessage(g_app.mainWindow, Message::PasswordNotStored);
    ShowVaultView();
    return TRUE;
}

INT_PTR CALLBACK EnterPasswordProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    INT_PTR answer = FALSE;
    if (HandleCommonMessage(dialog, message, answer))
        return answer;
    WORD id = LOWORD(wParam);
    if (message != WM_COMMAND || (id != IDC_PASSWORD_ENTER && id != IDC_PASSWORD_RESET))
        return FALSE;
    // Esc arrives as the reset button (IDCANCEL): the current password must be typed first.
    bool reset = id == IDC_PASSWORD_RESET;
    if (!RememberTypedPassword(dialog) || !RememberedIsStored()) {
        ShowMessage(dialog, reset ? Message::WrongOldPassword : Message::WrongPassword);
        return TRUE;
    }
    EndDialog(dialog, 0);
    if (reset)
        RunPasswordDialog(IDD_SET_PASSWORD, SetPasswordProc);
    else
        ShowVaultView();
    return TRUE;
}

}  // namespace

void OpenVaultView(HWND window)
{
    StoredPassword stored;
    ReadStoredPassword(stored);
    if (stored[0] == '\0') {
        ShowMessage(window, Message::FirstUse);
        RunPasswordDialog(IDD_SET_PASSWORD, SetPasswordProc);
    } else if (lstrcmpA(g_app.rememberedPassword, stored) != 0) {
        RunPasswordDialog(IDD_ENTER_PASSWORD, EnterPasswordProc);
    } else {
        ShowVaultView();
    }
}
