#include "secondary_layout.h"
#include "bytes.h"
#include "family.h"
#include <algorithm>
#include <cstring>

namespace pdx {

namespace {

// The name the original engine's restructure writes its files under before renaming them.
constexpr const char* kRestructureStem = "resttemp";

bool WrittenByRestructure(const TableHeader& h) {
    const std::string stem = h.tableName.substr(0, h.tableName.find('.'));
    return SameNameAscii(stem, kRestructureStem);
}

// The table fields an index's leading fields copy: by persistent field ID where the index has
// them, else (single-field index of an old table) by the field number in its header.
std::vector<const Field*> IndexedFields(const TableHeader& xh, const TableHeader& h,
                                        unsigned count) {
    std::vector<const Field*> sources(count, nullptr);
    for (unsigned i = 0; i < count && xh.HasDataHeader(); ++i)
        for (const auto& f : h.fields)
            if (f.id == (xh.fields[i].id & ~kDescendingFieldId))
                sources[i] = &f;
    const unsigned number = Get(xh.prefix, hdr::kIndexFieldNumber);
    if (count == 1 && !sources[0] && number >= 1 && number <= h.fields.size())
        sources[0] = &h.fields[number - 1];
    for (unsigned i = 0; i < count; ++i)
        if (sources[i] &&
            (sources[i]->type != xh.fields[i].type || sources[i]->info != xh.fields[i].info))
            sources[i] = nullptr;
    return sources;
}

} // namespace

std::string DescribeSecondary(const TableHeader& xh, const TableHeader& h, SecondaryLayout& out) {
    const unsigned keys = xh.keyFields;
    if (xh.fields.size() != keys + 1u || xh.fields.back().type != pxShort)
        return "its last field is not the only one outside its key, or not a short number";
    out = {};
    if (h.keyFields > 0) {
        if (keys <= h.keyFields ||
            !SameLayout(xh.fields, keys - h.keyFields, h.fields, 0, h.keyFields))
            return "its key does not end in the table's key fields";
        out.indexedFields = keys - h.keyFields;
        out.keyOffset = xh.fields[out.indexedFields].offset;
        out.keySize = KeySize(h, h.keyFields);
        out.blockOffset = xh.fields.back().offset;
    } else {
        if (keys < 3 || xh.fields[keys - 2].type != pxLong || xh.fields[keys - 1].type != pxShort)
            return "its key does not end in a record number and a block, as for a table "
                   "without key";
        out.byPlace = true;
        out.indexedFields = keys - 2;
        out.numberOffset = xh.fields[keys - 2].offset;
        out.blockOffset = xh.fields[keys - 1].offset;
        out.placeOffset = xh.fields.back().offset;
    }
    out.sources = IndexedFields(xh, h, out.indexedFields);
    return {};
}

int EntrySlot(const SecondaryLayout& layout, const TableHeader& h, const uint8_t* entry,
              const uint8_t* block, unsigned count) {
    const uint8_t* records = block + blk::kRecords;
    if (layout.byPlace) {
        const unsigned offset = GetIndexShort(entry + layout.placeOffset);
        const unsigned slot = offset / h.recordSize;
        return offset % h.recordSize == 0 && slot < count ? int(slot) : -1;
    }
    for (unsigned i = 0; i < count; ++i)
        if (std::memcmp(records + size_t(i) * h.recordSize, entry + layout.keyOffset,
                        layout.keySize) == 0)
            return int(i);
    return -1;
}

bool SameIndexedValues(const SecondaryLayout& layout, const TableHeader& xh, const uint8_t* entry,
                       const uint8_t* record) {
    for (size_t i = 0; i < layout.sources.size(); ++i) {
        const Field* source = layout.sources[i];
        if (source && std::memcmp(entry + xh.fields[i].offset, record + source->offset,
                                  source->StoredSize()) != 0)
            return false;
    }
    return true;
}

void PlaceEntry(const SecondaryLayout& layout, const TableHeader& h, uint8_t* entry, unsigned block,
                unsigned slot) {
    PutIndexShort(entry + layout.blockOffset, uint16_t(block));
    if (layout.byPlace)
        PutIndexShort(entry + layout.placeOffset, uint16_t(slot * h.recordSize));
}

bool HasDescendingField(const TableHeader& xh) {
    return xh.HasDataHeader() &&
           std::any_of(xh.fields.begin(), xh.fields.end(),
                       [](const Field& f) { return (f.id & kDescendingFieldId) != 0; });
}

bool AddedByRestructure(const TableHeader& xh, const TableHeader& h) {
    return xh.changeCount2 == uint8_t(h.changeCount2 + 1) && WrittenByRestructure(xh) &&
           !WrittenByRestructure(h);
}

bool IndexIsCurrent(const TableHeader& xh, const TableHeader& h) {
    return xh.changeCount2 == h.changeCount2 || AddedByRestructure(xh, h);
}

} // namespace pdx
