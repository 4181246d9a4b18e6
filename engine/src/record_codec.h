// Field values between the stored form (order-preserving, big-endian) and the logical form
// callers read and write: int16/int32 for short/long/date/time/autoinc, double for number,
// money and timestamp, int16 0/1 for logical, a zero-terminated string for alpha; BCD, bytes
// and memo/BLOB fields pass their stored bytes unchanged.
#pragma once
#include "field_types.h"

namespace pdx {

// Bytes DbiGetField writes for the field.
unsigned LogicalSize(const Field& f);
bool IsBlank(const Field& f, const uint8_t* stored);
void DecodeField(const Field& f, const uint8_t* stored, void* dest);
// A null source stores NULL.
void EncodeField(const Field& f, const void* src, uint8_t* stored);

} // namespace pdx
