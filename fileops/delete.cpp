#include "base/ansi_text.h"
#include "base/app_state.h"
#include "base/messages.h"
#include "browse/browse.h"
#include "fileops/fileops.h"
#include "fileops/fileops_rules.h"
#include "fileops/shell_operation.h"

#include <shellapi.h>

#include <io.h>

#include <memory>
#include <new>
#include <vector>

void DeleteSelectedItems(HWND window)
{
    // Outside a folder view the rows name no file: paths made from them would
    // be relative, resolved against whatever the process's folder is.
    if (CurrentView() != View::Folder)
        return;
    std::vector<ListedItem> selected = SelectedItems(window);
    if (selected.empty())
        return;
    size_t capacity = selected.size() * MAX_PATH + 1;
    std::unique_ptr<char[]> paths(new (std::nothrow) char[capacity]);
    if (!paths) {
        ShowMessage(window, Message::OutOfMemory);
        return;
    }
    size_t used = 0;
    paths[0] = '\0';
    std::vector<uint32_t> listed;
    SkippedItems refused;
    for (const ListedItem& item : selected) {
        // A name Windows reads as another, or as a pattern, would delete other items.
        char path[MAX_PATH];
        if (const char* reason = NotAddressableReason(item.name.c_str()))
            refused.Add(item.name.c_str(), reason);
        else if (!JoinPath(CurrentFolder(), item.name.c_str(), path, sizeof path) ||
                 !AppendToDeleteList(path, paths.get(), capacity, used))
            refused.Add(item.name.c_str(), TextOf(Message::ReasonPathTooLong));
        else
            listed.push_back(item.id);
    }
    if (!listed.empty() && ShellFileOperation(window, FO_DELETE, paths.get(), nullptr)) {
        // Items the user kept or the shell couldn't delete keep their rows.
        std::vector<uint32_t> deleted;
        const char* path = paths.get();
        for (uint32_t id : listed) {
            if (_access(path, 0) != 0)
                deleted.push_back(id);
            path += lstrlenA(path) + 1;
        }
        RemoveItems(window, deleted);
    }
    refused.Report(window, Message::ItemsNotDeleted);
}
