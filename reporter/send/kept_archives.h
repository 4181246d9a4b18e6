// Archives whose delivery failed, kept beside the log so that the report is not lost.
#pragma once
#include "reporter/send/attachment_name.h"
#include <string>

constexpr size_t kKeptArchivesLimit = 10;

// Moves `archivePath` into `logFolder` under its attachment name (made unique when a kept
// archive of that name exists) and deletes the oldest kept archives beyond the limit. Only the
// crash reporter's own archives (named like the archive) are counted and deleted, never other
// ZIP files of that folder. Returns the kept archive's path, empty when it could not be moved.
std::string KeepFailedArchive(const std::string& archivePath, const std::string& logFolder,
                              const TAttachmentNaming& naming);
