// How an engine status becomes the message and entries of an EDBEngineError. The engine's
// texts come through a source, so the rules can be exercised without an engine.
#pragma once
#include "idapi.h"
#include <cstdint>
#include <string>
#include <vector>

struct TDBError {
    DBIResult ErrorCode;
    int32_t NativeError;
    std::string Message;
};

class TEngineErrorSource {
  public:
    virtual ~TEngineErrorSource() = default;
    virtual bool SessionStarted() const = 0;
    // The engine's text for a status.
    virtual std::string ErrorText(DBIResult status) const = 0;
    // Entry `number` (from 1) of the engine's error stack of the last failed call: its status,
    // or 0 or 0x2A06 when there is no such entry.
    virtual DBIResult ErrorEntry(uint16_t number, int32_t& nativeError,
                                 std::string& context) const = 0;
};

struct TEngineErrorReport {
    std::string Message;
    std::vector<TDBError> Errors;
};

TEngineErrorReport BuildEngineErrorReport(DBIResult status, const TEngineErrorSource& source);
