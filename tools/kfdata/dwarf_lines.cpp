#include "dwarf_lines.h"
#include "dwarf_forms.h"

namespace {

// Standard and extended opcodes and the path entry kind, from the DWARF 5 standard
// (sections 6.2.5 and 7.22).
enum : uint8_t {
    kCopy = 1,
    kAdvancePc = 2,
    kAdvanceLine = 3,
    kSetFile = 4,
    kConstAddPc = 8,
    kFixedAdvancePc = 9,
};
enum : uint8_t { kEndSequence = 1, kSetAddress = 2, kDefineFile = 3 };
constexpr uint64_t kPathContent = 1;

struct ProgramHeader {
    DwarfUnit Unit; // the version, address size and end for the entry formats
    uint8_t MinInstructionLength = 1;
    int8_t LineBase = 0;
    uint8_t LineRange = 1;
    uint8_t OpcodeBase = 1;
    std::vector<uint8_t> OpcodeLengths;
    std::vector<uint32_t> Files; // the program's file numbers → DwarfLines::Files
    size_t ProgramStart = 0;
};

struct Registers {
    uint64_t Address = 0;
    uint32_t File = 1;
    int64_t Line = 1;
};

class LineReader {
  public:
    // File 0 of the result is the empty name: rows of files that a program does not name.
    explicit LineReader(const DwarfSections& sections) : sections_(sections) { FileIndex(""); }

    void ReadProgram(size_t offset);
    DwarfLines Take() { return std::move(lines_); }

  private:
    ProgramHeader ReadHeader(DwarfCursor& in);
    uint32_t FileIndex(std::string_view path);
    void ReadOldFileEntry(DwarfCursor& in, ProgramHeader& h);
    void ReadOldTables(DwarfCursor& in, ProgramHeader& h);
    void ReadEntryTable(DwarfCursor& in, ProgramHeader& h, bool files);
    void Run(DwarfCursor& in, ProgramHeader& h);
    void RunExtended(DwarfCursor& in, ProgramHeader& h, Registers& r, DwarfSequence& sequence);
    void Emit(const ProgramHeader& h, const Registers& r, DwarfSequence& sequence) const;

