#include "reporter/base/xml_item.h"
#include <cstdio>

namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr char kIndentStep[] = "  ";

bool NeedsEscape(unsigned char c) {
    switch (c) {
    case '"':
    case '&':
    case '\'':
    case '<':
    case '>':
        return true;
    default:
        return c < 32 || c >= 127;
    }
}

// Character references with exactly three digits, as the log's readers expect.
std::string EscapedAttributeValue(const std::string& value) {
    std::string escaped;
    for (char c : value) {
        const unsigned char code = static_cast<unsigned char>(c);
        if (!NeedsEscape(code)) {
            escaped += c;
            continue;
        }
        char reference[sizeof "&#255;"];
        std::snprintf(reference, sizeof reference, "&#%03u;", unsigned(code));
        escaped += reference;
    }
    return escaped;
}

} // namespace

TXMLItem::TXMLItem(std::string name, TXMLItem* parent) : name_(std::move(name)), parent_(parent) {}

void TXMLItem::AddAttribute(const std::string& name, const std::string& value) {
    attributes_ += " " + name + "=\"" + EscapedAttributeValue(value) + "\"";
}

TXMLItem& TXMLItem::AddChild(std::string name) {
    children_.push_back(std::make_unique<TXMLItem>(std::move(name), this));
    return *children_.back();
}

void TXMLItem::Render(std::string& out) const {
    RenderIndented(out, "");
}

std::string TXMLItem::AsText() const {
    std::string text;
    Render(text);
    return text;
}

void TXMLItem::RenderIndented(std::string& out, const std::string& indentation) const {
    out += indentation + "<" + name_ + attributes_;
    if (content_.empty() && children_.empty()) {
        out += "/>";
        out += kLineEnd;
        return;
    }
    out += ">" + content_;
    if (!children_.empty()) {
        out += kLineEnd;
        for (const auto& child : children_)
            child->RenderIndented(out, indentation + kIndentStep);
        out += indentation;
    }
    out += "</" + name_ + ">" + kLineEnd;
}
