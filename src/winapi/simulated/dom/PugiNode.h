#pragma once
// What the document and its elements have in common in the pugixml stand-in for MSXML: the
// node operations of the DOM, over one pugixml node.

#include "winapi/XmlDom.h"

#include <pugixml.hpp>

namespace winapi::sim {

class PugiNode {
public:
    explicit PugiNode(pugi::xml_node node) : node_(node) {}

    [[nodiscard]] HRESULT GetText(std::wstring& text) const;
    [[nodiscard]] HRESULT PutText(const std::wstring& text);
    [[nodiscard]] HRESULT SelectNodes(const std::wstring& query, std::unique_ptr<XmlNodeList>& list) const;
    [[nodiscard]] HRESULT SelectSingleNode(const std::wstring& query, std::unique_ptr<XmlNode>& node) const;
    [[nodiscard]] HRESULT GetAttributes(std::unique_ptr<XmlNamedNodeMap>& attributes) const;
    // Moves the child here; an element created but not yet placed is copied out of the staging
    // document and the child rebound to its copy.
    [[nodiscard]] HRESULT AppendChild(XmlNode& child);

    [[nodiscard]] pugi::xml_node Node() const { return node_; }
    void Rebind(pugi::xml_node node) { node_ = node; }

private:
    pugi::xml_node node_;
};

// The PugiNode behind a node of this backend.
[[nodiscard]] PugiNode* NodeOf(XmlNode& node);

}  // namespace winapi::sim
