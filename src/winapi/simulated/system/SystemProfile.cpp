#include "winapi/simulated/system/SystemProfile.h"

#include "winapi/Utf8.h"

#include <map>

namespace winapi::sim {

namespace {

void ReadProcessorArchitecture(ProfileObject& profile, SystemModel& system)
{
    static const std::map<std::wstring, WORD> names{
        {L"INTEL", PROCESSOR_ARCHITECTURE_INTEL},
        {L"IA64", PROCESSOR_ARCHITECTURE_IA64},
        {L"AMD64", PROCESSOR_ARCHITECTURE_AMD64},
    };
    const nlohmann::json* json = profile.Raw("processorArchitecture");
    if (json == nullptr) {
        return;
    }
    const std::string path = profile.FieldPath("processorArchitecture");
    if (json->is_number_unsigned() && json->get<std::uint64_t>() <= 0xFFFF) {
        system.processorArchitecture = static_cast<WORD>(json->get<std::uint64_t>());
        return;
    }
    const auto name = json->is_string() ? names.find(FromUtf8(json->get_ref<const std::string&>())) : names.end();
    if (name == names.end()) {
        profile.Reader().Fail(path, "expected INTEL, IA64, AMD64 or a whole number below 65536");
        return;
    }
    system.processorArchitecture = name->second;
}

void ReadLinkedToken(ProfileObject& profile, SystemModel& system)
{
    static const std::map<std::wstring, LinkedToken> kinds{
        {L"administrator", LinkedToken::Administrator},
        {L"standardUser", LinkedToken::StandardUser},
    };
    std::wstring kind;
    profile.Text("linkedToken", kind);
    if (kind.empty()) {
        return;
    }
    const auto known = kinds.find(kind);
    if (known == kinds.end()) {
        profile.Reader().Fail(profile.FieldPath("linkedToken"), "expected administrator or standardUser");
        return;
    }
    system.linkedToken = known->second;
}

// true or false, or an object of what CreateJob and AddFile answer on a machine where BITS is
// registered.
void ReadBits(ProfileObject& profile, SystemModel& system)
{
    const nlohmann::json* json = profile.Raw("bits");
    if (json == nullptr || json->is_boolean()) {
        profile.Boolean("bits", system.bits);
        return;
    }
    if (!json->is_object()) {
        profile.Reader().Fail(profile.FieldPath("bits"), "expected true, false or an object of createJob and addFile");
        return;
    }
    system.bits = true;
    profile.Object("bits", [&](ProfileObject& bits) {
        for (const auto& [key, result] :
             {std::pair{"createJob", &system.createJobResult}, std::pair{"addFile", &system.addFileResult}}) {
            if (bits.Raw(key) != nullptr) {
                std::uint32_t error = 0;
                bits.ErrorCode(key, error);
                *result = static_cast<HRESULT>(error);
            }
        }
    });
}

}  // namespace

void ReadSystem(ProfileObject& profile, Machine& machine)
{
    SystemModel& system = machine.system;
    ReadProcessorArchitecture(profile, system);
    profile.TextList("kernel32Functions", [&](std::wstring name) {
        if (name != L"GetNativeSystemInfo" && name != L"GetProductInfo") {
            profile.Reader().Fail(profile.FieldPath("kernel32Functions"),
                                  "expected GetNativeSystemInfo or GetProductInfo, not \"" + ToUtf8(name) + "\"");
            return;
        }
        system.kernel32Functions.insert(ToUtf8(name));
    });
    profile.Unsigned("productInfoType", system.productInfoType);
    profile.Boolean("serverR2", system.serverR2);
    if (profile.Raw("totalPhysicalMemory") != nullptr) {
        std::uint64_t bytes = 0;
        profile.Unsigned64("totalPhysicalMemory", bytes);
        system.totalPhysicalMemory = bytes;
    }
    ReadLinkedToken(profile, system);
    ReadBits(profile, system);
}

}  // namespace winapi::sim
