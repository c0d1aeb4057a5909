#include "framework/InputDocument.h"

#include "framework/RunResult.h"
#include "framework/TraceLog.h"
#include "platform/WideText.h"

#include <memory>
#include <string_view>

namespace {

constexpr std::string_view NodeCountMessage = "[TARNWICK] there are %d %wS nodes\n";
constexpr std::string_view AttributeCountMessage = "[TARNWICK] list length = %d\n";
constexpr std::string_view LanguageMessage = "[TARNWICK] language = %wS\n";
// The only trace line without a line end.
constexpr std::string_view LanguageAcceptedMessage = "[TARNWICK] Language OK";

}  // namespace

winapi::HRESULT ReadParameters(winapi::XmlNode& testElement, std::vector<std::wstring>& parameters)
{
    std::unique_ptr<winapi::XmlNodeList> list;
    if (winapi::FAILED(testElement.selectNodes(ParameterElement, list)) || !list) {
        return RunFailure;
    }
    long length = 0;
    if (winapi::FAILED(list->get_length(length))) {
        return RunFailure;
    }
    winapi::HRESULT result = winapi::S_OK;
    for (long index = 0; index < length; ++index) {
        std::unique_ptr<winapi::XmlNode> item;
        std::wstring text;
        if (winapi::FAILED(list->get_item(index, item)) || !item || winapi::FAILED(item->get_text(text))) {
            result = RunFailure;
            continue;
        }
        parameters.push_back(std::move(text));
    }
    return result;
}

winapi::HRESULT SelectLocalizedText(winapi::XmlNode& testElement, const std::wstring& childName,
                                    const std::wstring& language, std::wstring& text, bool allowPercent)
{
    std::unique_ptr<winapi::XmlNodeList> list;
    long length = 0;
    if (winapi::FAILED(testElement.selectNodes(childName, list)) || !list || winapi::FAILED(list->get_length(length)) ||
        length == 0) {
        return RunFailure;
    }
    TraceLog(NodeCountMessage, length, childName);
    winapi::HRESULT result = RunFailure;
    for (long index = 0; index < length; ++index) {
        std::unique_ptr<winapi::XmlNode> child;
        std::unique_ptr<winapi::XmlNamedNodeMap> attributes;
        if (winapi::FAILED(list->get_item(index, child)) || !child ||
            winapi::FAILED(child->get_attributes(attributes)) || !attributes) {
            continue;
        }
        long attributeCount = 0;
        if (winapi::FAILED(attributes->get_length(attributeCount))) {
            continue;
        }
        TraceLog(AttributeCountMessage, attributeCount);
        std::wstring childLanguage;
        if (attributeCount != 1 || attributes->getNamedItemValue(LanguageAttribute, childLanguage) != winapi::S_OK) {
            continue;
        }
        TraceLog(LanguageMessage, childLanguage);
        if (!EqualIgnoringCase(childLanguage, language)) {
            continue;
        }
        TraceLog(LanguageAcceptedMessage);
        std::wstring childText;
        const winapi::HRESULT read = child->get_text(childText);
        if (winapi::FAILED(read)) {
            result = read;
            continue;
        }
        if (!allowPercent && childText.find(L'%') != std::wstring::npos) {
            result = RunFailure;
            continue;
        }
        text = std::move(childText);
        return read;
    }
    return result;
}
