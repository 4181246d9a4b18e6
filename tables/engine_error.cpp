#include "tables/engine_error.h"
#include "tables/bde.h"
#include "tables/session.h"
#include <cstring>

namespace {

// Engines write at most DBIMAXMSGLEN characters; the room beyond keeps a careless one from
// writing past the buffer.
constexpr size_t kTextRoom = 1024;

class LiveEngine : public TEngineErrorSource {
  public:
    bool SessionStarted() const override { return Session && Session->Active(); }

    std::string ErrorText(DBIResult status) const override {
        char text[kTextRoom] = {};
        bde::DbiGetErrorString(status, text);
        return std::string(text, strnlen(text, kTextRoom - 1));
    }

    DBIResult ErrorEntry(uint16_t number, int32_t& nativeError,
                         std::string& context) const override {
        char text[kTextRoom] = {};
        uint32_t native = 0;
        DBIResult status = bde::DbiGetErrorEntry(number, &native, text);
        nativeError = int32_t(native);
        context.assign(text, strnlen(text, kTextRoom - 1));
        return status;
    }
};

} // namespace

EDBEngineError::EDBEngineError(DBIResult status)
    : EDBEngineError(BuildEngineErrorReport(status, LiveEngine())) {}

EDBEngineError::EDBEngineError(TEngineErrorReport report)
    : EDatabaseError(std::move(report.Message)), errors_(std::move(report.Errors)) {}

void CheckStatus(DBIResult status) {
    if (DbiStatus16(status))
        throw EDBEngineError(DbiStatus16(status));
}
