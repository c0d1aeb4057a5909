#include "winapi/simulated/dom/PugiElement.h"

namespace winapi::sim {

HRESULT PugiElement::get_text(std::wstring& text)
{
    return node_.GetText(text);
}

HRESULT PugiElement::put_text(const std::wstring& text)
{
    return node_.PutText(text);
}

HRESULT PugiElement::selectNodes(const std::wstring& query, std::unique_ptr<XmlNodeList>& list)
{
    return node_.SelectNodes(query, list);
}

HRESULT PugiElement::selectSingleNode(const std::wstring& query, std::unique_ptr<XmlNode>& node)
{
    return node_.SelectSingleNode(query, node);
}

HRESULT PugiElement::get_attributes(std::unique_ptr<XmlNamedNodeMap>& attributes)
{
    return node_.GetAttributes(attributes);
}

HRESULT PugiElement::appendChild(XmlNode& child)
{
    return node_.AppendChild(child);
}

}  // namespace winapi::sim
