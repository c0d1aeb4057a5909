#include "winapi/XmlDom.h"

#include <utility>

#include "winapi/native/MsxmlNamedNodeMap.h"
#include "winapi/native/UniqueBstr.h"
#include "winapi/native/UniqueVariant.h"
#include "winapi/native/WindowsHeaders.h"

namespace winapi::native {

MsxmlNamedNodeMap::MsxmlNamedNodeMap(ComPtr<IXMLDOMNamedNodeMap> map) : map_(std::move(map)) {}

HRESULT MsxmlNamedNodeMap::get_length(long& length)
{
    long value = 0;
    const HRESULT hr = map_->get_length(&value);
    if (SUCCEEDED(hr)) {
        length = value;
    }
    return hr;
}

HRESULT MsxmlNamedNodeMap::getNamedItemValue(const std::wstring& name, std::wstring& value)
{
    const UniqueBstr itemName(name);
    if (!itemName.is_valid()) {
        return E_OUTOFMEMORY;
    }
    ComPtr<IXMLDOMNode> attribute;
    const HRESULT found = map_->getNamedItem(itemName.get(), attribute.GetAddressOf());
    if (FAILED(found)) {
        return found;
    }
    if (!attribute) {
        return S_FALSE;
    }
    UniqueVariant nodeValue;
    const HRESULT read = attribute->get_nodeValue(nodeValue.put());
    if (FAILED(read)) {
        return read;
    }
    return nodeValue.GetString(value);
}

}  // namespace winapi::native
