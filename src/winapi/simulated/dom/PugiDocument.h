#pragma once

#include "winapi/simulated/dom/PugiNode.h"

namespace winapi::sim {

// The pugixml stand-in for an MSXML 3.0 DOMDocument30. Elements it creates wait in a staging
// document until they are appended, since a pugixml node always belongs to a tree.
class PugiDocument : public XmlDocument {
public:
    PugiDocument() : node_(document_) {}

    HRESULT get_text(std::wstring& text) override;
    HRESULT put_text(const std::wstring& text) override;
    HRESULT selectNodes(const std::wstring& query, std::unique_ptr<XmlNodeList>& list) override;
    HRESULT selectSingleNode(const std::wstring& query, std::unique_ptr<XmlNode>& node) override;
    HRESULT get_attributes(std::unique_ptr<XmlNamedNodeMap>& attributes) override;
    HRESULT appendChild(XmlNode& child) override;

    HRESULT put_async(bool value) override;
    HRESULT put_validateOnParse(bool value) override;
    HRESULT put_resolveExternals(bool value) override;
    HRESULT put_preserveWhiteSpace(bool value) override;
    HRESULT load(const std::wstring& path, bool& loaded) override;
    HRESULT get_parseError(long& line, long& linePosition, std::wstring& reason) override;
    HRESULT save(const std::wstring& path) override;
    HRESULT createElement(const std::wstring& tagName, std::unique_ptr<XmlNode>& element) override;

    [[nodiscard]] PugiNode& Node() { return node_; }

private:
    pugi::xml_document document_;
    pugi::xml_document staging_;
    PugiNode node_;
    bool preserveWhiteSpace_ = false;
    // Why the last load failed, and where, as MSXML's parse error tells it.
    long errorLine_ = 0;
    long errorPosition_ = 0;
    std::wstring errorReason_;
    // The encoding the document was loaded in, which a save keeps, as its declaration says it.
    pugi::xml_encoding encoding_ = pugi::encoding_utf8;
};

}  // namespace winapi::sim
