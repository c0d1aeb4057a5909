#include "framework/DomDocument.h"

DocumentSetup CreateConfiguredDocument(std::unique_ptr<winapi::XmlDocument>& document)
{
    std::unique_ptr<winapi::XmlDocument> created;
    if (winapi::FAILED(winapi::CreateDomDocument30(created)) || !created) {
        return DocumentSetup::NotCreated;
    }
    if (winapi::FAILED(created->put_async(false)) || winapi::FAILED(created->put_validateOnParse(false)) ||
        winapi::FAILED(created->put_resolveExternals(false)) || winapi::FAILED(created->put_preserveWhiteSpace(true))) {
        return DocumentSetup::SettingRefused;
    }
    document = std::move(created);
    return DocumentSetup::Ready;
}

winapi::HRESULT ReadChildText(winapi::XmlNode& element, const std::wstring& childName, std::wstring& text)
{
    std::unique_ptr<winapi::XmlNode> child;
    const winapi::HRESULT found = element.selectSingleNode(childName, child);
    if (found != winapi::S_OK || !child) {
        return winapi::FAILED(found) ? found : winapi::S_FALSE;
    }
    return child->get_text(text);
}
