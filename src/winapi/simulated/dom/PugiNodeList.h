#pragma once

#include "winapi/XmlDom.h"

#include <pugixml.hpp>

namespace winapi::sim {

// The result of a selection, in document order.
class PugiNodeList : public XmlNodeList {
public:
    explicit PugiNodeList(pugi::xpath_node_set nodes) : nodes_(std::move(nodes)) {}

    HRESULT get_length(long& length) override;
    HRESULT get_item(long index, std::unique_ptr<XmlNode>& node) override;

private:
    pugi::xpath_node_set nodes_;
};

}  // namespace winapi::sim
