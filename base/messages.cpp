#include "base/messages.h"

#include "base/ansi_text.h"
#include "base/item_names.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

const char kRenameCaption[] = "重命名";

namespace {

const char kTip[] = "提示";

struct CatalogueEntry {
    Message message;
    MessageRule rule;
};

// In the order of Message: an entry's place is its message.
constexpr CatalogueEntry kCatalogue[] = {
    {Message::RegistrationFailed, {"Windows Registration failed!", "Error", MB_ICONWARNING}},
    {Message::StartFailed, {"程序启动失败", "Error", MB_ICONWARNING}},
    {Message::TreeControlFailed, {"创建树状控件失败", kTip, MB_OK}},
    {Message::ListControlFailed, {"创建ListView控件失败", kTip, MB_OK}},
    {Message::PathTooLongToOpen, {"路径太长，无法打开：%s", kTip, MB_ICONWARNING}},
    {Message::EntriesNotListed, {"有 %d 个项目的路径过长，未列出", kTip, MB_ICONWARNING}},
    {Message::OpenSharingViolation, {"发生共享冲突", nullptr, MB_ICONERROR}},
    {Message::OpenNoAssociation, {"没有与给定的文件扩展名关联的应用程序", nullptr, MB_ICONERROR}},
    {Message::OpenDllNotFound, {"指定的动态链接库没有被找到", nullptr, MB_ICONERROR}},
    {Message::OpenNotAProgram, {"%s 不是有效的 Win32 应用程序", nullptr, MB_ICONERROR}},
    {Message::OpenAccessDenied, {"拒绝访问，没有打开该文件的权限", nullptr, MB_ICONERROR}},
    {Message::FirstUse, {"首次使用Quillvane需要设置Quillvane密码！", kTip, MB_ICONWARNING}},
    {Message::EmptyPassword, {"密码不能为空", kTip, MB_ICONERROR}},
    {Message::PasswordTooLong, {"密码不能超过 %d 个字符", kTip, MB_ICONERROR}},
    {Message::PasswordSet, {"您设置的Quillvane密码是：%s，请务必牢记！", kTip, MB_ICONWARNING}},
    {Message::PasswordNotStored, {"密码设置失败", kTip, MB_ICONERROR}},
    {Message::WrongPassword, {"密码不正确", kTip, MB_ICONERROR}},
    {Message::WrongOldPassword, {"原始密码不正确，不能重设密码", kTip, MB_ICONERROR}},
    {Message::PlusInPath, {"文件名或文件所在路径不能带包含 ‘+’", kTip, MB_ICONWARNING}},
    {Message::ItemsNotMoved, {"有 %d 个项目未能移动，原样保留：\n%s", kTip, MB_ICONWARNING}},
    {Message::ItemsNotDeleted, {"有 %d 个项目未删除：\n%s", kTip, MB_ICONWARNING}},
    {Message::NameNotAddressable, {"无法处理“%s”：%s", kTip, MB_ICONWARNING}},
    {Message::NameEmpty, {"文件名不能为空", kRenameCaption, MB_ICONWARNING}},
    {Message::NameHasForbiddenCharacter,
     {"文件名不能包含下列字符：\\ / : * ? \" < > |，也不能包含控制字符", kRenameCaption, MB_ICONWARNING}},
    {Message::NameIsDevice, {"“%s”是系统保留的设备名，不能用作文件名", kRenameCaption, MB_ICONWARNING}},
    {Message::NameTaken, {"此文件夹中已有名为“%s”的项目", kRenameCaption, MB_ICONWARNING}},
    {Message::NewItemInDrivesView, {"磁盘页面不能新建文件", "Explorer", MB_ICONERROR}},
    {Message::FileExists, {"当文件已存在时，无法创建该文件", nullptr, MB_ICONERROR}},
    {Message::OutOfMemory, {"内存申请失败", "Explorer", MB_ICONERROR}},
    {Message::ExtensionChange,
     {"如果改变文件扩展名，可能会导致文件不可用。\n确实要更改吗?", "重命名", MB_YESNO | MB_ICONWARNING}},
    {Message::NumberedTreeDone, {"创建成功", kTip, MB_OK}},
    {Message::NumberedTreeIncomplete, {"有 %d 个文件夹未能创建：%s", kTip, MB_ICONERROR}},
    {Message::ReasonWildcard, {"名称含有无法表示的字符", nullptr, 0}},
    {Message::ReasonTrailingDotOrSpace, {"名称以点或空格结尾，系统会把它当作另一个名称", nullptr, 0}},
    {Message::ReasonOnlyDots, {"名称只有点，系统会把它当作所在的文件夹", nullptr, 0}},
    {Message::ReasonPathTooLong, {"路径过长", nullptr, 0}},
    {Message::UnknownSystemError, {"错误 %lu", nullptr, 0}},
};

constexpr bool EveryMessageInItsPlace()
{
    if (sizeof kCatalogue / sizeof kCatalogue[0] != static_cast<size_t>(Message::Count))
        return false;
    for (size_t i = 0; i < sizeof kCatalogue / sizeof kCatalogue[0]; ++i) {
        if (kCatalogue[i].message != static_cast<Message>(i))
            return false;
    }
    return true;
}
static_assert(EveryMessageInItsPlace(), "the catalogue has one entry for each message, in the order of Message");

}  // namespace

