// A tiny XML writer for the log's XML form: an element with preformatted attributes, content
// written as it is, and owned child elements, rendered with CRLF line ends and two spaces of
// indentation per level.
#pragma once
#include <memory>
#include <string>
#include <vector>

class TXMLItem;
using TXMLItems = std::vector<std::unique_ptr<TXMLItem>>;

class TXMLItem {
  public:
    // The name is written unescaped, so it must be a valid element name.
    explicit TXMLItem(std::string name, TXMLItem* parent = nullptr);

    const std::string& Name() const { return name_; }
    TXMLItem* Parent() const { return parent_; }
    const TXMLItems& Children() const { return children_; }
    const std::string& Content() const { return content_; }
    // Written as it is, without escaping.
    void SetContent(std::string content) { content_ = std::move(content); }

    // The value is escaped; the name is not.
    void AddAttribute(const std::string& name, const std::string& value);
    // Appended after the existing children.
    TXMLItem& AddChild(std::string name);

    // Appends this element and its subtree, starting at the left margin.
    void Render(std::string& out) const;
    std::string AsText() const;

  private:
    void RenderIndented(std::string& out, const std::string& indentation) const;

    std::string name_;
    std::string attributes_;
    std::string content_;
    TXMLItems children_;
    TXMLItem* parent_;
};
