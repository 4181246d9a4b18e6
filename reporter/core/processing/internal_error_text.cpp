#include "reporter/core/processing/internal_error_text.h"
#include "reporter/core/options/reporter_version.h"
#include "reporter/diagnostics/stack/stack_text.h"
#include "runtime/format.h"

namespace {

std::string DumpText(const std::vector<uint8_t>& bytes) {
    std::string text;
    for (uint8_t byte : bytes)
        text += Format("$%02X ", unsigned(byte));
    return text;
}

} // namespace

std::string InternalErrorText(const TInternalErrorFacts& facts) {
    return Format("Version   : %s\r\nDate      : %s\r\nOS        : %s\r\nRAD       : %s\r\n"
                  "Dump      : %s\r\nSection   : %s\r\nLastExcept: %s\r\nAddress   : %s\r\n"
                  "Exception : %s\r\nMessage   : %s\r\nCall Stack: %s",
                  kReporterVersion, facts.Date.c_str(), facts.OperatingSystem.c_str(),
                  facts.BuildTool.c_str(), DumpText(facts.Dump).c_str(), facts.Section.c_str(),
                  facts.ProcessedClass.c_str(), StackEntryText(facts.Location).c_str(),
                  facts.FailureClass.c_str(), facts.Message.c_str(),
                  facts.CallStack ? StackListText(*facts.CallStack).c_str() : "");
}
