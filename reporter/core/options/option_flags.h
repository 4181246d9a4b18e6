// The bits of the options' flag fields, each named once; code and tests test and set them by
// these names only.
#pragma once
#include <cstdint>

namespace LogFlag {
// A repeated report only raises the count of the one logged before.
constexpr uint8_t CountDuplicates = 0x01;
// The user is asked for the steps that reproduce the error, and the report gets them.
constexpr uint8_t ReproduceSection = 0x02;
// A log written by another version of the program is deleted before the report is saved.
constexpr uint8_t DeleteOnOtherVersion = 0x04;
// The computer's name goes into the log file's name.
constexpr uint8_t ComputerNameInFileName = 0x08;
constexpr uint8_t ModulesAndProcesses = 0x10;
constexpr uint8_t AssemblerAndCpu = 0x20;
} // namespace LogFlag

namespace SendFlag {
// What is sent is the whole log rather than this report.
constexpr uint16_t WholeLog = 0x0004;
constexpr uint16_t AttachXmlLogCopy = 0x0008;
constexpr uint16_t AttachScreenshot = 0x0010;
// The screenshot shows the foreground window only, not every window of the process.
constexpr uint16_t ScreenshotOfActiveWindow = 0x0020;
// A CGI program's last page travels with the report.
constexpr uint16_t AttachLastHtmlPage = 0x0040;
// The exception's date and time go into the names of the files sent.
constexpr uint16_t ExceptionTimeInFileNames = 0x0100;
// The computer's name goes into the names of the files sent (blocks before 6000 lack it).
constexpr uint16_t ComputerNameInFileNames = 0x0200;
} // namespace SendFlag

namespace BehaviourFlag {
constexpr uint16_t SuspendRuntimeThreads = 0x0001;
constexpr uint16_t SuspendNotMainThread = 0x0002; // with SuspendRuntimeThreads
constexpr uint16_t SuspendOtherThreads = 0x0004;
// The main module's options stand for those of the module that raised the exception.
constexpr uint16_t UseMainModuleOptions = 0x0008;
// A safecall exception the runtime raises again is reported again.
constexpr uint16_t SafeCallReportedAgain = 0x0040;
// The runtime's standard handler runs after the crash reporter.
constexpr uint16_t StandardHandlerAfterwards = 0x0080;
// Exceptions the program handles itself are reported at the end of their handler.
constexpr uint16_t ReportHandledExceptions = 0x0100;
} // namespace BehaviourFlag

namespace StackFlag {
// Call stacks of the runtime's threads and the main thread, and of all other threads.
constexpr uint8_t RuntimeThreads = 0x04;
constexpr uint8_t OtherThreads = 0x08;
// Set on blocks before 6000, whose stack bits meant something else.
constexpr uint8_t OldBlock = 0x10;
} // namespace StackFlag

namespace DialogFlag {
constexpr uint16_t SendChecked = 0x0001;
constexpr uint16_t ScreenshotChecked = 0x0002;
constexpr uint16_t OfferCopy = 0x0004;
// The detailed dialog's Details button; the classic dialog's link to the detailed dialog.
constexpr uint16_t ShowDetails = 0x0008;
constexpr uint16_t StartDetailed = 0x0010;
constexpr uint16_t TopMost = 0x0020;
// Caption, frame and background painted by the crash reporter; cleared inside the development
// environment.
constexpr uint16_t OwnLook = 0x0040;
// The send checkbox and the classic dialog's send button, when a delivery method is set.
constexpr uint16_t OfferSend = 0x0080;
// The screenshot checkbox, when SendFlag::AttachScreenshot is set too.
constexpr uint16_t OfferScreenshot = 0x0100;
// The Help button, which fires the custom-button event.
constexpr uint16_t ShowHelp = 0x0200;
} // namespace DialogFlag
