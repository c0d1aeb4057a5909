#include "main/InputUpdater.h"

#include "framework/DocumentVocabulary.h"
#include "framework/DomDocument.h"
#include "main/DocumentFileSave.h"
#include "platform/Console.h"
#include "winapi/UniqueCoInit.h"

#include <memory>
#include <string_view>

namespace {

constexpr std::string_view CouldNotCreateMessage = "[TARNWICK INPUT UPDATER] Couldn't create a DOM object\n";
constexpr std::string_view CouldNotReadMessage = "[TARNWICK INPUT UPDATER] Couldn't read from %wS\nERROR = %x\n";
constexpr std::string_view ReadFromMessage = "[TARNWICK INPUT UPDATER] Read from %wS\n";
constexpr std::string_view AddingMessage = "adding %wS to input.xml\n";
constexpr std::string_view SavingMessage = "Saving input.xml\n";

constexpr int Failure = -1;

const wchar_t* TextOrNull(const UpdateValue& value)
{
    return value ? value->c_str() : nullptr;
}

// The document both halves load, or null: a creation failure is silent, a refused setting is
// reported.
std::unique_ptr<winapi::XmlDocument> CreateUpdaterDocument()
{
    std::unique_ptr<winapi::XmlDocument> document;
    if (CreateConfiguredDocument(document) == DocumentSetup::SettingRefused) {
        ConsolePrintf(CouldNotCreateMessage);
    }
    return document;
}

bool LoadDocument(winapi::XmlDocument& document, const std::wstring& path)
{
    bool loaded = false;
    const winapi::HRESULT hr = document.load(path, loaded);
    if (winapi::FAILED(hr) || !loaded) {
        ConsolePrintf(CouldNotReadMessage, path, hr);
        return false;
    }
    ConsolePrintf(ReadFromMessage, path);
    return true;
}

// An absent value never counts as present, so it is appended again on every update.
bool HasParameter(winapi::XmlNode& test, const UpdateValue& value)
{
    if (!value) {
        return false;
    }
    std::unique_ptr<winapi::XmlNodeList> parameters;
    long length = 0;
    if (winapi::FAILED(test.selectNodes(ParameterElement, parameters)) || !parameters ||
        winapi::FAILED(parameters->get_length(length))) {
        return false;
    }
    for (long i = 0; i < length; ++i) {
        std::unique_ptr<winapi::XmlNode> parameter;
        std::wstring text;
        if (parameters->get_item(i, parameter) == winapi::S_OK && parameter &&
            winapi::SUCCEEDED(parameter->get_text(text)) && text == *value) {
            return true;
        }
    }
    return false;
}

// 0 when the element has another name; otherwise the result of giving the new parameter its text.
winapi::HRESULT AppendParameterIfNamed(winapi::XmlDocument& document, const std::wstring& testName,
                                       winapi::XmlNode& test, const UpdateValue& value)
{
    std::wstring name;
    if (ReadChildText(test, NameElement, name) != winapi::S_OK) {
        return Failure;
    }
    if (name != testName) {
        return winapi::S_OK;
    }
    std::unique_ptr<winapi::XmlNode> parameter;
    if (winapi::FAILED(document.createElement(ParameterElement, parameter)) || !parameter) {
        return Failure;
    }
    (void)test.appendChild(*parameter);
    return parameter->put_text(value.value_or(std::wstring()));
}

}  // namespace

int InputUpdater::ReadValueFromOutput(const std::wstring& resultsPath, const std::wstring& testName, UpdateValue& value)
{
    // COM for the one document operation, left on every way out.
    const winapi::UniqueCoInit com;
    const std::unique_ptr<winapi::XmlDocument> document = CreateUpdaterDocument();
    if (!document || !LoadDocument(*document, resultsPath)) {
        return Failure;
    }
    std::unique_ptr<winapi::XmlNodeList> tests;
    long length = 0;
    if (winapi::FAILED(document->selectNodes(ResultTestsQuery, tests)) || !tests ||
        winapi::FAILED(tests->get_length(length)) || length == 0) {
        return Failure;
    }
    // The result is that of the last test element, so a last element without a readable name
    // fails the read even after an earlier one matched.
    int result = Failure;
    for (long i = 0; i < length; ++i) {
        std::unique_ptr<winapi::XmlNode> test;
        std::wstring name;
        if (tests->get_item(i, test) != winapi::S_OK || !test ||
            ReadChildText(*test, NameElement, name) != winapi::S_OK) {
            result = Failure;
            continue;
        }
        result = 0;
        std::wstring moreInfo;
        if (name == testName && ReadChildText(*test, MoreInfoElement, moreInfo) == winapi::S_OK) {
            value = std::move(moreInfo);
        }
    }
    return result;
}

int InputUpdater::AddValueToInput(const std::wstring& inputPath, const std::wstring& testName, const UpdateValue& value)
{
    ConsolePrintf(AddingMessage, TextOrNull(value));
    // COM for the one document operation, left on every way out.
    const winapi::UniqueCoInit com;
    const std::unique_ptr<winapi::XmlDocument> document = CreateUpdaterDocument();
    if (!document || !LoadDocument(*document, inputPath)) {
        return Failure;
    }
    std::unique_ptr<winapi::XmlNodeList> tests;
    if (winapi::FAILED(document->selectNodes(TestElementsQuery, tests)) || !tests) {
        return Failure;
    }
    long length = 0;
    if (winapi::FAILED(tests->get_length(length))) {
        length = 0;
    }
    // The result is that of the last element that did not hold the value yet.
    int result = Failure;
    for (long i = 0; i < length; ++i) {
        std::unique_ptr<winapi::XmlNode> test;
        if (tests->get_item(i, test) != winapi::S_OK || !test) {
            result = Failure;
            continue;
        }
        if (!HasParameter(*test, value)) {
            result = static_cast<int>(AppendParameterIfNamed(*document, testName, *test, value));
        }
    }
    if (result >= 0) {
        ConsolePrintf(SavingMessage);
        SaveOverDocumentFile(*document, inputPath);
    }
    return result;
}
