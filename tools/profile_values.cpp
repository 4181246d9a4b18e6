#include "profile_values.h"
#include <iterator>
#include <vector>

namespace {

constexpr double kFirstDay2015 = 735599; // 2015-01-01 as a day number (0001-01-01 = 1)
constexpr unsigned kDaysTo2021 = 2192;
constexpr double kFirstDay1950 = 711858;
constexpr unsigned kBasicsPerCarrier = 7;
constexpr unsigned kFirstId = 100000;

uint64_t Mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

struct Place {
    const char* city;
    const char* state;
    const char* zip;
    const char* area;
};

const Place kPlaces[] = {
    {"Joplin", "MO", "648", "417"},      {"Laredo", "TX", "780", "956"},
    {"Gary", "IN", "464", "219"},        {"Fresno", "CA", "937", "559"},
    {"Harrisburg", "PA", "171", "717"},  {"Memphis", "TN", "381", "901"},
    {"Boise", "ID", "837", "208"},       {"Savannah", "GA", "314", "912"},
    {"Des Moines", "IA", "503", "515"},  {"Billings", "MT", "591", "406"},
    {"Toledo", "OH", "436", "419"},      {"Tulsa", "OK", "741", "918"},
    {"Reno", "NV", "895", "775"},        {"Spokane", "WA", "992", "509"},
    {"Albuquerque", "NM", "871", "505"}, {"Green Bay", "WI", "543", "920"},
};
const char* const kCompanyWords[] = {
    "Blue Ridge", "Prairie", "Summit",     "Red River",    "Great Lakes", "Pioneer",  "Eagle",
    "Heartland",  "Coastal", "Iron Horse", "Silver State", "Midwest",     "Keystone", "Lone Star"};
const char* const kCompanyKinds[] = {"Freight", "Transport", "Logistics", "Hauling",
                                     "Express", "Carriers",  "Trucking",  "Lines"};
const char* const kCompanySuffixes[] = {"LLC", "Inc", "Co", "Corp", "LP"};
const char* const kMailDomains[] = {"freightmail.com", "haulers.net", "truckline.com",
                                    "carrierdesk.com", "fleetpost.net"};
const char* const kStreets[] = {"Industrial",     "Commerce", "Depot",    "Main",
                                "Railroad",       "Mill",     "Terminal", "County Line",
                                "Old Highway 40", "Airport"};
const char* const kStreetKinds[] = {"St", "Ave", "Rd", "Blvd", "Dr", "Pkwy"};
const char* const kLastNames[] = {"Miller",    "Johnson", "Garcia",  "Nguyen",  "Smith", "Kowalski",
                                  "Hernandez", "O'Brien", "Jackson", "Schmidt", "Patel", "Young"};
const char* const kFirstNames[] = {"James", "Maria", "Robert", "Linda",  "Jose", "Darnell",
                                   "Kevin", "Tammy", "Luis",   "Sandra", "Wei",  "Travis"};
const char* const kVehicleTypes[] = {"Truck Tractor", "Straight Truck", "Semi-Trailer",
                                     "Motorcoach",    "Cargo Van",      "Pickup"};
const char* const kMakes[] = {"FRHT", "INTL", "KW", "PTRB", "VOLV", "MACK", "WSTR", "HINO"};
const char* const kViolCodes[] = {"392.2-SLLS2", "393.9",   "395.8E",  "393.47E", "396.3A1",
                                  "392.2SP",     "395.3A1", "393.75C", "391.41A", "393.100"};
const char* const kViolTexts[] = {
    "State/Local Laws - Speeding 6-10 miles per hour over the speed limit",
    "Inoperable required lamp",
    "False report of driver's record of duty status",
    "Brake connections with leaks or constrictions",
    "Inspection, repair and maintenance of parts and accessories",
    "Operating a CMV without a valid medical certificate",
    "Failure to secure load",
    "Tire - flat and/or audible air leak"};
const char* const kCounties[] = {"Jasper", "Webb",    "Lake", "Fresno",      "Dauphin", "Shelby",
                                 "Ada",    "Chatham", "Polk", "Yellowstone", "Lucas",   "Washoe"};
const char* const kWeather[] = {"No Adverse", "Rain", "Snow", "Fog", "Sleet", "Severe Wind"};
const char* const kLight[] = {"Daylight", "Dark - Lighted", "Dark - Not Lighted", "Dawn", "Dusk"};
const char* const kSurfaces[] = {"Dry", "Wet", "Snow", "Ice", "Slush", "Sand/Mud"};
const char* const kEventCodes[] = {"RO", "JK", "CT", "FR", "CMV", "PED", "FIX", "RRX"};
const char* const kEventTexts[] = {"Rollover/overturn",
                                   "Jackknife",
                                   "Collision with vehicle in transport",
                                   "Fire or explosion",
                                   "Collision with parked vehicle",
                                   "Collision with pedestrian",
                                   "Collision with fixed object",
                                   "Railway grade crossing"};
const char* const kUsers[] = {"dispatch", "safety.manager", "compliance", "owner", "clerk2"};
const char* const kVinLetters = "0123456789ABCDEFGHJKLMNPRSTUVWXYZ";

template <typename List> const char* Pick(unsigned i, const List& list) {
    return list[i % std::size(list)];
}

// Columns whose values are one of a list.
struct PickList {
    Content content;
    const char* const* items;
    size_t count;
};

template <size_t N> PickList List(Content content, const char* const (&items)[N]) {
    return {content, items, N};
}

const PickList kPickLists[] = {
    List(Content::LastName, kLastNames),
    List(Content::FirstName, kFirstNames),
    List(Content::VehicleType, kVehicleTypes),
    List(Content::Make, kMakes),
    List(Content::ViolCode, kViolCodes),
    List(Content::ViolText, kViolTexts),
    List(Content::County, kCounties),
    List(Content::Weather, kWeather),
    List(Content::Light, kLight),
    List(Content::Surface, kSurfaces),
    List(Content::EventCode, kEventCodes),
    List(Content::EventText, kEventTexts),
    List(Content::UserName, kUsers),
};

Value Text(std::string text) {
    Value v;
    v.text = std::move(text);
    return v;
}

Value Number(double n) {
    Value v;
    v.number = n;
    return v;
}

} // namespace

