#include "table_fixture.h"
#include "reporter/base/cipher_key.h"
#include "reporter/diagnostics/debug_formats/line_table_lookup.h"
#include "reporter/diagnostics/debug_formats/module_password.h"
#include <algorithm>

TRecords& TRecords::Byte(uint8_t value) {
    out_.WriteU8(value);
    return *this;
}

TRecords& TRecords::Word(uint16_t value) {
    out_.WriteU16(value);
    return *this;
}

TRecords& TRecords::Long(uint32_t value) {
    out_.WriteU32(value);
    return *this;
}

TRecords& TRecords::Name(const std::string& stored) {
    out_.WriteU8(uint8_t(stored.size()));
    out_.WriteBytes(stored);
    return *this;
}

TRecords& TRecords::NamePart(const std::string& stored) {
    out_.WriteU8(uint8_t(0x80 | stored.size()));
    out_.WriteBytes(stored);
    return *this;
}

TRecords& TRecords::Raw(const std::string& bytes) {
    out_.WriteBytes(bytes);
    return *this;
}

// Code that begins with neither a stack frame nor a saved EBX: "nop".
TTableFixture::TTableFixture() : code_(kCodeSize, 0x90) {}

void TTableFixture::AddUnit(const std::string& storedName, uint32_t firstLine, uint32_t start,
                            uint32_t size, const TRecords& records) {
    ++units_;
    table_.WriteU8(uint8_t(storedName.size()));
    table_.WriteBytes(storedName);
    table_.WriteU32(firstLine);
    table_.WriteU32(start);
    table_.WriteU32(size);
    table_.WriteU32(uint32_t(records.Bytes().size()));
    table_.WriteBytes(std::string(records.Bytes().begin(), records.Bytes().end()));
}

TVessarModuleInfo TTableFixture::Module(int version, const std::string& leadingBlock) const {
    TVessarModuleInfo module;
    module.Handle = reinterpret_cast<HMODULE>(uintptr_t(code_.data()) - 0x1000);
    module.DebugDataVersion = uint16_t(version);
    ByteWriter table;
    if (!leadingBlock.empty()) {
        table.WriteU32(uint32_t(leadingBlock.size()));
        table.WriteBytes(leadingBlock);
    }
    table.WriteU32(units_);
    table.WriteBytes(std::string(table_.Data().begin(), table_.Data().end()));
    module.LineTable = table.Data();
    SetModulePassword(module, "");
    return module;
}

void TTableFixture::SetCode(uint32_t offset, const std::vector<uint8_t>& bytes) {
    std::copy(bytes.begin(), bytes.end(), code_.begin() + offset);
}

std::string Stored(const std::string& text, const std::string& password) {
    std::string bytes = text;
    TBlockCipher(CipherKeyFromPassword(password))
        .EncryptBuffer(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size());
    return bytes;
}

TVessarDebugInfo LocateOffset(const TVessarModuleInfo& module, const TTableFixture& fixture,
                              uint32_t offset) {
    TVessarDebugInfo info;
    LocateInLineTable(module, fixture.Address(offset), info);
    return info;
}