const MessageRule& RuleOf(Message message) { return kCatalogue[static_cast<size_t>(message)].rule; }

const char* TextOf(Message message) { return RuleOf(message).text; }

int ShowMessage(HWND owner, Message message, const char* caption)
{
    const MessageRule& rule = RuleOf(message);
    return MessageBoxA(owner, rule.text, caption ? caption : rule.caption, rule.flags);
}

int ShowFormattedMessage(HWND owner, Message message, const char* caption, ...)
{
    // Measured first, so a long list of names is shown whole, never cut
    // inside a double-byte character.
    const MessageRule& rule = RuleOf(message);
    va_list arguments, measuring;
    va_start(arguments, caption);
    va_copy(measuring, arguments);
    int length = vsnprintf(nullptr, 0, rule.text, measuring);
    va_end(measuring);
    std::vector<char> text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    vsnprintf(text.data(), text.size(), rule.text, arguments);
    va_end(arguments);
    return MessageBoxA(owner, text.data(), caption ? caption : rule.caption, rule.flags);
}

void SystemErrorText(DWORD code, char* text, int capacity)
{
    // Language 0 lets the system fall back from the user's language to any it
    // has; a language asked for by name fails where the display language
    // differs from the regional format.
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                  static_cast<DWORD>(capacity), nullptr);
    if (length == 0)
        snprintf(text, static_cast<size_t>(capacity), TextOf(Message::UnknownSystemError), code);
    for (DWORD end = length; end > 0 && (text[end - 1] == '\n' || text[end - 1] == '\r'); --end)
        text[end - 1] = '\0';
}

void ShowSystemError(HWND owner, const char* caption, DWORD code)
{
    char text[512];
    SystemErrorText(code, text, sizeof text);
    MessageBoxA(owner, text, caption, MB_ICONERROR);
}

void SkippedItems::Add(const char* name, const char* reason)
{
    constexpr int kNamed = 5;
    if (++count_ <= kNamed)
        lines_ += std::string(name) + "：" + reason + "\n";
    else if (count_ == kNamed + 1)
        lines_ += "……";
}

void SkippedItems::AddSystemError(const char* name, DWORD code)
{
    char reason[256];
    SystemErrorText(code, reason, sizeof reason);
    Add(name, reason);
}

void SkippedItems::Report(HWND owner, Message message) const
{
    if (count_ > 0)
        ShowFormattedMessage(owner, message, nullptr, count_, lines_.c_str());
}

const char* NotAddressableReason(const char* nameOrPath)
{
    switch (FaultOfPathParts(nameOrPath)) {
    case ListedNameFault::None: break;
    case ListedNameFault::Wildcard: return TextOf(Message::ReasonWildcard);
    case ListedNameFault::TrailingDotOrSpace: return TextOf(Message::ReasonTrailingDotOrSpace);
    case ListedNameFault::OnlyDots: return TextOf(Message::ReasonOnlyDots);
    }
    return nullptr;
}

bool RefuseNotAddressable(HWND owner, const char* nameOrPath)
{
    const char* reason = NotAddressableReason(nameOrPath);
    if (reason)
        ShowFormattedMessage(owner, Message::NameNotAddressable, nullptr, nameOrPath, reason);
    return reason != nullptr;
}
