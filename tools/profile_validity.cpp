#include "profile_validity.h"
#include "header_layout.h"
#include <fstream>
#include <iterator>
#include <vector>

namespace {

// Digits only, any number of them.
constexpr char kPicture[] = "*#";
// The original engine leaves pointers of its memory where a part of a check is present; any
// value but 0 says the same.
constexpr uint32_t kPresent = 1;

std::string StemOf(const std::string& table) {
    return table.substr(0, table.find_last_of('.'));
}

} // namespace

bool WriteOldValidity(const std::string& folder, const char* table) {
    using namespace pdx;
    std::ifstream db(folder + "\\" + table, std::ios::binary);
    std::vector<uint8_t> header(hdr::kFixedPartEnd);
    if (!db.read(reinterpret_cast<char*>(header.data()), std::streamsize(header.size())))
        return false;

    std::vector<uint8_t> val(validity::kEntriesStart + validity::kCheckFixedPart + sizeof kPicture);
    Put(val.data(), validity::kStamp, Get(header.data(), hdr::kChangeCount2));
    Put(val.data(), validity::kVersion, validity::kEra3Version);
    Put(val.data(), validity::kCheckCount, 1);
    uint8_t* check = val.data() + validity::kEntriesStart;
    Put(check, validity::kCheckField, 0);
    Put(check, validity::kCheckPictureLength, sizeof kPicture);
    Put(check, validity::kCheckPicture, kPresent);
    std::copy(std::begin(kPicture), std::end(kPicture), check + validity::kCheckFixedPart);

    std::ofstream out(folder + "\\" + StemOf(table) + ".VAL", std::ios::binary);
    out.write(reinterpret_cast<const char*>(val.data()), std::streamsize(val.size()));
    return bool(out.flush());
}
