// The name under which a file reaches whoever receives a report.
#pragma once
#include <cstdint>
#include <string>
#include <windows.h>

struct TAttachmentNaming {
    uint16_t SendFlags = 0;
    std::string ComputerName;   // as the system reports it
    SYSTEMTIME ExceptionTime{}; // local time
};

// The bare file name of `path`; before its extension "__" and the computer name when SendFlags
// has 0x0200, then "__" and the exception's time as yyyymmddhhnnss when it has 0x0100.
std::string AttachmentName(const std::string& path, const TAttachmentNaming& naming);
