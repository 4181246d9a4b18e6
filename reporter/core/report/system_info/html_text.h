// Report text put into an HTML page.
#pragma once
#include <string>

// Markup characters as entities, runs of two blanks as two "&nbsp;", CR LF as "<br>" + CR LF.
std::string HtmlEscaped(const std::string& text);
