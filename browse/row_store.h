#pragma once
// The rows of the item list, kept by the program in the order they are
// shown; platform-free (no <windows.h>). A row holds its name's exact bytes
// and a few numbers: about 40 bytes plus its name, so a folder of a million
// entries fits a 32-bit program with room to spare.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// What the program keeps of one listed item.
struct RowFacts {
    uint64_t size = 0;        // bytes
    uint64_t writeTime = 0;   // last write, in 100 ns since 1601 (UTC)
    uint32_t attributes = 0;  // the file system's attribute bits
    uint16_t kind = 0;        // what kind of item it is (its type name and icon)
    char drive = 0;           // a drive row's letter
};

class RowStore {
public:
    using Id = uint32_t;
    static constexpr size_t kMaxName = 259;

    // Appends a row to the order shown; false when the name is longer than a
    // name can be.
    bool Add(const char* name, size_t length, const RowFacts& facts, Id* id = nullptr);
    bool Rename(Id id, const char* name, size_t length);
    // Drops rows from the order shown; ids not shown are passed over.
    void Remove(const std::vector<Id>& ids);
    void Clear();

    size_t Count() const { return order_.size(); }
    Id At(size_t index) const { return order_[index]; }
    const std::vector<Id>& Order() const { return order_; }
    // Replaces the order shown by a permutation of it.
    void SetOrder(std::vector<Id> order) { order_ = std::move(order); }
    // The index of each shown row, by id; kNotShown for the others.
    std::vector<uint32_t> IndexOfEachId() const;
    static constexpr uint32_t kNotShown = UINT32_MAX;

    const char* Name(Id id) const;
    const RowFacts& Facts(Id id) const { return rows_[id].facts; }
    RowFacts& Facts(Id id) { return rows_[id].facts; }
    // The image of a row's own icon, or -1 while it has none.
    int OwnImage(Id id) const { return rows_[id].ownImage; }
    void SetOwnImage(Id id, int image) { rows_[id].ownImage = image; }
    bool OwnIconAsked(Id id) const { return rows_[id].ownIconAsked; }
    void SetOwnIconAsked(Id id, bool asked) { rows_[id].ownIconAsked = asked; }

private:
    struct Row {
        RowFacts facts;
        uint32_t name;  // where the name's bytes start, see NameAt
        uint16_t nameLength;
        bool ownIconAsked;
        int32_t ownImage;
    };
    // Names live in blocks that never move, each name followed by its NUL.
    static constexpr uint32_t kBlockBits = 20;
    static constexpr size_t kBlockSize = size_t{1} << kBlockBits;
    bool StoreName(const char* name, size_t length, uint32_t& where);

    std::vector<Row> rows_;
    std::vector<Id> order_;
    std::vector<std::unique_ptr<char[]>> blocks_;
    size_t blockUsed_ = kBlockSize;
};