RowValues::RowValues(uint64_t seed, unsigned table, unsigned row, unsigned rows)
    : seed_(seed), state_(Mix(seed ^ Mix(table * 1000003ull + row))), row_(row), rows_(rows) {
    place_ = Below(unsigned(std::size(kPlaces)));
}

uint64_t RowValues::Next() {
    state_ = Mix(state_);
    return state_;
}

unsigned RowValues::Below(unsigned n) {
    return n ? unsigned(Next() % n) : 0;
}

std::string RowValues::Digits(unsigned n) {
    std::string s;
    for (unsigned i = 0; i < n; ++i)
        s += char('0' + Below(10));
    return s;
}

// Carriers are numbered in steps of 50 with a random offset: unique, and not in order.
std::string RowValues::DotOf(unsigned row) const {
    return std::to_string(1000000 + row * 50 + Mix(seed_ + row) % 50);
}

Value RowValues::Make(Content content) {
    for (const auto& list : kPickLists)
        if (list.content == content)
            return Text(list.items[Below(unsigned(list.count))]);
    const Place& place = kPlaces[place_];
    switch (content) {
    case Content::Empty: {
        Value v;
        v.empty = true;
        return v;
    }
    case Content::OwnDot:
        return Text(DotOf(row_));
    case Content::Dot:
        return Text(DotOf(Below(rows_)));
    case Content::GroupDot:
        return Text(DotOf(row_ / kBasicsPerCarrier));
    case Content::Id:
        return Number(kFirstId + row_);
    case Content::ParentId:
        return Number(kFirstId + row_ / 2);
    case Content::Seq:
        return Number(1 + row_ % 2);
    case Content::QuadId:
        return Number(kFirstId + row_ / 4);
    case Content::PairSeq:
        return Number(1 + row_ / 2 % 2);
    case Content::BasicId:
        return Number(1 + row_ % kBasicsPerCarrier);
    case Content::Company:
        return Text(std::string(Pick(Below(100), kCompanyWords)) + " " +
                    Pick(Below(100), kCompanyKinds) + " " + Pick(Below(100), kCompanySuffixes));
    case Content::Street:
        return Text(std::to_string(100 + Below(9800)) + " " + Pick(Below(100), kStreets) + " " +
                    Pick(Below(100), kStreetKinds));
    case Content::City:
        return Text(place.city);
    case Content::State:
        return Text(place.state);
    case Content::Zip:
        return Text(place.zip + Digits(2));
    case Content::Phone:
        return Text(std::string("(") + place.area + ") " + Digits(3) + "-" + Digits(4));
    case Content::Email:
        return Text("dispatch" + Digits(3) + "@" + Pick(Below(100), kMailDomains));
    case Content::Docket:
        return Text("MC" + Digits(6));
    case Content::Flag:
        return Text(Below(4) ? "N" : "Y");
    case Content::Operation:
        return Text(std::string(1, "AAAAAAABBC"[Below(10)])); // mostly for-hire carriers
    case Content::Fleet:
        return Number(1 + Below(1 + Below(500)));
    case Content::Count:
        return Number(Below(1 + Below(8)));
    case Content::Miles:
        return Number(10000 + Below(2000000));
    case Content::Rate:
        return Number(Below(1000) / 100.0);
    case Content::Percent:
        return Number(Below(10000) / 100.0);
    case Content::Date:
        return Number(kFirstDay2015 + Below(kDaysTo2021));
    case Content::BirthDate:
        return Number(kFirstDay1950 + Below(16000));
    case Content::Time:
        return Number(Below(86400) * 1000.0);
    case Content::Logical:
        return Number(Below(2));
    case Content::Level:
        return Number(1 + Below(6));
    case Content::Weight:
        return Number(1 + Below(3));
    case Content::License:
        return Text(std::string(1, char('A' + Below(26))) + Digits(8));
    case Content::UnitNumber:
        return Text("T" + Digits(4));
    case Content::Plate:
        return Text(
            std::string{char('A' + Below(26)), char('A' + Below(26)), char('A' + Below(26))} +
            Digits(4));
    case Content::Vin: {
        std::string vin;
        for (int i = 0; i < 17; ++i)
            vin += kVinLetters[Below(33)];
        return Text(vin);
    }
    case Content::BasicCode:
        return Number(1 + Below(kBasicsPerCarrier));
    case Content::Version:
        return Text("release 3." + Digits(1));
    case Content::Filler: {
        Value v = Text(Digits(4));
        v.number = Below(1000);
        return v;
    }
    default:
        return Value{}; // the pick lists
    }
}

std::vector<unsigned> WriteOrder(uint64_t seed, unsigned table, unsigned rows) {
    std::vector<unsigned> order(rows);
    for (unsigned i = 0; i < rows; ++i)
        order[i] = i;
    uint64_t state = Mix(seed * 31 + table);
    for (unsigned i = rows; i > 1; --i) {
        state = Mix(state);
        std::swap(order[i - 1], order[state % i]);
    }
    return order;
}
