#include "reporter/core/processing/processing_services.h"
#include "reporter/core/interception/current_exception.h"
#include "reporter/core/interception/freeze_watch.h"
#include "reporter/core/interception/hooking/unit_step.h"
#include "reporter/core/options/reporter_options_unit.h"
#include "reporter/core/processing/application_end.h"
#include "reporter/core/processing/freeze_thread.h"
#include "reporter/core/processing/internal_error.h"

namespace {

// Called from inside the failing step's handler.
void ReportFailedStep(const char* step) {
    ReportInternalErrorAtLastRaise(step, HandledException());
}

} // namespace

void StartProcessingServices() {
    SetInternalErrorHandler(ReportFailedStep);
    RecordStartDirectory();
    SetFreezeWatch(StartFreezeWatch, StopFreezeWatch);
    const TVessarModuleOptionsEx& options = CurrentVessarionOptions();
    if (options.Enabled() && options.FreezeCheck())
        StartFreezeWatch();
}

// The internal-error handler stays: the shut-down steps that follow may still fail.
void StopProcessingServices() {
    SetFreezeWatch(nullptr, nullptr);
    StopFreezeWatch();
}
