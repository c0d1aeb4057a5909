#pragma once
// The WQL that the simulated WMI understands: "SELECT * FROM class", optionally followed by
// "WHERE property = 'text'". Keywords in any letter case, as WMI reads them.

#include "winapi/WinTypes.h"

#include <optional>
#include <string>

namespace winapi::sim {

struct WqlQuery {
    std::wstring className;
    struct Condition {
        std::wstring property;
        // The literal with its WQL escapes resolved.
        std::wstring value;
    };
    std::optional<Condition> where;
};

// S_OK and query filled, or WBEM_E_INVALID_QUERY for text outside that form.
[[nodiscard]] HRESULT ParseWqlQuery(const std::wstring& text, WqlQuery& query);

}  // namespace winapi::sim
