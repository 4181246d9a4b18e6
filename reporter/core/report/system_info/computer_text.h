// How the computer's values are written: amounts, the processor, the video card.
#pragma once
#include <cstdint>
#include <string>

// Whole megabytes, rounded: "3584 Mb".
std::string MegabytesText(uint64_t bytes);
// Gigabytes with up to two decimals and no trailing zeros: "11.5 Gb", "2 Gb".
std::string GigabytesText(uint64_t bytes);
// "C:\" for "C:\dir\file"; "\\server\share\" for a network path; empty when it has no drive.
std::string DriveRootOf(const std::string& path);
// The processor's own name, else "vendor - identifier", else "Unknown processor".
std::string ProcessorText(const std::string& name, const std::string& vendor,
                          const std::string& identifier);
// "adapter (driver 1.2 - RAM 256 MB)", without the RAM part when the size is unknown (0);
// empty without an adapter.
std::string VideoCardText(const std::string& adapter, const std::string& driverVersion,
                          uint32_t memoryBytes);
// The registry path in a device-map entry ("\Registry\Machine\System\...") from its "\System"
// on, as a key under the local machine; empty when it names none.
std::string DeviceMapKey(const std::string& entry);
