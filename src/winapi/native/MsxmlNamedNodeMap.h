#pragma once
// An XmlNamedNodeMap over an MSXML IXMLDOMNamedNodeMap. Include after the winapi/*.h headers.

#include "winapi/XmlDom.h"

#include <string>

#include "winapi/native/WindowsHeaders.h"

namespace winapi::native {

class MsxmlNamedNodeMap final : public XmlNamedNodeMap {
public:
    explicit MsxmlNamedNodeMap(ComPtr<IXMLDOMNamedNodeMap> map);

    [[nodiscard]] HRESULT get_length(long& length) override;
    [[nodiscard]] HRESULT getNamedItemValue(const std::wstring& name, std::wstring& value) override;

private:
    ComPtr<IXMLDOMNamedNodeMap> map_;
};

}  // namespace winapi::native
