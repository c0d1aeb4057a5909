#pragma once
// The functions of later Windows releases that the program calls: looked up by name in the
// already loaded kernel32.dll, so that the program still starts where they are missing.

#include "winapi/WinTypes.h"

// The processor architecture of the machine: GetNativeSystemInfo's answer where Windows has it
// (XP and later), otherwise GetSystemInfo's (which tells a 32-bit process of an Intel processor
// on 64-bit Windows).
[[nodiscard]] winapi::WORD ReadProcessorArchitecture();

// The product type that GetProductInfo gives for the version 6.0, service pack 0.0 (the numbers
// the program always passes, whatever the running version). False, and productType untouched,
// when the function is missing (before Vista) or fails.
[[nodiscard]] bool ReadProductType(winapi::DWORD& productType);
