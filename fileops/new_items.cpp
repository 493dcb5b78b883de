#include "base/app_state.h"
#include "base/ansi_text.h"
#include "base/file_search.h"
#include "base/messages.h"
#include "browse/browse.h"
#include "fileops/fileops.h"

namespace {

struct NewItemRule {
    const char* name;
    const char* errorCaption;
};

// By kind, in the order of NewItemKind.
const NewItemRule kKinds[] = {
    {"新建文件夹", "新建文件夹时出错"},
    {"新建 BMP 图像.bmp", "新建BMP图像时出错"},
    {"新建 Microsoft Word 文档.doc", "新建Word时出错"},
    {"新建 Microsoft PowerPoint 演示文稿.ppt", "新建压缩文件时出错"},
    {"新建 文本文档.txt", "新建文本文档时出错"},
    {"新建 波形声音.wav", "新建波形声音文件时出错"},
    {"新建 Microsoft Excel 工作表.xls", "新建Excel时出错"},
};
static_assert(sizeof kKinds / sizeof kKinds[0] == static_cast<size_t>(NewItemKind::Excel) + 1, "a rule for each kind");

const NewItemRule& RuleOfKind(NewItemKind kind) { return kKinds[static_cast<size_t>(kind)]; }

// Creates the item; false, after telling the user, when it couldn't be.
bool CreateItem(HWND window, NewItemKind kind, const char* path)
{
    const char* caption = RuleOfKind(kind).errorCaption;
    if (kind == NewItemKind::Folder) {
        if (CreateDirectoryA(path, nullptr))
            return true;
        ShowSystemError(window, caption, GetLastError());
        return false;
    }
    if (StateOfPath(path).exists) {
        ShowMessage(window, Message::FileExists, caption);
        return false;
    }
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ShowSystemError(window, caption, GetLastError());
        return false;
    }
    CloseHandle(file);
    return true;
}

}  // namespace

void CreateNewItem(HWND window, NewItemKind kind)
{
    if (CurrentView() == View::Drives) {
        ShowMessage(window, Message::NewItemInDrivesView);
        return;
    }
    if (CurrentView() != View::Folder)
        return;
    char path[MAX_PATH];
    if (!JoinPath(CurrentFolder(), RuleOfKind(kind).name, path, sizeof path)) {
        ShowSystemError(window, RuleOfKind(kind).errorCaption, ERROR_FILENAME_EXCED_RANGE);
        return;
    }
    if (!CreateItem(window, kind, path))
        return;
    // The new item's row is the last one, whatever order the rows are in.
    int row = AddItemRow(window, path);
    if (row < 0)
        return;
    HWND list = ItemList(window);
    SetFocus(list);
    SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    SendMessageA(list, LVM_EDITLABELA, static_cast<WPARAM>(row), 0);
}
