#pragma once
// The download job with which BitsAdminTest asks BITS whether the user may transfer files, and
// which the capture asks the same way: created, given one file, cancelled, never resumed.

#include "winapi/Bits.h"

#include <string_view>

inline constexpr std::wstring_view BitsJobName = L"TarnwickDownloadTest";
// The host lies under the reserved top-level domain .example, so the address can never reach
// anyone, even if a job were ever resumed.
inline constexpr std::wstring_view BitsRemoteFile = L"http://download.tarnwick.example/bin/tessel/blahghah.xml";
inline constexpr std::wstring_view BitsLocalFile = L"C:\\tempFile.xml";
// What AddFile answers when the user is not logged on interactively: 0x800704DD.
inline constexpr winapi::HRESULT BitsNotLoggedOn = winapi::HRESULT_FROM_WIN32(winapi::ERROR_NOT_LOGGED_ON);
