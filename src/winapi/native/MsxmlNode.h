#pragma once
// An XmlNode over an MSXML IXMLDOMNode. Include after the winapi/*.h headers.

#include "winapi/XmlDom.h"

#include <memory>
#include <string>

#include "winapi/native/WindowsHeaders.h"

namespace winapi::native {

class MsxmlNode final : public XmlNode {
public:
    explicit MsxmlNode(ComPtr<IXMLDOMNode> node);

    [[nodiscard]] HRESULT get_text(std::wstring& text) override;
    [[nodiscard]] HRESULT put_text(const std::wstring& text) override;
    [[nodiscard]] HRESULT selectNodes(const std::wstring& query, std::unique_ptr<XmlNodeList>& list) override;
    [[nodiscard]] HRESULT selectSingleNode(const std::wstring& query, std::unique_ptr<XmlNode>& node) override;
    [[nodiscard]] HRESULT get_attributes(std::unique_ptr<XmlNamedNodeMap>& attributes) override;
    [[nodiscard]] HRESULT appendChild(XmlNode& child) override;

private:
    ComPtr<IXMLDOMNode> node_;
};

}  // namespace winapi::native
