#include "browse/kinds.h"

#include "base/ansi_text.h"
#include "browse/browse_parts.h"
#include "browse/item_text.h"

#include <shellapi.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct Kind {
    unsigned epoch;
    char typeName[80];
    bool ownIcon;
    // Held until the window's thread copies them into the image lists.
    ShellIcons icons;
    std::atomic<int> image{-1};
    int reuseImage;  // the image an earlier answer for the same kind had
};

constexpr size_t kMaxKinds = 65535;

// The table lives as long as the process and is never destroyed: workers may
// still be asking while the program ends.
struct KindTable {
    KindTable() { InitializeCriticalSection(&lock); }
    CRITICAL_SECTION lock;
    Kind* kinds[kMaxKinds] = {};
    std::atomic<unsigned> count{1};
    std::atomic<unsigned> epoch{1};
    std::unordered_map<std::string, uint16_t> byKey;
};

KindTable& Table()
{
    static KindTable* table = new KindTable;
    return *table;
}

class Locked {
public:
    Locked() { EnterCriticalSection(&Table().lock); }
    ~Locked() { LeaveCriticalSection(&Table().lock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
};

uint16_t KindOfKey(const char* name, bool isFolder, const std::string& key, unsigned epoch, KindLookup& lookup);

// Extensions whose files each carry an icon of their own.
const char* const kOwnIconExtensions[] = {"exe", "ico", "lnk", "cur", "ani", "scr", "pif", "url", "cpl"};

// True when a file type takes its icon from each file: one of the known
// extensions, or a registered class whose default icon is the file itself.
bool HasOwnIcon(const char* extension)
{
    for (const char* own : kOwnIconExtensions) {
        if (SameExtension(extension, own))
            return true;
    }
    if (!*extension || strlen(extension) > 200)
        return false;
    char key[MAX_PATH];
    char className[MAX_PATH] = {};
    LONG size = sizeof className - 1;  // a value stored without its NUL stays terminated
    snprintf(key, sizeof key, ".%s", extension);
    if (RegQueryValueA(HKEY_CLASSES_ROOT, key, className, &size) != ERROR_SUCCESS || !className[0])
        return false;
    char iconKey[MAX_PATH + 20];
    char icon[MAX_PATH] = {};
    size = sizeof icon - 1;
    snprintf(iconKey, sizeof iconKey, "%s\\DefaultIcon", className);
    if (RegQueryValueA(HKEY_CLASSES_ROOT, iconKey, icon, &size) != ERROR_SUCCESS)
        return false;
    return strncmp(icon, "%1", 2) == 0 || strncmp(icon, "\"%1\"", 4) == 0;
}

const char* ShownTypeName(const char* typeName) { return lstrcmpA(typeName, "文件") == 0 ? "文件夹" : typeName; }

// The lower-cased extension of a file, or a text no extension can be for
// folders. The extension starts after the last '.', a byte that is never a
// character's second byte; its ASCII letters are lowered where a character
// starts.
void KeyOf(const char* name, bool isFolder, std::string& key)
{
    key.clear();
    if (isFolder) {
        key = "\\folder";
        return;
    }
    const char* dot = strrchr(name, '.');
    if (!dot)
        return;
    for (const char* p = dot + 1; *p;) {
        size_t length = CharLength(p);
        key.push_back(length == 1 && *p >= 'A' && *p <= 'Z' ? static_cast<char>(*p - 'A' + 'a') : *p);
        if (length == 2)
            key.push_back(p[1]);
        p += length;
    }
}

std::unique_ptr<Kind> AskShell(const char* name, bool isFolder, unsigned epoch)
{
    auto kind = std::make_unique<Kind>();
    kind->epoch = epoch;
    kind->ownIcon = !isFolder && HasOwnIcon(ExtensionOf(name));
    kind->reuseImage = -1;
    DWORD attributes = isFolder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    SHFILEINFOA small = {};
    SHFILEINFOA large = {};
    const UINT byName = SHGFI_USEFILEATTRIBUTES | SHGFI_ICON;
    SHGetFileInfoA(name, attributes, &small, sizeof small, byName | SHGFI_SMALLICON | SHGFI_TYPENAME);
    SHGetFileInfoA(name, attributes, &large, sizeof large, byName);
    CopyTextCut(ShownTypeName(small.szTypeName), kind->typeName, sizeof kind->typeName);
    kind->icons.small = small.hIcon;
    kind->icons.large = large.hIcon;
    return kind;
}

Kind* KindAt(uint16_t kind)
{
    return kind != kNoKind && kind < Table().count.load(std::memory_order_acquire) ? Table().kinds[kind] : nullptr;
}

}  // namespace

uint16_t KindOfEntry(const char* name, DWORD attributes, KindLookup& lookup)
{
    KindTable& table = Table();
    unsigned epoch = table.epoch.load(std::memory_order_relaxed);
    if (lookup.epoch != epoch) {
        lookup.known.clear();
        lookup.epoch = epoch;
    }
    bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    std::string& key = lookup.key;
    KeyOf(name, isFolder, key);
    auto mine = lookup.known.find(key);
    return mine != lookup.known.end() ? mine->second : KindOfKey(name, isFolder, key, epoch, lookup);
}

namespace {

uint16_t KindOfKey(const char* name, bool isFolder, const std::string& key, unsigned epoch, KindLookup& lookup)
{
    KindTable& table = Table();

    uint16_t found = kNoKind;
    int earlierImage = -1;
    {
        Locked locked;
        auto known = table.byKey.find(key);
        if (known != table.byKey.end()) {
            Kind* kind = table.kinds[known->second];
            if (kind->epoch == epoch)
                found = known->second;
            else
                earlierImage = kind->image.load() >= 0 ? kind->image.load() : kind->reuseImage;
        }
    }
    if (found == kNoKind) {
        // The shell takes milliseconds: it is asked outside the lock.
        std::unique_ptr<Kind> asked = AskShell(name, isFolder, epoch);
        asked->reuseImage = earlierImage;
        Locked locked;
        auto known = table.byKey.find(key);
        if (known != table.byKey.end() && table.kinds[known->second]->epoch == epoch) {
            found = known->second;
            DestroyIcons(asked->icons);
        } else if (table.count.load() < kMaxKinds) {
            found = static_cast<uint16_t>(table.count.load());
            table.kinds[found] = asked.release();
            table.count.store(found + 1u, std::memory_order_release);
            table.byKey[key] = found;
        } else {
            DestroyIcons(asked->icons);
        }
    }
    lookup.known.emplace(key, found);
    return found;
}

}  // namespace

bool ShowsOwnIcon(DWORD attributes, uint16_t kind)
{
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    const Kind* known = KindAt(kind);
    return known && known->ownIcon;
}

const char* KindTypeName(uint16_t kind)
{
    const Kind* known = KindAt(kind);
    return known ? known->typeName : "";
}

int KindImage(uint16_t kind)
{
    Kind* known = KindAt(kind);
    if (!known)
        return -1;
    int image = known->image.load();
    if (image >= 0 || (!known->icons.small && !known->icons.large))
        return image;
    // An earlier answer about the same kind gives up its place in the lists,
    // so asking again doesn't make them grow.
    if (known->reuseImage >= 0)
        image = ReplaceItemIcons(known->reuseImage, known->icons.small, known->icons.large);
    else
        image = AppendItemIcons(known->icons.small, known->icons.large);
    DestroyIcons(known->icons);
    known->image.store(image);
    return image;
}

void ForgetKinds()
{
    KindTable& table = Table();
    Locked locked;
    table.epoch.fetch_add(1);
}

ShellIcons OwnIconsOf(const char* path)
{
    SHFILEINFOA small = {};
    SHFILEINFOA large = {};
    SHGetFileInfoA(path, 0, &small, sizeof small, SHGFI_ICON | SHGFI_SMALLICON);
    SHGetFileInfoA(path, 0, &large, sizeof large, SHGFI_ICON);
    return ShellIcons{small.hIcon, large.hIcon};
}

void DestroyIcons(ShellIcons& icons)
{
    if (icons.small)
        DestroyIcon(icons.small);
    if (icons.large)
        DestroyIcon(icons.large);
    icons = ShellIcons{};
}
