#include "record_codec.h"
#include "bytes.h"
#include "status.h"
#include <cstring>

namespace pdx {

namespace {

uint64_t GetBig(const uint8_t* p, unsigned n) {
    uint64_t v = 0;
    for (unsigned i = 0; i < n; ++i)
        v = v << 8 | p[i];
    return v;
}

void PutBig(uint8_t* p, unsigned n, uint64_t v) {
    for (unsigned i = n; i-- > 0; v >>= 8)
        p[i] = uint8_t(v);
}

int64_t DecodeInteger(const uint8_t* p, unsigned n) {
    uint64_t top = uint64_t(1) << (n * 8 - 1);
    uint64_t v = GetBig(p, n) ^ top;
    return v & top ? int64_t(v) - int64_t(top << 1) : int64_t(v); // sign-extend
}

void EncodeInteger(uint8_t* p, unsigned n, int64_t v) {
    uint64_t top = uint64_t(1) << (n * 8 - 1);
    PutBig(p, n, (uint64_t(v) & ((top << 1) - 1)) ^ top);
}

double DecodeDouble(const uint8_t* p) {
    uint64_t bits = GetBig(p, 8);
    bits = bits & (uint64_t(1) << 63) ? bits ^ (uint64_t(1) << 63) : ~bits;
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
}

void EncodeDouble(uint8_t* p, double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    bits = bits & (uint64_t(1) << 63) ? ~bits : bits ^ (uint64_t(1) << 63);
    PutBig(p, 8, bits);
}

} // namespace

unsigned LogicalSize(const Field& f) {
    switch (f.type) {
    case pxAlpha:
        return f.info + 1u;
    case pxShort:
    case pxLogical:
        return 2;
    case pxDate:
    case pxLong:
    case pxTime:
    case pxAutoInc:
        return 4;
    case pxMoney:
    case pxNumber:
    case pxTimestamp:
        return 8;
    default:
        return f.StoredSize();
    }
}

bool IsBlank(const Field& f, const uint8_t* stored) {
    if (f.type == pxBcd)
        return !(stored[0] & 0x40);
    return AllZero(stored, f.StoredSize());
}

void DecodeField(const Field& f, const uint8_t* p, void* dest) {
    auto* out = static_cast<uint8_t*>(dest);
    std::memset(out, 0, LogicalSize(f));
    if (IsBlank(f, p) && f.type != pxBcd && !IsBlobType(f.type) && f.type != pxBytes)
        return;
    switch (f.type) {
    case pxAlpha:
        std::memcpy(out, p, strnlen(reinterpret_cast<const char*>(p), f.info));
        break;
    case pxShort: {
        int16_t v = int16_t(DecodeInteger(p, 2));
        std::memcpy(out, &v, 2);
        break;
    }
    case pxDate:
    case pxLong:
    case pxTime:
    case pxAutoInc: {
        int32_t v = int32_t(DecodeInteger(p, 4));
        std::memcpy(out, &v, 4);
        break;
    }
    case pxMoney:
    case pxNumber:
    case pxTimestamp: {
        double d = DecodeDouble(p);
        std::memcpy(out, &d, 8);
        break;
    }
    case pxLogical: {
        int16_t v = p[0] == 0x81;
        std::memcpy(out, &v, 2);
        break;
    }
    default:
        std::memcpy(out, p, f.StoredSize());
    }
}

void EncodeField(const Field& f, const void* src, uint8_t* p) {
    std::memset(p, 0, f.StoredSize());
    if (!src)
        return;
    const auto* in = static_cast<const uint8_t*>(src);
    switch (f.type) {
    case pxAlpha:
        std::memcpy(p, in, strnlen(reinterpret_cast<const char*>(in), f.info));
        break;
    case pxShort: {
        int16_t v;
        std::memcpy(&v, in, 2);
        if (v == INT16_MIN)
            Fail(DBIERR_INVALIDPARAM, "Field: " + f.name + " (-32768 cannot be stored)");
        EncodeInteger(p, 2, v);
        break;
    }
    case pxDate:
    case pxLong:
    case pxTime:
    case pxAutoInc: {
        int32_t v;
        std::memcpy(&v, in, 4);
        if (v == INT32_MIN)
            Fail(DBIERR_INVALIDPARAM, "Field: " + f.name + " (value cannot be stored)");
        EncodeInteger(p, 4, v);
        break;
    }
    case pxMoney:
    case pxNumber:
    case pxTimestamp: {
        double d;
        std::memcpy(&d, in, 8);
        EncodeDouble(p, d);
        break;
    }
    case pxLogical: {
        int16_t v;
        std::memcpy(&v, in, 2);
        p[0] = v ? 0x81 : 0x80;
        break;
    }
    default:
        std::memcpy(p, in, f.StoredSize());
    }
}

} // namespace pdx
