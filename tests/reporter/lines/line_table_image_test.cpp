// This program's own line table, written by the build step from its DWARF data (one of the
// chain's files is compiled as DWARF 5) with a password: its call chain is located level by
// level, its crash reporter code shows no more than the module.
#include "call_chain.h"
#include "reporter/diagnostics/debug_formats/hidden_units.h"
#include "reporter/diagnostics/debug_formats/locate_address.h"
#include "reporter/diagnostics/lists/modules_list.h"
#include <cstring>
#include <gtest/gtest.h>

namespace {

TVessarDebugInfo Located(const void* address) {
    TVessarDebugInfo info;
    EXPECT_TRUE(LocateAddress(address, info));
    return info;
}

// The call instruction ends where the return address points.
const void* CallBefore(const void* returnAddress) {
    return static_cast<const uint8_t*>(returnAddress) - 1;
}

template <class F> const void* CodeOf(F function) {
    const void* address;
    std::memcpy(&address, &function, sizeof address); // a non-virtual member's code comes first
    return address;
}

class ImageLineTable : public testing::Test {
  protected:
    void SetUp() override {
        ModulesList().SetPassword(GetModuleHandleA(nullptr), LINE_TABLE_PASSWORD);
    }
};

TEST_F(ImageLineTable, CallChainIsLocatedLevelByLevel) {
    TChainTrace trace;
    ChainStart(trace);
    ASSERT_EQ(trace.ReturnAddresses.size(), 4u);
    ASSERT_EQ(trace.CallLines.size(), 4u);
    const struct {
        const void* code;
        const char* unit;
        const char* className;
        const char* procedure;
        int firstLine;
    } callers[] = {
        {CodeOf(&ChainStart), "call_chain_start.cpp", "", "ChainStart", kChainStartLine},
        {CodeOf(&ChainMiddle), "call_chain_middle.cpp", "", "ChainMiddle", kChainMiddleLine},
        {CodeOf(&TChainWorker::Step), "call_chain_worker.cpp", "TChainWorker", "Step", kStepLine},
        {CodeOf(&chain::Deeper), "call_chain_middle.cpp", "", "chain::Deeper", kDeeperLine},
    };
    for (size_t level = 0; level < std::size(callers); ++level) {
        const auto& c = callers[level];
        SCOPED_TRACE(c.procedure);
        const TVessarDebugInfo call = Located(CallBefore(trace.ReturnAddresses[level]));
        EXPECT_EQ(call.Detail, kDetailLine);
        ASSERT_NE(call.Module, nullptr);
        EXPECT_EQ(call.Module->Handle, GetModuleHandleA(nullptr));
        EXPECT_EQ(call.Unit, c.unit);
        EXPECT_EQ(call.ClassName, c.className);
        EXPECT_EQ(call.Procedure, c.procedure);
        EXPECT_EQ(call.Line, trace.CallLines[level]);

        const TVessarDebugInfo entry = Located(c.code);
        EXPECT_EQ(entry.Procedure, c.procedure);
        EXPECT_EQ(entry.Line, c.firstLine);
        EXPECT_EQ(call.ProcLine - entry.ProcLine, call.Line - entry.Line);
    }
    const TVessarDebugInfo last = Located(CodeOf(&ChainEnd));
    EXPECT_EQ(last.Unit, "call_chain_start.cpp");
    EXPECT_EQ(last.Procedure, "ChainEnd");
    EXPECT_EQ(last.Line, kChainEndLine);
}

TEST_F(ImageLineTable, ReporterCodeShowsTheModuleAlone) {
    const void* reporterCode = CodeOf(&LocateAddress);
    const TVessarDebugInfo hidden = Located(reporterCode);
    EXPECT_EQ(hidden.Detail, kDetailModule);
    EXPECT_EQ(hidden.Module->Handle, GetModuleHandleA(nullptr));
    EXPECT_TRUE(hidden.Unit.empty() && hidden.Procedure.empty());

    SetReportingOwnFailure(true);
    const TVessarDebugInfo shown = Located(reporterCode);
    SetReportingOwnFailure(false);
    EXPECT_EQ(shown.Detail, kDetailLine);
    EXPECT_EQ(shown.Unit, "locate_address.cpp");
    EXPECT_EQ(shown.Procedure, "LocateAddress");
}

TEST(ImageLineTablePassword, NamesNeedTheBuildPassword) {
    HMODULE self = GetModuleHandleA(nullptr);
    ModulesList().SetPassword(self, "not it");
    const TVessarDebugInfo enciphered = Located(CodeOf(&ChainStart));
    EXPECT_FALSE(ModulesList().ModuleOf(self)->PasswordFits);
    EXPECT_EQ(enciphered.Detail, kDetailLine);
    EXPECT_EQ(enciphered.Unit.substr(0, 2), "?p");
    EXPECT_EQ(enciphered.Procedure.substr(0, 1), "?");

    ModulesList().SetPassword(self, LINE_TABLE_PASSWORD);
    EXPECT_EQ(Located(CodeOf(&ChainStart)).Procedure, "ChainStart");
}

} // namespace
