#include "winapi/simulated/dom/PugiAttributes.h"

#include "winapi/Utf8.h"

#include <iterator>

namespace winapi::sim {

HRESULT PugiAttributes::get_length(long& length)
{
    length = static_cast<long>(std::distance(element_.attributes_begin(), element_.attributes_end()));
    return S_OK;
}

HRESULT PugiAttributes::getNamedItemValue(const std::wstring& name, std::wstring& value)
{
    const pugi::xml_attribute attribute = element_.attribute(ToUtf8(name).c_str());
    if (!attribute) {
        return S_FALSE;
    }
    value = FromUtf8(attribute.value());
    return S_OK;
}

}  // namespace winapi::sim
