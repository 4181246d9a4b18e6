// The XML writer: self-closed and one-line elements, nested indentation, attribute escaping.
#include "reporter/base/xml_item.h"
#include <gtest/gtest.h>
#include <string>

namespace {

TEST(XMLItem, AnEmptyElementClosesItselfOnOneLine) {
    TXMLItem item("entry");
    EXPECT_EQ(item.AsText(), "<entry/>\r\n");
    item.AddAttribute("id", "7");
    item.AddAttribute("kind", "error");
    EXPECT_EQ(item.AsText(), "<entry id=\"7\" kind=\"error\"/>\r\n");
}

TEST(XMLItem, AChildlessElementWithContentTakesOneLineAndKeepsTheContentAsItIs) {
    TXMLItem item("text");
    item.SetContent("a & <b>");
    EXPECT_EQ(item.AsText(), "<text>a & <b></text>\r\n");
}

TEST(XMLItem, ChildrenFollowInOrderIndentedTwoSpacesPerLevel) {
    TXMLItem root("log");
    root.SetContent("head");
    TXMLItem& first = root.AddChild("entry");
    first.AddChild("stack").SetContent("x");
    root.AddChild("end");
    EXPECT_EQ(root.AsText(), "<log>head\r\n"
                             "  <entry>\r\n"
                             "    <stack>x</stack>\r\n"
                             "  </entry>\r\n"
                             "  <end/>\r\n"
                             "</log>\r\n");
    EXPECT_EQ(first.Parent(), &root);
    EXPECT_EQ(first.Children().front()->Parent(), &first);
}

TEST(XMLItem, RenderAppendsToWhatTheTextAlreadyHolds) {
    std::string out = "<?xml?>\r\n";
    TXMLItem("a").Render(out);
    EXPECT_EQ(out, "<?xml?>\r\n<a/>\r\n");
}

TEST(XMLItem, AttributeValuesEscapeControlsHighBytesAndMarkupAsThreeDigitReferences) {
    const std::pair<std::string, std::string> cases[] = {
        {"fish & chips", "fish &#038; chips"},
        {"caf\xE9", "caf&#233;"},
        {"a\nb", "a&#010;b"},
        {std::string("\0\x1F\x7F\xFF", 4), "&#000;&#031;&#127;&#255;"},
        {"\"'<>", "&#034;&#039;&#060;&#062;"},
        {" ~plain/text=1;", " ~plain/text=1;"},
    };
    for (const auto& [value, escaped] : cases) {
        TXMLItem item("e");
        item.AddAttribute("v", value);
        EXPECT_EQ(item.AsText(), "<e v=\"" + escaped + "\"/>\r\n") << value;
    }
}

} // namespace
