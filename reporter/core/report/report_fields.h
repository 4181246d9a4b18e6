// Reading and changing the numbered field lines of a stored report's general part.
#pragma once
#include <string>

// The value of field `key` ("2.8"), continuation lines joined by CR LF; empty when missing.
std::string ReportFieldValue(const std::string& report, const std::string& key);

// Whether field `key` holds `value`, written as a field value would be.
bool HasFieldValue(const std::string& report, const std::string& key, const std::string& value);

// `report` with the value of field `key` replaced. A missing field is added after the last
// field of its group, labelled `label` and aligned with the group's colons; a report without
// that group stays as it is.
std::string WithFieldValue(const std::string& report, const std::string& key,
                           const std::string& value, const std::string& label);
