// The WMI value conversion of Tarnwick.exe on its own, built from the program's own
// src/winapi/native/ComWbemClassObject.cpp for the architecture of the program under test and run
// by tools/wine-check.sh with the same Wine (not part of Tarnwick.exe). Wine's WMI hands out few
// of the types a real machine's does (its Win32_BIOS has no BiosCharacteristics array), so the
// checks under Wine never reach most of the conversion: this probe builds each VARIANT and
// SAFEARRAY itself, with the edge values of its type, and feeds it through ToVariant.
//
// Prints one line per case, "NAME: DESCRIPTION", where the description is what the program's
// Variant gives through its own extractors; tools/wine-probes.sh holds the expected lines. The
// "wmi-" cases read properties of Wine's own WMI through ComWbemClassObject::Get, to show the
// types WMI really delivers (a uint64 as text, a uint32 and a uint16 as VT_I4); their values are
// the machine's, so only their types and kinds are printed.

#include "winapi/Variant.h"
#include "winapi/Wmi.h"

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

#include "winapi/native/ComWbemClassObject.h"
#include "winapi/native/UniqueBstr.h"
#include "winapi/native/UniqueVariant.h"
#include "winapi/native/WindowsHeaders.h"

#include "ProbeText.h"

namespace {

// What the program reads from the value: its type, what the one extractor of that type gives,
// and the 32-bit value field.
std::string Describe(const winapi::Variant& value)
{
    char type[16];
    std::snprintf(type, sizeof type, "type 0x%04X", static_cast<unsigned>(value.Type()));
    std::string description = type;
    std::wstring text;
    std::int32_t number = 0;
    bool flag = false;
    std::vector<std::int32_t> elements;
    const HRESULT stringResult = value.GetString(text);
    if (stringResult == S_OK) {
        description += " string \"" + Escape(text) + "\"";
    } else if (stringResult == E_POINTER) {
        description += " null string";
    } else if (value.GetInt32(number) == S_OK) {
        description += " int32 " + std::to_string(number);
    } else if (value.GetInt16(number) == S_OK) {
        description += " int16 " + std::to_string(number);
    } else if (value.GetUInt8(number) == S_OK) {
        description += " uint8 " + std::to_string(number);
    } else if (value.GetBool(flag) == S_OK) {
        description += flag ? " bool true" : " bool false";
    } else if (value.GetIntegerArray(elements) == S_OK) {
        description += " array [";
        for (std::size_t at = 0; at < elements.size(); ++at) {
            description += (at == 0 ? "" : ",") + std::to_string(elements[at]);
        }
        description += "]";
    } else {
        description += " unreadable";
    }
    char field[24];
    std::snprintf(field, sizeof field, " field32 0x%08lX", static_cast<unsigned long>(value.ValueField32()));
    return description + field;
}

// The type and kind of a value whose content is the machine's.
std::string DescribeKind(const winapi::Variant& value)
{
    char type[16];
    std::snprintf(type, sizeof type, "type 0x%04X", static_cast<unsigned>(value.Type()));
    std::wstring text;
    std::int32_t number = 0;
    bool flag = false;
    if (value.GetString(text) == S_OK) {
        const bool digits = !text.empty() && text.find_first_not_of(L"0123456789") == std::wstring::npos;
        return type + std::string(digits ? " decimal text" : " text");
    }
    if (value.GetInt32(number) == S_OK) {
        return type + std::string(" int32");
    }
    if (value.GetBool(flag) == S_OK) {
        return type + std::string(" bool");
    }
    return type + std::string(" other");
}

// Reads properties of the first instance of a WMI class through the program's
// ComWbemClassObject; prints the failing step's HRESULT instead where WMI does not answer.
class WmiReader {
public:
    WmiReader()
    {
        initialized_ = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        winapi::native::ComPtr<IWbemLocator> locator;
        const winapi::native::UniqueBstr nameSpace(L"root\\cimv2");
        result_ = ::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                     reinterpret_cast<void**>(locator.GetAddressOf()));
        if (SUCCEEDED(result_)) {
            result_ = locator->ConnectServer(nameSpace.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                             services_.GetAddressOf());
        }
    }
    WmiReader(const WmiReader&) = delete;
    WmiReader& operator=(const WmiReader&) = delete;
    ~WmiReader()
    {
        services_.Reset();
        if (initialized_) {
            ::CoUninitialize();
        }
    }

