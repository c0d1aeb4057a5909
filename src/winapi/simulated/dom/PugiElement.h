#pragma once

#include "winapi/simulated/dom/PugiNode.h"

namespace winapi::sim {

// An element of a document in the pugixml stand-in for MSXML.
class PugiElement : public XmlNode {
public:
    explicit PugiElement(pugi::xml_node node) : node_(node) {}

    HRESULT get_text(std::wstring& text) override;
    HRESULT put_text(const std::wstring& text) override;
    HRESULT selectNodes(const std::wstring& query, std::unique_ptr<XmlNodeList>& list) override;
    HRESULT selectSingleNode(const std::wstring& query, std::unique_ptr<XmlNode>& node) override;
    HRESULT get_attributes(std::unique_ptr<XmlNamedNodeMap>& attributes) override;
    HRESULT appendChild(XmlNode& child) override;

    [[nodiscard]] PugiNode& Node() { return node_; }

private:
    PugiNode node_;
};

}  // namespace winapi::sim
