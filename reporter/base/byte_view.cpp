#include "reporter/base/byte_view.h"
#include "runtime/format.h"

std::string_view TByteView::Text(size_t at, size_t count) const {
    Require(at, count);
    return {reinterpret_cast<const char*>(data_ + at), count};
}

TByteView TByteView::Part(size_t at, size_t count) const {
    Require(at, count);
    return {data_ + at, count};
}

uint32_t TByteView::Value(size_t at, size_t count) const {
    Require(at, count);
    uint32_t value = 0;
    for (size_t i = 0; i < count; ++i)
        value |= uint32_t{data_[at + i]} << (8 * i);
    return value;
}

void TByteView::Require(size_t at, size_t count) const {
    if (!Has(at, count))
        throw EStreamReadError(Format("The data ends early: %u bytes needed at offset %u of %u.",
                                      unsigned(count), unsigned(at), unsigned(size_)));
}
