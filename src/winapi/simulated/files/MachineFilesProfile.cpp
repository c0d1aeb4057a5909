#include "winapi/simulated/files/MachineFilesProfile.h"

#include "winapi/Utf8.h"

#include <charconv>

namespace winapi::sim {

namespace {

constexpr std::size_t TableNameLength = 8;

// "040904b0": a language and a code page, four hexadecimal digits each.
bool ReadTableName(const std::wstring& name, std::pair<WORD, WORD>& translation)
{
    const std::string digits = ToUtf8(name);
    if (digits.size() != TableNameLength) {
        return false;
    }
    unsigned language = 0;
    unsigned codePage = 0;
    const char* middle = digits.data() + TableNameLength / 2;
    const char* end = digits.data() + TableNameLength;
    const auto first = std::from_chars(digits.data(), middle, language, 16);
    const auto second = std::from_chars(middle, end, codePage, 16);
    if (first.ptr != middle || second.ptr != end || first.ec != std::errc() || second.ec != std::errc()) {
        return false;
    }
    translation = {static_cast<WORD>(language), static_cast<WORD>(codePage)};
    return true;
}

void ReadVersionResource(ProfileObject& version, VersionResource& resource)
{
    ProfileReader& reader = version.Reader();
    if (version.Raw("translations") != nullptr) {
        resource.translations.emplace();
    }
    std::size_t index = 0;
    version.TextList("translations", [&](std::wstring name) {
        std::pair<WORD, WORD> translation;
        if (!ReadTableName(name, translation)) {
            reader.Fail(version.FieldPath("translations") + "[" + std::to_string(index) + "]",
                        "expected a language and a code page as eight hexadecimal digits, e.g. \"040904b0\"");
        }
        resource.translations->push_back(translation);
        ++index;
    });
    version.Members(
        "strings", [&](const std::wstring& tableName, const nlohmann::json& tableJson, const std::string& tablePath) {
            std::pair<WORD, WORD> translation;
            if (!ReadTableName(tableName, translation)) {
                reader.Fail(tablePath, "a string table is named by eight hexadecimal digits, e.g. \"040904b0\"");
                return;
            }
            if (!tableJson.is_object()) {
                reader.Fail(tablePath, "expected an object of strings");
                return;
            }
            auto& table = resource.strings[tableName];
            for (const auto& [name, text] : tableJson.items()) {
                if (!text.is_string()) {
                    reader.Fail(tablePath + "." + name, "expected a string");
                    return;
                }
                table[FromUtf8(name)] = FromUtf8(text.get_ref<const std::string&>());
            }
        });
}

}  // namespace

void ReadMachineFiles(ProfileObject& profile, Machine& machine)
{
    ProfileReader& reader = profile.Reader();
    profile.Members("files", [&](const std::wstring& path, const nlohmann::json& fileJson, const std::string& field) {
        if (!IsMachinePath(path)) {
            reader.Fail(field, "a machine file's path starts with a drive letter, e.g. \"C:\\\\Windows\"");
            return;
        }
        const auto emplaced = machine.files.try_emplace(NormalMachinePath(path));
        if (!emplaced.second) {
            reader.Fail(field, "the same path is listed twice");
            return;
        }
        MachineFile& file = emplaced.first->second;
        ProfileObject fileObject(fileJson, field, reader);
        if (fileObject.Raw("entries") != nullptr) {
            file.entries.emplace();
        }
        fileObject.TextList("entries", [&](std::wstring name) { file.entries->push_back(std::move(name)); });
        fileObject.Object("version",
                          [&](ProfileObject& version) { ReadVersionResource(version, file.version.emplace()); });
        if (file.entries && file.version) {
            reader.Fail(field, "a folder (\"entries\") has no version resource");
            return;
        }
        fileObject.Finish();
    });
}

}  // namespace winapi::sim
