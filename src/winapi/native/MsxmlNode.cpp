#include "winapi/XmlDom.h"

#include <utility>

#include "winapi/native/MsxmlNamedNodeMap.h"
#include "winapi/native/MsxmlNode.h"
#include "winapi/native/MsxmlNodeList.h"
#include "winapi/native/UniqueBstr.h"
#include "winapi/native/WindowsHeaders.h"

namespace winapi::native {

MsxmlNode::MsxmlNode(ComPtr<IXMLDOMNode> node) : node_(std::move(node)) {}

HRESULT MsxmlNode::get_text(std::wstring& text)
{
    UniqueBstr value;
    const HRESULT hr = node_->get_text(value.put());
    if (SUCCEEDED(hr)) {
        text = value.str();
    }
    return hr;
}

HRESULT MsxmlNode::put_text(const std::wstring& text)
{
    const UniqueBstr value(text);
    if (!value.is_valid()) {
        return E_OUTOFMEMORY;
    }
    return node_->put_text(value.get());
}

HRESULT MsxmlNode::selectNodes(const std::wstring& query, std::unique_ptr<XmlNodeList>& list)
{
    const UniqueBstr expression(query);
    if (!expression.is_valid()) {
        return E_OUTOFMEMORY;
    }
    ComPtr<IXMLDOMNodeList> found;
    const HRESULT hr = node_->selectNodes(expression.get(), found.GetAddressOf());
    if (SUCCEEDED(hr) && found) {
        list = std::make_unique<MsxmlNodeList>(std::move(found));
    }
    return hr;
}

HRESULT MsxmlNode::selectSingleNode(const std::wstring& query, std::unique_ptr<XmlNode>& node)
{
    const UniqueBstr expression(query);
    if (!expression.is_valid()) {
        return E_OUTOFMEMORY;
    }
    ComPtr<IXMLDOMNode> found;
    const HRESULT hr = node_->selectSingleNode(expression.get(), found.GetAddressOf());
    if (SUCCEEDED(hr) && found) {
        node = std::make_unique<MsxmlNode>(std::move(found));
    }
    return hr;
}

HRESULT MsxmlNode::get_attributes(std::unique_ptr<XmlNamedNodeMap>& attributes)
{
    ComPtr<IXMLDOMNamedNodeMap> map;
    const HRESULT hr = node_->get_attributes(map.GetAddressOf());
    if (SUCCEEDED(hr) && map) {
        attributes = std::make_unique<MsxmlNamedNodeMap>(std::move(map));
    }
    return hr;
}

HRESULT MsxmlNode::appendChild(XmlNode& child)
{
    // Only a node of this backend carries a DOM node that MSXML can append.
    auto* const domChild = dynamic_cast<MsxmlNode*>(&child);
    if (domChild == nullptr) {
        return E_INVALIDARG;
    }
    ComPtr<IXMLDOMNode> appended;
    return node_->appendChild(domChild->node_.Get(), appended.GetAddressOf());
}

}  // namespace winapi::native