    const DwarfSections& sections_;
    DwarfLines lines_;
    std::map<std::string, uint32_t, std::less<>> fileIndex_;
};

uint32_t LineReader::FileIndex(std::string_view path) {
    const size_t slash = path.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    auto found = fileIndex_.find(name);
    if (found != fileIndex_.end())
        return found->second;
    lines_.Files.emplace_back(name);
    const uint32_t index = uint32_t(lines_.Files.size() - 1);
    fileIndex_.emplace(std::string(name), index);
    return index;
}

void LineReader::ReadOldFileEntry(DwarfCursor& in, ProgramHeader& h) {
    const std::string_view name = in.CString();
    in.Uleb(); // folder
    in.Uleb(); // modification time
    in.Uleb(); // length
    h.Files.push_back(FileIndex(name));
}

// DWARF 2 to 4: folders and files as zero-terminated lists; files count from 1.
void LineReader::ReadOldTables(DwarfCursor& in, ProgramHeader& h) {
    for (std::string_view folder = in.CString(); !folder.empty(); folder = in.CString()) {
    }                     // rows need the file names alone
    h.Files.push_back(0); // file 0 is not used
    while (true) {
        DwarfCursor peek = in;
        if (peek.U8() == 0)
            break;
        ReadOldFileEntry(in, h);
    }
    in.U8();
}

// DWARF 5: self-describing folder and file tables; files count from 0.
void LineReader::ReadEntryTable(DwarfCursor& in, ProgramHeader& h, bool files) {
    std::vector<std::pair<uint64_t, uint64_t>> format(in.U8());
    for (auto& [content, form] : format) {
        content = in.Uleb();
        form = in.Uleb();
    }
    const uint64_t count = in.Uleb();
    for (uint64_t i = 0; i < count; ++i) {
        std::string_view path;
        const size_t entryStart = in.Offset();
        for (const auto& [content, form] : format) {
            const DwarfValue v = ReadValue(in, form, 0, h.Unit, sections_);
            if (content == kPathContent && v.Class == DwarfClass::String)
                path = v.Text();
        }
        // Every entry holds at least its path: one of no bytes would let a damaged count of
        // billions run on without ever reaching the end of the data.
        if (in.Offset() == entryStart)
            throw DwarfError("line table entry of no bytes");
        if (files)
            h.Files.push_back(FileIndex(path));
    }
}

ProgramHeader LineReader::ReadHeader(DwarfCursor& in) {
    ProgramHeader h;
    const uint32_t length = in.UnitLength();
    h.Unit.End = in.Offset() + length;
    h.Unit.Version = in.U16();
    if (h.Unit.Version < 2 || h.Unit.Version > 5)
        throw DwarfError("line table version " + std::to_string(h.Unit.Version) +
                         " is not supported");
    if (h.Unit.Version >= 5) {
        h.Unit.AddressSize = in.U8();
        in.U8(); // segment selector size
    }
    const uint32_t headerLength = in.U32();
    h.ProgramStart = in.Offset() + headerLength;
    h.MinInstructionLength = in.U8();
    if (h.Unit.Version >= 4)
        in.U8(); // operations per instruction: 1 on this architecture
    in.U8();     // default is_stmt: every row counts here
    h.LineBase = int8_t(in.U8());
    h.LineRange = in.U8();
    h.OpcodeBase = in.U8();
    if (h.LineRange == 0 || h.OpcodeBase == 0)
        throw DwarfError("damaged line table header");
    for (int i = 1; i < h.OpcodeBase; ++i)
        h.OpcodeLengths.push_back(in.U8());
    if (h.Unit.Version >= 5) {
        ReadEntryTable(in, h, false);
        ReadEntryTable(in, h, true);
    } else {
        ReadOldTables(in, h);
    }
    return h;
}

void LineReader::Emit(const ProgramHeader& h, const Registers& r, DwarfSequence& sequence) const {
    const uint32_t file = r.File < h.Files.size() ? h.Files[r.File] : 0;
    const uint32_t line = r.Line > 0 && r.Line <= INT32_MAX ? uint32_t(r.Line) : 0;
    sequence.Rows.push_back({uint32_t(r.Address), file, line});
}

void LineReader::RunExtended(DwarfCursor& in, ProgramHeader& h, Registers& r,
                             DwarfSequence& sequence) {
    const uint64_t length = in.Uleb();
    const size_t end = in.Offset() + size_t(length);
    if (length == 0)
        return;
    switch (in.U8()) {
    case kEndSequence:
        sequence.End = uint32_t(r.Address);
        if (!sequence.Rows.empty())
            lines_.Sequences.push_back(std::move(sequence));
        sequence = {};
        r = {};
        break;
    case kSetAddress:
        r.Address = in.Fixed(size_t(length - 1));
        break;
    case kDefineFile:
        ReadOldFileEntry(in, h);
        break;
    default:
        break;
    }
    in = DwarfCursor(sections_.Line, end);
}

void LineReader::Run(DwarfCursor& in, ProgramHeader& h) {
    Registers r;
    DwarfSequence sequence;
    while (in.Offset() < h.Unit.End) {
        const uint8_t opcode = in.U8();
        if (opcode >= h.OpcodeBase) {
            const int adjusted = opcode - h.OpcodeBase;
            r.Address += uint64_t(adjusted / h.LineRange) * h.MinInstructionLength;
            r.Line += h.LineBase + adjusted % h.LineRange;
            Emit(h, r, sequence);
            continue;
        }
        switch (opcode) {
        case 0:
            RunExtended(in, h, r, sequence);
            break;
        case kCopy:
            Emit(h, r, sequence);
            break;
        case kAdvancePc:
            r.Address += in.Uleb() * h.MinInstructionLength;
            break;
        case kAdvanceLine:
            r.Line += in.Sleb();
            break;
        case kSetFile:
            r.File = uint32_t(in.Uleb());
            break;
        case kConstAddPc:
            r.Address += uint64_t((255 - h.OpcodeBase) / h.LineRange) * h.MinInstructionLength;
            break;
        case kFixedAdvancePc:
            r.Address += in.U16();
            break;
        default: // operands we do not need, as many as the header says
            for (int i = 0; i < h.OpcodeLengths[opcode - 1]; ++i)
                in.Uleb();
            break;
        }
    }
}

void LineReader::ReadProgram(size_t offset) {
    DwarfCursor in(sections_.Line, offset);
    ProgramHeader h = ReadHeader(in);
    in = DwarfCursor(sections_.Line, h.ProgramStart);
    Run(in, h);
    lines_.ProgramFiles[offset] = std::move(h.Files);
}

} // namespace

DwarfLines ReadLines(const DwarfSections& sections) {
    LineReader reader(sections);
    ForEachUnit(sections.Line, [&](size_t offset) { reader.ReadProgram(offset); });
    return reader.Take();
}
