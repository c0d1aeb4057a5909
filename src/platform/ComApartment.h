#pragma once
// The start of a WMI walk for a check that enters the main thread's single-threaded apartment
// itself, although the run mode has entered it already: the nested call answers S_FALSE. The
// check never leaves it again; the run mode's CoUninitialize at the end of the run closes the
// apartment for good.

#include "platform/WmiQuery.h"
#include "winapi/WinTypes.h"

#include <string>
#include <string_view>

// CoInitializeEx, apartment-threaded, then OpenWqlQuery; the first negative result. When
// CoInitializeEx fails, failureLine (the check's own message) is printed on the console.
[[nodiscard]] winapi::HRESULT OpenWqlQueryInOwnApartment(std::string_view failureLine, const std::wstring& query,
                                                         WmiQueryObjects& objects);
