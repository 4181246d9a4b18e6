#include "reporter/core/processing/error_id.h"
#include "reporter/base/crc16.h"
#include "runtime/format.h"

std::string ErrorId(const std::string& application, const std::string& exceptionModule,
                    const std::string& className, const TVessarStackList* stack) {
    std::string text = application + exceptionModule + className;
    if (stack && stack->Count()) {
        const TModuleRef& module = (*stack)[0].Module;
        for (size_t i = 0; i < stack->Count(); ++i) {
            const TVessarDebugInfo& entry = (*stack)[i];
            if (entry.Detail == kDetailLine && entry.Module == module)
                text += entry.Unit + entry.ClassName + entry.Procedure + std::to_string(entry.Line);
        }
    }
    return Format("%.4X", unsigned(Crc16(text)));
}
