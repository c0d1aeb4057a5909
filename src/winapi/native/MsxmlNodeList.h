#pragma once
// An XmlNodeList over an MSXML IXMLDOMNodeList. Include after the winapi/*.h headers.

#include "winapi/XmlDom.h"

#include <memory>

#include "winapi/native/WindowsHeaders.h"

namespace winapi::native {

class MsxmlNodeList final : public XmlNodeList {
public:
    explicit MsxmlNodeList(ComPtr<IXMLDOMNodeList> list);

    [[nodiscard]] HRESULT get_length(long& length) override;
    [[nodiscard]] HRESULT get_item(long index, std::unique_ptr<XmlNode>& node) override;

private:
    ComPtr<IXMLDOMNodeList> list_;
};

}  // namespace winapi::native
