#include "reporter/core/options/options_block.h"
#include "reporter/core/options/module_options.h"
#include "reporter/core/options/option_flags.h"
#include "runtime/format.h"

namespace {

constexpr uint8_t kStringScramble = 0x5A;
constexpr int kFreezeInSecondsSince = 422;
constexpr int kMailMethodsSince = 450;
constexpr int kLayout6000 = 6000;
constexpr size_t kBits48Size = 6;

constexpr uint8_t kOldCpuTab = 3;
constexpr uint8_t kCpuTab = 5;
constexpr uint8_t kMailClient = 1;
constexpr uint8_t kOwnSmtpClient = 2;
constexpr uint8_t kUnhandledOnly = 2;
constexpr uint8_t kMessageBox = 2;

// ---- the forms in which the block stores values

struct Bool {
    static void Write(ByteWriter& stream, bool value) { stream.WriteU8(value ? 1 : 0); }
    static bool Read(ByteReader& stream, int) { return stream.ReadU8() != 0; }
};
struct U8 {
    static void Write(ByteWriter& stream, uint8_t value) { stream.WriteU8(value); }
    static uint8_t Read(ByteReader& stream, int) { return stream.ReadU8(); }
};
struct U16 {
    static void Write(ByteWriter& stream, uint16_t value) { stream.WriteU16(value); }
    static uint16_t Read(ByteReader& stream, int) { return stream.ReadU16(); }
};
struct I16 {
    static void Write(ByteWriter& stream, int16_t value) { stream.WriteU16(uint16_t(value)); }
    static int16_t Read(ByteReader& stream, int) { return int16_t(stream.ReadU16()); }
};
struct I32 {
    static void Write(ByteWriter& stream, int32_t value) { stream.WriteI32(value); }
    static int32_t Read(ByteReader& stream, int) { return stream.ReadI32(); }
};
struct U32 {
    static void Write(ByteWriter& stream, uint32_t value) { stream.WriteU32(value); }
    static uint32_t Read(ByteReader& stream, int) { return stream.ReadU32(); }
};
struct Bits48 {
    static void Write(ByteWriter& stream, uint64_t value) {
        stream.WriteLittleEndian(value, kBits48Size);
    }
    static uint64_t Read(ByteReader& stream, int) { return stream.ReadLittleEndian(kBits48Size); }
};
struct Str {
    static void Write(ByteWriter& stream, const std::string& value) {
        WriteBlockString(stream, value);
    }
    static std::string Read(ByteReader& stream, int) { return ReadBlockString(stream); }
};
// Blocks before 6000 held one byte.
struct Word {
    static void Write(ByteWriter& stream, uint16_t value) { stream.WriteU16(value); }
    static uint16_t Read(ByteReader& stream, int version) {
        return version >= kLayout6000 ? stream.ReadU16() : stream.ReadU8();
    }
};

// ---- what older blocks meant

template <typename T> T Keep(T value, int, const TVessarModuleOptions&) {
    return value;
}

// The CPU page moved from tab 3 to tab 5 in 6000.
uint8_t CpuTabMoved(uint8_t tab, int version, const TVessarModuleOptions&) {
    return version < kLayout6000 && tab == kOldCpuTab ? kCpuTab : tab;
}

// Before 422 the freeze time was counted in milliseconds.
int32_t FreezeInSeconds(int32_t freeze, int version, const TVessarModuleOptions&) {
    return version < kFreezeInSecondsSince ? freeze / 1000 : freeze;
}

// Before 450 the method only said "send"; the server setting (read before it) chose how.
uint8_t MailMethodChosen(uint8_t method, int version, const TVessarModuleOptions& options) {
    if (version >= kMailMethodsSince || method == 0)
        return method;
    return options.Stored().MailServer.empty() ? kMailClient : kOwnSmtpClient;
}

// Older blocks' ReportFields bits stand in positions this code does not know: every report
// field stays on, so that nothing is left out of a report.
uint64_t AllReportFields(uint64_t fields, int version, const TVessarModuleOptions&) {
    return version >= kLayout6000 ? fields : kAllReportFields;
}

// The bit that puts the computer name into file names came in 6000.
uint16_t ComputerNameBitCleared(uint16_t flags, int version, const TVessarModuleOptions&) {
    return version >= kLayout6000 ? flags : uint16_t(flags & ~SendFlag::ComputerNameInFileNames);
}

uint8_t OldStackBitSet(uint8_t flags, int version, const TVessarModuleOptions&) {
    return version >= kLayout6000 ? flags : uint8_t(flags | StackFlag::OldBlock);
}

uint16_t NoBehaviourBefore6000(uint16_t flags, int version, const TVessarModuleOptions&) {
    return version >= kLayout6000 ? flags : 0;
}

// ---- filters and texts

void WriteFilters(ByteWriter& stream, const TVessarExceptionsFilters& filters) {
    stream.WriteI32(static_cast<int32_t>(filters.Count()));
    for (size_t i = 0; i < filters.Count(); ++i) {
        const TVessarExceptionFilter& filter = filters.Items(i);
        Bool::Write(stream, filter.Enabled);
        WriteBlockString(stream, filter.ClassName);
        WriteBlockString(stream, filter.CustomMessage);
        stream.WriteU8(filter.Scope);
        stream.WriteU8(filter.Dialog);
        stream.WriteU8(filter.Handling);
        stream.WriteU8(filter.AfterAction);
    }
}

TVessarExceptionFilter ReadFilter(ByteReader& stream) {
    TVessarExceptionFilter filter;
    filter.Enabled = Bool::Read(stream, kLayout6000);
    filter.ClassName = ReadBlockString(stream);
    filter.CustomMessage = ReadBlockString(stream);
    filter.Scope = stream.ReadU8();
    filter.Dialog = stream.ReadU8();
    filter.Handling = stream.ReadU8();
    filter.AfterAction = stream.ReadU8();
    return filter;
}

// Filters before 6000 held only a class name and a message.
TVessarExceptionFilter ReadOldFilter(ByteReader& stream) {
    TVessarExceptionFilter filter;
    filter.ClassName = ReadBlockString(stream);
    filter.CustomMessage = ReadBlockString(stream);
    filter.Scope = kUnhandledOnly;
    filter.Dialog = filter.CustomMessage.empty() ? 0 : kMessageBox;
    return filter;
}

void ReadFilters(ByteReader& stream, int version, TVessarExceptionsFilters& filters) {
    int32_t count = stream.ReadI32();
    if (count < 0)
        throw EStreamReadError(Format("The options block is damaged: %d filters.", count));
    for (int32_t i = 0; i < count; ++i)
        filters.Add(version >= kLayout6000 ? ReadFilter(stream) : ReadOldFilter(stream));
}

void WriteTexts(ByteWriter& stream, const TVessarStoredOptions& o) {
    for (const std::string& text : o.Texts)
        WriteBlockString(stream, text);
}

// Older blocks are taken to hold all texts as well; one that holds fewer ends early and is
// refused rather than read into the wrong texts.
void ReadTexts(ByteReader& stream, TVessarModuleOptions& options) {
    for (int index = 0; index < kTextCount; ++index)
        options.SetText(index, ReadBlockString(stream));
}

} // namespace

