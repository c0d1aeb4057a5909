#include "winapi/simulated/dom/PugiNode.h"

#include "winapi/Utf8.h"
#include "winapi/simulated/dom/PugiAttributes.h"
#include "winapi/simulated/dom/PugiDocument.h"
#include "winapi/simulated/dom/PugiElement.h"
#include "winapi/simulated/dom/PugiNodeList.h"
#include "winapi/simulated/SimulatedMachine.h"

namespace winapi::sim {

namespace {

// The DOM's text: every text and CDATA section below the node, in document order. The walk
// climbs back through parent links instead of recursing, so no nesting depth of a document
// can exhaust the stack.
void CollectText(pugi::xml_node node, std::string& text)
{
    pugi::xml_node current = node.first_child();
    while (current) {
        if (current.type() == pugi::node_pcdata || current.type() == pugi::node_cdata) {
            text += current.value();
        } else if (current.type() == pugi::node_element && current.first_child()) {
            current = current.first_child();
            continue;
        }
        while (current != node && !current.next_sibling()) {
            current = current.parent();
        }
        current = current == node ? pugi::xml_node() : current.next_sibling();
    }
}

}  // namespace

HRESULT PugiNode::GetText(std::wstring& text) const
{
    std::string collected;
    CollectText(node_, collected);
    text = FromUtf8(collected);
    return S_OK;
}

HRESULT PugiNode::PutText(const std::wstring& text)
{
    if (const auto error = CurrentMachine().TakeFault(L"XmlNode.put_text")) {
        return static_cast<HRESULT>(*error);
    }
    while (node_.first_child()) {
        node_.remove_child(node_.first_child());
    }
    if (!text.empty()) {
        node_.append_child(pugi::node_pcdata).set_value(ToUtf8(text).c_str());
    }
    return S_OK;
}

HRESULT PugiNode::SelectNodes(const std::wstring& query, std::unique_ptr<XmlNodeList>& list) const
{
    if (const auto error = CurrentMachine().TakeFault(L"XmlNode.selectNodes")) {
        return static_cast<HRESULT>(*error);
    }
    try {
        list = std::make_unique<PugiNodeList>(node_.select_nodes(ToUtf8(query).c_str()));
    } catch (const pugi::xpath_exception&) {
        return E_FAIL;
    }
    return S_OK;
}

HRESULT PugiNode::SelectSingleNode(const std::wstring& query, std::unique_ptr<XmlNode>& node) const
{
    pugi::xpath_node found;
    try {
        found = node_.select_node(ToUtf8(query).c_str());
    } catch (const pugi::xpath_exception&) {
        return E_FAIL;
    }
    if (!found.node()) {
        return S_FALSE;
    }
    node = std::make_unique<PugiElement>(found.node());
    return S_OK;
}

HRESULT PugiNode::GetAttributes(std::unique_ptr<XmlNamedNodeMap>& attributes) const
{
    attributes = std::make_unique<PugiAttributes>(node_);
    return S_OK;
}

HRESULT PugiNode::AppendChild(XmlNode& child)
{
    PugiNode* childNode = NodeOf(child);
    if (childNode == nullptr) {
        return E_INVALIDARG;
    }
    const pugi::xml_node moving = childNode->Node();
    if (moving.root() == node_.root()) {
        return node_.append_move(moving) ? S_OK : E_FAIL;
    }
    const pugi::xml_node copy = node_.append_copy(moving);
    if (!copy) {
        return E_FAIL;
    }
    moving.parent().remove_child(moving);
    childNode->Rebind(copy);
    return S_OK;
}

PugiNode* NodeOf(XmlNode& node)
{
    if (auto* element = dynamic_cast<PugiElement*>(&node)) {
        return &element->Node();
    }
    if (auto* document = dynamic_cast<PugiDocument*>(&node)) {
        return &document->Node();
    }
    return nullptr;
}

}  // namespace winapi::sim
