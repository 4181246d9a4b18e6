#include "tests/reporter/processing/section_faults.h"
#include "reporter/core/processing/debugger_output.h"
#include "runtime/exception.h"
#include "tests/reporter/support/debugger_attached.h"
#include "tests/reporter/support/message_box_answer.h"
#include <atomic>
#include <cstdio>
#include <string>

namespace {

constexpr TSection kEverySection[] = {TSection::Start,          TSection::ChooseModule,
                                      TSection::Filter,         TSection::MatchFilter,
                                      TSection::Handling,       TSection::TraceStacks,
                                      TSection::SuspendThreads, TSection::BuildReport,
                                      TSection::DuplicateCheck, TSection::EnvironmentVariables,
                                      TSection::CustomData,     TSection::CountException,
                                      TSection::ChooseDialog,   TSection::BeforeDialog,
                                      TSection::ShowDialog,     TSection::AfterDialog,
                                      TSection::SaveLog,        TSection::SendAndBurst,
                                      TSection::Finish,         TSection::EndApplication};
constexpr char kAskCaption[] = "Probably internal bug";

std::atomic<int> failingSection{0};
std::atomic<TFaultKind> failingKind{TFaultKind::AccessViolation};
std::string lastLine;

const char* KindName(TFaultKind kind) {
    return kind == TFaultKind::Throw ? "throw" : "access violation";
}

void Fail(TSection section) {
    if (int(section) != failingSection)
        return;
    if (failingKind == TFaultKind::Throw)
        throw Exception("failed on purpose");
    volatile int* volatile nowhere = nullptr;
    *nowhere = 0;
}

void SayLine(const std::string& line) {
    lastLine = line;
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
}

} // namespace

void FailInSection(TSection section, TFaultKind kind) {
    failingSection = int(section);
    failingKind = kind;
    SetSectionProbe(Fail);
    SetDebuggerOutput(SayLine);
}

void FailInEverySection(void (*raise)(const char* message)) {
    const TDebuggerAttached debugger;
    for (TSection section : kEverySection)
        for (TFaultKind kind : {TFaultKind::AccessViolation, TFaultKind::Throw}) {
            lastLine = "nothing";
            FailInSection(section, kind);
            {
                // Shown when the path could save its text; the program's run goes on.
                const TMessageBoxAnswer answer(kAskCaption, IDNO);
                raise("failing on purpose");
            }
            std::printf("%s in %d: %s\n", KindName(kind), int(section), lastLine.c_str());
            std::fflush(stdout);
        }
    SetSectionProbe(nullptr);
    raise("reported after the failures");
}
