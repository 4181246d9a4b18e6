// Base64 with the standard alphabet and "=" padding, without line breaks: callers that need
// lines cut the text themselves.
#pragma once
#include <string>
#include <string_view>

// Four characters for every three bytes, the last group padded.
std::string Base64Encode(std::string_view bytes);

// Empty unless the text's length is a positive multiple of 4. Characters outside the alphabet
// count as zero bits.
std::string Base64Decode(std::string_view text);
