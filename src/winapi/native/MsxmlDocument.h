#pragma once
// An XmlDocument over an MSXML 3.0 IXMLDOMDocument. Include after the winapi/*.h headers.

#include "winapi/XmlDom.h"

#include <memory>
#include <string>

#include "winapi/native/MsxmlNode.h"
#include "winapi/native/WindowsHeaders.h"

namespace winapi::native {

class MsxmlDocument final : public XmlDocument {
public:
    explicit MsxmlDocument(ComPtr<IXMLDOMDocument> document);

    [[nodiscard]] HRESULT get_text(std::wstring& text) override;
    [[nodiscard]] HRESULT put_text(const std::wstring& text) override;
    [[nodiscard]] HRESULT selectNodes(const std::wstring& query, std::unique_ptr<XmlNodeList>& list) override;
    [[nodiscard]] HRESULT selectSingleNode(const std::wstring& query, std::unique_ptr<XmlNode>& node) override;
    [[nodiscard]] HRESULT get_attributes(std::unique_ptr<XmlNamedNodeMap>& attributes) override;
    [[nodiscard]] HRESULT appendChild(XmlNode& child) override;

    [[nodiscard]] HRESULT put_async(bool value) override;
    [[nodiscard]] HRESULT put_validateOnParse(bool value) override;
    [[nodiscard]] HRESULT put_resolveExternals(bool value) override;
    [[nodiscard]] HRESULT put_preserveWhiteSpace(bool value) override;

    [[nodiscard]] HRESULT load(const std::wstring& path, bool& loaded) override;
    [[nodiscard]] HRESULT get_parseError(long& line, long& linePosition, std::wstring& reason) override;
    [[nodiscard]] HRESULT save(const std::wstring& path) override;
    [[nodiscard]] HRESULT createElement(const std::wstring& tagName, std::unique_ptr<XmlNode>& element) override;

private:
    ComPtr<IXMLDOMDocument> document_;
    // The document seen as a node: the node calls of a document are those of any node.
    MsxmlNode node_;
};

}  // namespace winapi::native
