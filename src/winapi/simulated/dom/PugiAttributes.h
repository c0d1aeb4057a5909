#pragma once

#include "winapi/XmlDom.h"

#include <pugixml.hpp>

namespace winapi::sim {

// The attributes of one element.
class PugiAttributes : public XmlNamedNodeMap {
public:
    explicit PugiAttributes(pugi::xml_node element) : element_(element) {}

    HRESULT get_length(long& length) override;
    HRESULT getNamedItemValue(const std::wstring& name, std::wstring& value) override;

private:
    pugi::xml_node element_;
};

}  // namespace winapi::sim
