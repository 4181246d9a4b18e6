// EDBEngineError: an engine status other than success, with the engine's texts.
#pragma once
#include "idapi.h"
#include "tables/database_error.h"
#include "tables/engine_error_report.h"
#include <vector>

class EDBEngineError : public EDatabaseError {
  public:
    // Reads the texts and the error stack of the default session's engine.
    explicit EDBEngineError(DBIResult status);
    explicit EDBEngineError(TEngineErrorReport report);

    int ErrorCount() const { return int(errors_.size()); }
    const TDBError& Errors(int index) const { return errors_.at(size_t(index)); }

  private:
    std::vector<TDBError> errors_;
};

// Raises EDBEngineError when the low 16 bits of status are not zero.
void CheckStatus(DBIResult status);