    void Report(const char* name, const wchar_t* query, const wchar_t* property)
    {
        winapi::native::ComPtr<IEnumWbemClassObject> instances;
        winapi::native::ComPtr<IWbemClassObject> instance;
        HRESULT hr = result_;
        if (SUCCEEDED(hr)) {
            const winapi::native::UniqueBstr language(L"WQL");
            const winapi::native::UniqueBstr text(query);
            hr = services_->ExecQuery(language.get(), text.get(), WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                                      nullptr, instances.GetAddressOf());
        }
        ULONG returned = 0;
        if (SUCCEEDED(hr)) {
            hr = instances->Next(static_cast<LONG>(WBEM_INFINITE), 1, instance.GetAddressOf(), &returned);
        }
        if (hr != WBEM_S_NO_ERROR || returned != 1) {
            std::printf("%s: no instance (0x%08lX)\n", name, static_cast<unsigned long>(hr));
            return;
        }
        winapi::native::ComWbemClassObject object(instance);
        winapi::Variant value;
        hr = object.Get(property, 0, value);
        if (FAILED(hr)) {
            std::printf("%s: Get fails with 0x%08lX\n", name, static_cast<unsigned long>(hr));
            return;
        }
        std::printf("%s: %s\n", name, DescribeKind(value).c_str());
    }

private:
    bool initialized_ = false;
    HRESULT result_ = E_FAIL;
    winapi::native::ComPtr<IWbemServices> services_;
};

// The probe builds its values in the program's own owner, whose VariantClear frees their strings
// and arrays.
using winapi::native::UniqueVariant;

void Report(const char* name, const UniqueVariant& value)
{
    std::printf("%s: %s\n", name, Describe(winapi::native::ToVariant(value.get())).c_str());
}

void ReportString(const char* name, const wchar_t* text, UINT length)
{
    UniqueVariant value;
    VARIANT& raw = *value.put();
    V_VT(&raw) = VT_BSTR;
    V_BSTR(&raw) = ::SysAllocStringLen(text, length);
    Report(name, value);
}

template <typename Element>
void ReportArray(const char* name, VARTYPE elementType, LONG lowerBound, std::initializer_list<Element> elements)
{
    SAFEARRAYBOUND bound{static_cast<ULONG>(elements.size()), lowerBound};
    UniqueVariant value;
    VARIANT& raw = *value.put();
    V_VT(&raw) = static_cast<VARTYPE>(VT_ARRAY | elementType);
    V_ARRAY(&raw) = ::SafeArrayCreate(elementType, 1, &bound);
    LONG index = lowerBound;
    for (Element element : elements) {
        if (FAILED(::SafeArrayPutElement(V_ARRAY(&raw), &index, &element))) {
            std::printf("%s: the probe could not build its array\n", name);
            return;
        }
        ++index;
    }
    Report(name, value);
}

template <typename Set>
void ReportScalar(const char* name, VARTYPE type, Set set)
{
    UniqueVariant value;
    VARIANT& raw = *value.put();
    V_VT(&raw) = type;
    set(raw);
    Report(name, value);
}

}  // namespace

