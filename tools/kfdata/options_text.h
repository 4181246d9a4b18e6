// The crash reporter's options as developers write them: a text file with one Name=value per
// option (field names of the options object), "Text.<index>=value" for the texts, and a
// "[Filter]" section per exception filter with its own Name=value lines, after the options and
// in the order the filters are tried. Lines starting with
// "#" or ";" and blank lines are ignored. Numbers are decimal or 0x-hexadecimal, switches 0/1
// (or false/true); in text values \r, \n, \t and \\ stand for CR, LF, tab and a backslash.
#pragma once
#include "reporter/core/options/module_options.h"
#include <stdexcept>
#include <string>

// A line the reader does not accept; the message names the file and line.
class OptionsTextError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Applies the file's settings to `options`, which keep their defaults for everything else.
void ReadOptionsText(const std::string& fileName, TVessarModuleOptions& options);
void ApplyOptionsText(std::istream& text, const std::string& fileName,
                      TVessarModuleOptions& options);
