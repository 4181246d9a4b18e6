// Base64 against the RFC 4648 vectors, and the decoder's length rules.
#include "reporter/base/base64.h"
#include <gtest/gtest.h>
#include <string>

namespace {

struct Vector {
    std::string bytes;
    std::string text;
};

const Vector kRfc4648Vectors[] = {
    {"", ""},
    {"f", "Zg=="},
    {"fo", "Zm8="},
    {"foo", "Zm9v"},
    {"foob", "Zm9vYg=="},
    {"fooba", "Zm9vYmE="},
    {"foobar", "Zm9vYmFy"},
};

TEST(Base64, EncodesAndDecodesTheRfc4648Vectors) {
    for (const Vector& vector : kRfc4648Vectors) {
        EXPECT_EQ(Base64Encode(vector.bytes), vector.text) << vector.bytes;
        EXPECT_EQ(Base64Decode(vector.text), vector.bytes) << vector.text;
    }
}

TEST(Base64, RoundTripsEveryByteValue) {
    std::string bytes;
    for (int value = 0; value < 256; ++value)
        bytes += char(value);
    const std::string text = Base64Encode(bytes);
    EXPECT_EQ(text.size(), 344u);
    EXPECT_EQ(text.substr(0, 8), "AAECAwQF");
    EXPECT_EQ(text.substr(text.size() - 8), "/P3+/w==");
    EXPECT_EQ(Base64Decode(text), bytes);
}

TEST(Base64, DecodesNothingUnlessTheLengthIsAPositiveMultipleOfFour) {
    for (const char* text : {"", "Z", "Zg=", "Zm9vY", "Zm9vYmFy="})
        EXPECT_EQ(Base64Decode(text), "") << text;
}

TEST(Base64, PaddingShortensTheLastGroup) {
    EXPECT_EQ(Base64Decode("AAAAAA==").size(), 4u);
    EXPECT_EQ(Base64Decode("AAAAAAA=").size(), 5u);
    EXPECT_EQ(Base64Decode("AAAAAAAA").size(), 6u);
}

} // namespace
