#pragma once
// The one failure value the run's own reading, running and writing steps report.

#include "winapi/WinTypes.h"

constexpr winapi::HRESULT RunFailure = static_cast<winapi::HRESULT>(0x80000000u);
