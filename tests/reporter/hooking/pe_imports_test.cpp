#include "reporter/core/interception/hooking/pe_imports.h"
#include <gtest/gtest.h>
#include <windows.h>

namespace {

// A header-only image: a DOS header pointing to NT headers with an empty import directory.
struct TFakeImage {
    IMAGE_DOS_HEADER Dos{};
    IMAGE_NT_HEADERS32 Nt{};

    TFakeImage() {
        Dos.e_magic = IMAGE_DOS_SIGNATURE;
        Dos.e_lfanew = offsetof(TFakeImage, Nt);
        Nt.Signature = IMAGE_NT_SIGNATURE;
        Nt.OptionalHeader.NumberOfRvaAndSizes = IMAGE_NUMBEROF_DIRECTORY_ENTRIES;
    }
};

TEST(ImportEntries, ImageWithoutHeadersOrImportDirectoryHasNone) {
    TFakeImage noImports, noDosSignature, noPeSignature;
    noDosSignature.Dos.e_magic = 0;
    noPeSignature.Nt.Signature = 0;
    for (const TFakeImage* image : {&noImports, &noDosSignature, &noPeSignature})
        EXPECT_FALSE(ImportEntries(image, "kernel32.dll").has_value());
}

TEST(ImportEntries, DescriptorsAreMatchedWithoutRegardToCase) {
    const HMODULE executable = GetModuleHandleA(nullptr);
    const auto kernel32 = ImportEntries(executable, "kernel32.DLL");
    ASSERT_TRUE(kernel32.has_value());
    EXPECT_FALSE(kernel32->empty());
    const auto absent = ImportEntries(executable, "kernel32");
    ASSERT_TRUE(absent.has_value());
    EXPECT_TRUE(absent->empty());
}

} // namespace
