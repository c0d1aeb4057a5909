#include "winapi/XmlDom.h"

#include <utility>

#include "winapi/native/MsxmlNode.h"
#include "winapi/native/MsxmlNodeList.h"
#include "winapi/native/WindowsHeaders.h"

namespace winapi::native {

MsxmlNodeList::MsxmlNodeList(ComPtr<IXMLDOMNodeList> list) : list_(std::move(list)) {}

HRESULT MsxmlNodeList::get_length(long& length)
{
    long value = 0;
    const HRESULT hr = list_->get_length(&value);
    if (SUCCEEDED(hr)) {
        length = value;
    }
    return hr;
}

HRESULT MsxmlNodeList::get_item(long index, std::unique_ptr<XmlNode>& node)
{
    ComPtr<IXMLDOMNode> item;
    const HRESULT hr = list_->get_item(index, item.GetAddressOf());
    if (SUCCEEDED(hr) && item) {
        node = std::make_unique<MsxmlNode>(std::move(item));
    }
    return hr;
}

}  // namespace winapi::native
