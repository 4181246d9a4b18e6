// The files that go with a report, packed into the one archive the delivery methods attach.
#pragma once
#include "reporter/core/options/module_options.h"
#include <functional>
#include <string>
#include <vector>

// Each listed file that exists, in list order, as an entry named by its bare file name. An
// empty list makes no archive. Returns the files that could not be read whole (locked, or
// changed while read): they are left out, the others packed.
std::vector<std::string> PackFiles(const std::string& archivePath, const std::string& password,
                                   const std::vector<std::string>& files);

struct TPackingRequest {
    const TVessarModuleOptions* Options = nullptr;
    std::string LogFileName;     // the log file; its copy and XML copy are in the temporary folder
    bool IncludeLogCopy = false; // mail passes true: the copy is then left out with
                                 // AppendReportToMail
    bool ScreenshotTaken = false;
    bool LastPageRecorded = false;
    // Lets the application add or remove files before they are looked for.
    std::function<void(std::vector<std::string>&)> AskApplication;
    // Told of each file that is missing or cannot be read, and is left out.
    std::function<void(const std::string& file, const std::string& why)> Skipped;
};

// The candidate files (those the options name, the log copy, screenshot, last page, XML copy),
// expanded, offered to the application, packed into the archive in the temporary folder;
// returns the archive's path as the only attachment.
std::vector<std::string> PrepareAttachments(const TPackingRequest& request);