void WriteBlockString(ByteWriter& stream, const std::string& text) {
    std::string stored = text;
    size_t lineBreak = text.find("\r\n");
    if (lineBreak != std::string::npos && lineBreak + 2 == text.size())
        stored.resize(lineBreak);
    stream.WriteI32(static_cast<int32_t>(stored.size()));
    for (char& c : stored)
        c = static_cast<char>(c ^ kStringScramble);
    stream.WriteBytes(stored);
}

std::string ReadBlockString(ByteReader& stream) {
    int32_t size = stream.ReadI32();
    if (size < 0)
        throw EStreamReadError(
            Format("The options block is damaged: a string of %d bytes at offset %u.", size,
                   unsigned(stream.Position() - 4)));
    std::string text = stream.ReadBytes(static_cast<size_t>(size));
    for (char& c : text)
        c = static_cast<char>(c ^ kStringScramble);
    return text;
}

// Older blocks are taken to hold the same fields in the same places, except where the format's
// history says otherwise (the conversions above).
void WriteOptionsBlock(ByteWriter& stream, const TVessarModuleOptions& options) {
#define OPTION_FIELD(Name, Type, Form, Default, Conversion, Setter)                                \
    Form::Write(stream, options.Stored().Name);
#define OPTION_OWN_FIELD(Name, Type, Form, Default, Conversion) Form::Write(stream, options.Name());
#define OPTION_FILTERS() WriteFilters(stream, options.Filters());
#define OPTION_TEXTS() WriteTexts(stream, options.Stored());
#include "reporter/core/options/option_fields.def"
}

void ReadOptionsBlock(ByteReader& stream, int version, TVessarModuleOptions& options) {
#define OPTION_FIELD(Name, Type, Form, Default, Conversion, Setter)                                \
    options.Set##Name(Conversion(Form::Read(stream, version), version, options));
#define OPTION_OWN_FIELD(Name, Type, Form, Default, Conversion)                                    \
    options.Set##Name(Conversion(Form::Read(stream, version), version, options));
#define OPTION_FILTERS() ReadFilters(stream, version, options.Filters());
#define OPTION_TEXTS() ReadTexts(stream, options);
#include "reporter/core/options/option_fields.def"
}
