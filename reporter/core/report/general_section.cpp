// The general section: application, exception, user, active controls, computer, operating
// system and network, each line switched by its ReportFields bit.
#include "reporter/core/report/log_item.h"
#include "reporter/core/report/report_sections.h"
#include <vector>

namespace {

struct TGroupLayout {
    TTextId TitleText; // the labels are the texts that follow it
    std::vector<int> Bits;
};

// Privileges and Company have their bits the other way round from their lines.
const TGroupLayout kGroups[] = {
    {kTextGeneralApplication, {0, 1, 2, 3, 4, 5}},
    {kTextGeneralException, {6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
    {kTextGeneralUser, {16, 17, 18, 20, 19}},
    {kTextGeneralActiveControls, {21, 22, 23, 24}},
    {kTextGeneralComputer, {25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35}},
    {kTextGeneralOperatingSystem, {36, 37, 38, 39, 40}},
    {kTextGeneralNetwork, {41, 42, 43, 44, 45, 46}},
};
constexpr int kActiveControlsGroup = 4;

// A new report counts one occurrence and has not been looked at yet.
std::string FieldValue(const TReportData& data, const std::string& key) {
    if (const auto found = data.Fields.find(key); found != data.Fields.end())
        return found->second;
    if (key == "2.8")
        return "1";
    return key == "2.9" ? "New" : "";
}

} // namespace

std::string GeneralSection(const TVessarModuleOptions& options, const TReportData& data) {
    const uint64_t fields = options.Stored().ReportFields;
    TLogItem item;
    for (const TGroupLayout& group : kGroups) {
        item.AddGroup(options.Text(group.TitleText));
        const bool shown = item.GroupNo() != kActiveControlsGroup || data.ShowActiveControls;
        for (int bit : group.Bits) {
            const int field = item.ItemNo() + 1;
            const std::string key = std::to_string(item.GroupNo()) + "." + std::to_string(field);
            item.AddField(options.Text(group.TitleText + field), FieldValue(data, key),
                          shown && (fields >> bit & 1) != 0);
        }
    }
    return item.Render();
}
