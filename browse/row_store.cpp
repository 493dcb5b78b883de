#include "browse/row_store.h"

#include <cstring>

bool RowStore::StoreName(const char* name, size_t length, uint32_t& where)
{
    if (length > kMaxName)
        return false;
    if (blockUsed_ + length + 1 > kBlockSize) {
        if (blocks_.size() >= (size_t{1} << (32 - kBlockBits)))
            return false;
        blocks_.push_back(std::make_unique<char[]>(kBlockSize));
        blockUsed_ = 0;
    }
    char* at = blocks_.back().get() + blockUsed_;
    std::memcpy(at, name, length);
    at[length] = '\0';
    where = static_cast<uint32_t>(((blocks_.size() - 1) << kBlockBits) | blockUsed_);
    blockUsed_ += length + 1;
    return true;
}

bool RowStore::Add(const char* name, size_t length, const RowFacts& facts, Id* id)
{
    Row row = {facts, 0, static_cast<uint16_t>(length), false, -1};
    if (rows_.size() >= UINT32_MAX - 1 || !StoreName(name, length, row.name))
        return false;
    Id added = static_cast<Id>(rows_.size());
    rows_.push_back(row);
    order_.push_back(added);
    if (id)
        *id = added;
    return true;
}

bool RowStore::Rename(Id id, const char* name, size_t length)
{
    uint32_t where = 0;
    if (!StoreName(name, length, where))
        return false;
    rows_[id].name = where;
    rows_[id].nameLength = static_cast<uint16_t>(length);
    return true;
}

void RowStore::Remove(const std::vector<Id>& ids)
{
    if (ids.empty())
        return;
    std::vector<bool> dropped(rows_.size(), false);
    for (Id id : ids) {
        if (id < rows_.size())
            dropped[id] = true;
    }
    size_t kept = 0;
    for (Id id : order_) {
        if (!dropped[id])
            order_[kept++] = id;
    }
    order_.resize(kept);
}

void RowStore::Clear()
{
    // swap, not clear: the memory of a huge listing goes back at once.
    std::vector<Row>().swap(rows_);
    std::vector<Id>().swap(order_);
    blocks_.clear();
    blockUsed_ = kBlockSize;
}

std::vector<uint32_t> RowStore::IndexOfEachId() const
{
    std::vector<uint32_t> index(rows_.size(), kNotShown);
    for (size_t i = 0; i < order_.size(); ++i)
        index[order_[i]] = static_cast<uint32_t>(i);
    return index;
}

const char* RowStore::Name(Id id) const
{
    uint32_t where = rows_[id].name;
    return blocks_[where >> kBlockBits].get() + (where & (kBlockSize - 1));
}
