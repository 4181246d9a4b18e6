#include "reporter/diagnostics/debug_formats/gnu_map_parser.h"
#include "reporter/diagnostics/debug_formats/map_cursor.h"

namespace {

constexpr std::string_view kMemoryMap = "Linker script and memory map";
constexpr uint16_t kCodeSegment = 1;

// "dir/libx.a(member.o)" gives "member", "dir/unit.cpp.obj" gives "unit.cpp".
std::string_view UnitOfObject(std::string_view path) {
    path = path.substr(0, path.find_last_not_of(" \t\r") + 1);
    const size_t open = path.rfind('(');
    if (!path.empty() && path.back() == ')' && open != std::string_view::npos)
        path = path.substr(open + 1, path.size() - open - 2);
    const size_t folder = path.find_last_of("/\\");
    if (folder != std::string_view::npos)
        path = path.substr(folder + 1);
    return path.substr(0, path.rfind('.'));
}

class TGnuMapReader {
  public:
    explicit TGnuMapReader(TKFMapItems& items) : items_(items) {}

    void ReadLine(std::string_view line) {
        if (!line.empty() && line[0] != ' ' && line[0] != '\r') {
            OpenOutputSection(line);
            return;
        }
        if (!inCode_)
            return;
        TMapCursor row(line);
        row.SkipBlanks();
        if (row.Rest().starts_with(".")) {
            row.ReadWord();
            row.SkipBlanks();
            // A long section name stands alone; its address, size and object follow below.
            waitingForSection_ = row.AtEnd();
            if (!waitingForSection_)
                ReadInputSection(row);
        } else if (row.Rest().starts_with("0x")) {
            if (waitingForSection_)
                ReadInputSection(row);
            else
                ReadSymbol(row);
            waitingForSection_ = false;
        } else {
            waitingForSection_ = false;
        }
    }

  private:
    // ".text           0x66281000     0x1600"; any other output section ends the code.
    void OpenOutputSection(std::string_view line) {
        TMapCursor row(line);
        inCode_ = row.ReadWord() == ".text";
        row.SkipBlanks();
        inCode_ = inCode_ && row.ReadPrefixedHex(codeStart_);
        waitingForSection_ = false;
    }

    // " .text          0x662814b0       0x20 /tmp/ccCdmdWj.o"
    void ReadInputSection(TMapCursor& row) {
        uint32_t address = 0;
        uint32_t size = 0;
        if (!row.ReadPrefixedHex(address))
            return;
        row.SkipBlanks();
        if (row.ReadPrefixedHex(size) && size != 0 && address >= codeStart_) {
            row.SkipBlanks();
            items_.SegmentItem(kCodeSegment, address - codeStart_, size, UnitOfObject(row.Rest()));
        }
    }

    // "                0x662814ba                ns::K::Beta(int)"; assignments are skipped.
    void ReadSymbol(TMapCursor& row) {
        uint32_t address = 0;
        if (!row.ReadPrefixedHex(address) || address < codeStart_)
            return;
        row.SkipBlanks();
        const std::string_view name = row.Rest();
        if (!name.empty() && name.find(" = ") == std::string_view::npos &&
            !name.starts_with("PROVIDE"))
            items_.PublicByValueItem(kCodeSegment, address - codeStart_, name);
    }

    TKFMapItems& items_;
    bool inCode_ = false;
    bool waitingForSection_ = false;
    uint32_t codeStart_ = 0;
};

} // namespace

bool ParseGnuMap(std::string_view text, TKFMapItems& items) {
    const size_t map = text.find(kMemoryMap);
    if (map == std::string_view::npos)
        return false;
    TGnuMapReader reader(items);
    ForEachLine(text.substr(map), [&](std::string_view line) { reader.ReadLine(line); });
    return true;
}
