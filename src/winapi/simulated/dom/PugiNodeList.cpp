#include "winapi/simulated/dom/PugiNodeList.h"

#include "winapi/simulated/dom/PugiElement.h"

namespace winapi::sim {

HRESULT PugiNodeList::get_length(long& length)
{
    length = static_cast<long>(nodes_.size());
    return S_OK;
}

HRESULT PugiNodeList::get_item(long index, std::unique_ptr<XmlNode>& node)
{
    if (index < 0 || static_cast<std::size_t>(index) >= nodes_.size()) {
        return S_FALSE;
    }
    node = std::make_unique<PugiElement>(nodes_[static_cast<std::size_t>(index)].node());
    return S_OK;
}

}  // namespace winapi::sim
