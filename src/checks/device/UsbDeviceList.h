#pragma once
// The search shared by the USB device black and white lists: every USB device that WMI knows,
// through its controller association and its Plug and Play record, is printed and recorded by
// its description, which is matched against the list's fragments.

#include "framework/Test.h"
#include "winapi/WinTypes.h"

#include <optional>
#include <string>
#include <vector>

// Which COM apartment the search runs in: the black list enters it again itself (and reports
// when that fails); the white list relies on the run mode's.
enum class UsbSearchApartment { EnteredByCheck, RunMode };

// found tells whether some device's description contains some fragment (case-sensitive; an
// empty fragment is in every description). Each description is printed and added to the
// check's result as "Description: ..." with its line break. E_FAIL when COM, the connection,
// the association query or any device's own query fails; the lines already added stay.
[[nodiscard]] winapi::HRESULT HasListedUsbDevice(Test& test, const std::vector<std::wstring>& fragments, bool& found,
                                                 UsbSearchApartment apartment);

// The device identifier in an association's dependent path: the text between its first and its
// last double quote, with the backslashes still doubled as the WQL literal wants them.
[[nodiscard]] std::optional<std::wstring> QuotedIdentifier(const std::wstring& path);

// The query for the Plug and Play record of the device with that identifier.
[[nodiscard]] std::wstring UsbDeviceQuery(const std::wstring& identifier);

// The DeviceID that query asks for: WQL takes the character after each backslash of the
// literal as it is, so the doubled backslashes are single again.
[[nodiscard]] std::wstring UsbDeviceId(const std::wstring& identifier);
