// The log file's text: reports one after another, each followed by at least three empty
// lines, with no other separator.
#pragma once
#include <string>
#include <vector>

// What Add puts after a report; with the line end Save adds, three empty lines follow it.
constexpr char kReportEnd[] = "\r\n\r\n\r\n";

// The reports of a log's text: each piece up to a run of four line ends (its last line's end
// and three empty lines), with its last line's end and three more. Any line ends are read;
// pieces that hold no table are not reports and are dropped.
std::vector<std::string> SplitLogText(std::string text);

// The text of the stored reports, each with one more line end; the text never ends in five.
std::string JoinLogText(const std::vector<std::string>& reports);

// Whether a stored report reads back as itself wherever it stands in a log's text: a log made
// of such reports splits into them again.
bool ReadsBackAlike(const std::string& report);
