// Reads over a module's memory stop at what is readable, without a fault.
#include "reporter/diagnostics/debug_formats/module_stream.h"
#include <cstring>
#include <gtest/gtest.h>

namespace {

// One readable page followed by a reserved one.
class TTwoPages {
  public:
    TTwoPages()
        : base_(static_cast<char*>(VirtualAlloc(nullptr, 0x2000, MEM_RESERVE, PAGE_NOACCESS))) {
        VirtualAlloc(base_, 0x1000, MEM_COMMIT, PAGE_READWRITE);
    }
    ~TTwoPages() { VirtualFree(base_, 0, MEM_RELEASE); }
    char* Base() const { return base_; }
    HMODULE Module() const { return reinterpret_cast<HMODULE>(base_); }

  private:
    char* base_;
};

TEST(ModuleStream, ReadsStopAtUnreadableMemoryAndAtTheSize) {
    TTwoPages pages;
    std::memcpy(pages.Base() + 0x10, "name", 5);
    THModuleStream stream(pages.Module(), 0x1800);
    uint32_t value = 0;
    stream.Seek(0xFFC);
    EXPECT_TRUE(stream.ReadValue(value));
    EXPECT_EQ(stream.Position(), 0x1000u);
    stream.Seek(0xFFE);
    EXPECT_FALSE(stream.ReadValue(value));
    EXPECT_EQ(stream.Position(), 0xFFEu);
    std::vector<uint32_t> values;
    stream.Seek(0);
    EXPECT_FALSE(stream.ReadArray(0x40000000, values)); // more than the size: not even tried
    EXPECT_TRUE(values.empty());

    std::string text;
    stream.Seek(0x10);
    ASSERT_TRUE(stream.ReadText(text, 16));
    EXPECT_EQ(text, "name");
    EXPECT_EQ(stream.Position(), 0x15u);
    stream.Seek(0x10);
    EXPECT_FALSE(stream.ReadText(text, 3));
    // A text that runs into the reserved page never ends.
    std::memset(pages.Base() + 0xF00, 'x', 0x100);
    stream.Seek(0xF00);
    EXPECT_FALSE(stream.ReadText(text, 0x1000));
}

} // namespace
