// A numbered section of the report: groups of "key label: value" lines whose colons line up
// within each group.
#pragma once
#include <string>
#include <vector>

// The lines a field value is written as. A value of one line stays as it is; in a longer one
// ": " becomes ":_" (only the label's colon may read as one), blank lines become "." (a blank
// line ends the group) and every line after the first starts with a blank.
std::vector<std::string> FieldValueLines(const std::string& value);

class TLogItem {
  public:
    // Groups are numbered from `firstGroup` + 1, so that a section can follow another.
    explicit TLogItem(int firstGroup = 0) : firstGroup_(firstGroup), groupNo_(firstGroup) {}

    int FirstGroup() const { return firstGroup_; }
    int GroupNo() const { return groupNo_; }
    int ItemNo() const { return itemNo_; }
    const std::string& Body() const { return body_; }

    void AddGroup(const std::string& title);
    // The field is numbered even when it is left out, so every field keeps its key.
    void AddField(const std::string& label, const std::string& value, bool include = true);

    // The body without its empty groups, each group's colons in one column and its title
    // underlined as wide as its longest field line. Lines end in CR LF but the last.
    std::string Render() const;

  private:
    int firstGroup_;
    int groupNo_;
    int itemNo_ = 0;
    std::string body_;
};
