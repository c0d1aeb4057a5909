#pragma once
// A check's own entry into the main thread's single-threaded apartment, which the run mode has
// entered already: the nested call answers S_FALSE. The check never leaves it again; the run
// mode's CoUninitialize at the end of the run closes the apartment for good.

#include "winapi/WinTypes.h"

#include <string_view>

// CoInitializeEx, apartment-threaded. When it fails, prints failureLine on the console (the
// check's own message) and returns the failure.
[[nodiscard]] winapi::HRESULT EnterComApartment(std::string_view failureLine);