int main()
{
    const UniqueVariant empty;
    Report("empty", empty);
    ReportScalar("null", VT_NULL, [](VARIANT&) {});

    ReportString("string", L"Dell Inc.", 9);
    ReportString("string-empty", L"", 0);
    ReportScalar("string-null-pointer", VT_BSTR, [](VARIANT& value) { V_BSTR(&value) = nullptr; });
    ReportString("string-embedded-null", L"A\0B", 3);
    ReportString("string-beyond-ascii", L"T\u00e9st\u20ac\U0001F600", 7);
    // WMI hands out its 64-bit integers (uint64, sint64) as text.
    ReportString("uint64-as-string-max", L"18446744073709551615", 20);
    ReportString("uint64-as-string-zero", L"0", 1);
    ReportString("sint64-as-string-min", L"-9223372036854775808", 20);

    ReportScalar("i4-min", VT_I4, [](VARIANT& value) { V_I4(&value) = std::numeric_limits<LONG>::min(); });
    ReportScalar("i4-max", VT_I4, [](VARIANT& value) { V_I4(&value) = std::numeric_limits<LONG>::max(); });
    ReportScalar("i4-minus-one", VT_I4, [](VARIANT& value) { V_I4(&value) = -1; });
    ReportScalar("i2-min", VT_I2, [](VARIANT& value) { V_I2(&value) = std::numeric_limits<SHORT>::min(); });
    ReportScalar("i2-max", VT_I2, [](VARIANT& value) { V_I2(&value) = std::numeric_limits<SHORT>::max(); });
    ReportScalar("i2-minus-one", VT_I2, [](VARIANT& value) { V_I2(&value) = -1; });
    ReportScalar("ui1-zero", VT_UI1, [](VARIANT& value) { V_UI1(&value) = 0; });
    ReportScalar("ui1-max", VT_UI1, [](VARIANT& value) { V_UI1(&value) = 255; });
    ReportScalar("bool-true", VT_BOOL, [](VARIANT& value) { V_BOOL(&value) = VARIANT_TRUE; });
    ReportScalar("bool-false", VT_BOOL, [](VARIANT& value) { V_BOOL(&value) = VARIANT_FALSE; });
    ReportScalar("bool-one", VT_BOOL, [](VARIANT& value) { V_BOOL(&value) = 1; });
    // Types the program never reads: kept as their type, every extractor refuses them.
    ReportScalar("ui8", VT_UI8, [](VARIANT& value) { V_UI8(&value) = std::numeric_limits<ULONGLONG>::max(); });
    ReportScalar("i8", VT_I8, [](VARIANT& value) { V_I8(&value) = std::numeric_limits<LONGLONG>::min(); });
    ReportScalar("ui4", VT_UI4, [](VARIANT& value) { V_UI4(&value) = 0xFFFFFFFFu; });
    ReportScalar("r8", VT_R8, [](VARIANT& value) { V_R8(&value) = 1.5; });

    ReportArray<LONG>("i4-array-0", VT_I4, 0, {});
    ReportArray<LONG>("i4-array-1", VT_I4, 0, {std::numeric_limits<LONG>::min()});
    ReportArray<LONG>("i4-array-3", VT_I4, 0, {std::numeric_limits<LONG>::min(), -1, std::numeric_limits<LONG>::max()});
    ReportArray<SHORT>("i2-array-0", VT_I2, 0, {});
    ReportArray<SHORT>("i2-array-1", VT_I2, 0, {std::numeric_limits<SHORT>::max()});
    ReportArray<SHORT>("i2-array-3", VT_I2, 0,
                       {std::numeric_limits<SHORT>::min(), -1, std::numeric_limits<SHORT>::max()});
    ReportArray<BYTE>("ui1-array-0", VT_UI1, 0, {});
    ReportArray<BYTE>("ui1-array-1", VT_UI1, 0, {255});
    ReportArray<BYTE>("ui1-array-3", VT_UI1, 0, {0, 128, 255});
    // Read from index 0 up: the missing index 0 is left out, the elements above it all count.
    ReportArray<LONG>("i4-array-lower-bound-1", VT_I4, 1, {7, 8, 9});
    ReportArray<LONG>("i4-array-lower-bound-2", VT_I4, 2, {7, 8, 9});
    ReportScalar("i4-array-null-pointer", static_cast<VARTYPE>(VT_ARRAY | VT_I4),
                 [](VARIANT& value) { V_ARRAY(&value) = nullptr; });
    UniqueVariant strings;
    VARIANT& stringArray = *strings.put();
    V_VT(&stringArray) = static_cast<VARTYPE>(VT_ARRAY | VT_BSTR);
    V_ARRAY(&stringArray) = ::SafeArrayCreateVector(VT_BSTR, 0, 2);
    Report("string-array", strings);

    WmiReader wmi;
    const wchar_t* const system = L"SELECT * FROM Win32_OperatingSystem";
    wmi.Report("wmi-uint64", system, L"TotalVisibleMemorySize");
    wmi.Report("wmi-uint32", system, L"OSLanguage");
    wmi.Report("wmi-uint16", system, L"OSType");
    wmi.Report("wmi-boolean", system, L"Primary");
    wmi.Report("wmi-string", system, L"Caption");
    // Wine's Win32_BIOS has no BiosCharacteristics: WBEM_E_NOT_FOUND.
    wmi.Report("wmi-missing-property", L"SELECT * FROM Win32_BIOS", L"BiosCharacteristics");
    return 0;
}
