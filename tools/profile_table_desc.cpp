#include "profile_table_desc.h"
#include "field_letters.h"
#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

FLDDesc Descriptor(const Column& c) {
    return c.type == 'M' ? MemoDescriptor(c.name.c_str(), c.size)
                         : DescriptorFor(c.name.c_str(), c.type, c.size);
}

} // namespace

ProfileTableDesc::ProfileTableDesc(const TableJob& job) : job_(job), columns_(job.def->columns) {
    columns_.insert(columns_.end(), job.extra.begin(), job.extra.end());
    unsigned level = job.def->level;
    for (const auto& c : columns_) {
        fields_.push_back(Descriptor(c));
        level = std::max(level, LevelNeeded(c.type));
    }
    const unsigned keyFields = job.keyed ? job.def->keyFields : 0;
    key_.bPrimary = 1;
    key_.iFldsInKey = uint16_t(keyFields);
    for (unsigned i = 0; i < keyFields; ++i)
        key_.aiKeyFld[i] = uint16_t(i + 1);

    // The engine takes the level and block size of a new table as optional parameters.
    std::strcpy(optionNames_[0].szName, "LEVEL");
    std::strcpy(optionNames_[1].szName, "BLOCK SIZE");
    optionNames_[1].iOffset = 16;
    std::snprintf(reinterpret_cast<char*>(optionValues_), 16, "%u", level);
    std::snprintf(reinterpret_cast<char*>(optionValues_ + 16), 16, "%u", job.def->blockSize);

    std::strncpy(request_.szTblName, job.def->name, DBIMAXTBLNAMELEN);
    std::strcpy(request_.szTblType, "PARADOX");
    request_.iFldCount = uint16_t(fields_.size());
    request_.pfldDesc = fields_.data();
    request_.iIdxCount = keyFields ? 1 : 0;
    request_.pidxDesc = &key_;
    request_.iOptParams = 2;
    request_.pfldOptParams = optionNames_;
    request_.pOptData = optionValues_;
    if (!job.password.empty()) {
        request_.bProtected = 1;
        std::strncpy(request_.szPassword, job.password.c_str(), DBIMAXPATHLEN);
    }
}

std::string ProfileTableDesc::IndexedColumn() const {
    if (!job_.keyed)
        return job_.unkeyedIndex;
    return job_.index && job_.def->indexedColumn ? job_.def->indexedColumn : "";
}

bool ProfileTableDesc::HasSecondaryIndex() const {
    return !IndexedColumn().empty();
}

IDXDesc ProfileTableDesc::SecondaryIndex() const {
    IDXDesc index{};
    index.iFldsInKey = 1;
    index.bMaintained = job_.keyed;
    const std::string column = IndexedColumn();
    for (size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].name == column)
            index.aiKeyFld[0] = uint16_t(i + 1);
    return index;
}

LogicalValue::LogicalValue(const Column& c, const Value& v) {
    if (v.empty)
        return; // stored as NULL
    if (c.type == 'A') {
        text_ = v.text.substr(0, size_t(c.size));
        data_ = text_.c_str();
    } else if (c.type == 'S' || c.type == 'L') {
        short_ = int16_t(v.number);
        data_ = &short_;
    } else if (c.type == 'I' || c.type == 'D' || c.type == 'T') {
        long_ = int32_t(v.number);
        data_ = &long_;
    } else {
        double_ = v.number;
        data_ = &double_;
    }
}
