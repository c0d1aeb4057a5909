#include "winapi/WinTypes.h"
#include "winapi/XmlDom.h"

#include <utility>

#include "winapi/native/MsxmlDocument.h"
#include "winapi/native/MsxmlNode.h"
#include "winapi/native/UniqueBstr.h"
#include "winapi/native/UniqueVariant.h"
#include "winapi/native/WindowsHeaders.h"

namespace winapi {
namespace {

// MSXML 3.0's document class, DOMDocument30, and the interface the program asks it for.
constexpr CLSID kClsidDomDocument30 = {0xF5078F32, 0xC551, 0x11D3, {0x89, 0xB9, 0x00, 0x00, 0xF8, 0x1F, 0xE2, 0x21}};
constexpr IID kIidXmlDomDocument = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

VARIANT_BOOL ToVariantBool(bool value)
{
    return value ? VARIANT_TRUE : VARIANT_FALSE;
}

}  // namespace

HRESULT CreateDomDocument30(std::unique_ptr<XmlDocument>& document)
{
    native::ComPtr<IXMLDOMDocument> created;
    const HRESULT hr = ::CoCreateInstance(kClsidDomDocument30, nullptr, CLSCTX_INPROC_SERVER, kIidXmlDomDocument,
                                          reinterpret_cast<void**>(created.GetAddressOf()));
    if (SUCCEEDED(hr) && created) {
        document = std::make_unique<native::MsxmlDocument>(std::move(created));
    }
    return hr;
}

namespace native {

MsxmlDocument::MsxmlDocument(ComPtr<IXMLDOMDocument> document)
    : document_(std::move(document)), node_(ComPtr<IXMLDOMNode>(document_))
{
}

HRESULT MsxmlDocument::get_text(std::wstring& text)
{
    return node_.get_text(text);
}

HRESULT MsxmlDocument::put_text(const std::wstring& text)
{
    return node_.put_text(text);
}

HRESULT MsxmlDocument::selectNodes(const std::wstring& query, std::unique_ptr<XmlNodeList>& list)
{
    return node_.selectNodes(query, list);
}

HRESULT MsxmlDocument::selectSingleNode(const std::wstring& query, std::unique_ptr<XmlNode>& node)
{
    return node_.selectSingleNode(query, node);
}

HRESULT MsxmlDocument::get_attributes(std::unique_ptr<XmlNamedNodeMap>& attributes)
{
    return node_.get_attributes(attributes);
}

HRESULT MsxmlDocument::appendChild(XmlNode& child)
{
    return node_.appendChild(child);
}

HRESULT MsxmlDocument::put_async(bool value)
{
    return document_->put_async(ToVariantBool(value));
}

HRESULT MsxmlDocument::put_validateOnParse(bool value)
{
    return document_->put_validateOnParse(ToVariantBool(value));
}

HRESULT MsxmlDocument::put_resolveExternals(bool value)
{
    return document_->put_resolveExternals(ToVariantBool(value));
}

HRESULT MsxmlDocument::put_preserveWhiteSpace(bool value)
{
    return document_->put_preserveWhiteSpace(ToVariantBool(value));
}

HRESULT MsxmlDocument::load(const std::wstring& path, bool& loaded)
{
    UniqueVariant source;
    const HRESULT made = source.SetString(path);
    if (FAILED(made)) {
        return made;
    }
    VARIANT_BOOL success = VARIANT_FALSE;
    const HRESULT hr = document_->load(source.get(), &success);
    if (SUCCEEDED(hr)) {
        loaded = success == VARIANT_TRUE;
    }
    return hr;
}

HRESULT MsxmlDocument::get_parseError(long& line, long& linePosition, std::wstring& reason)
{
    ComPtr<IXMLDOMParseError> error;
    HRESULT hr = document_->get_parseError(error.GetAddressOf());
    if (FAILED(hr) || !error) {
        return FAILED(hr) ? hr : E_FAIL;
    }
    long errorLine = 0;
    long errorPosition = 0;
    UniqueBstr errorReason;
    if (FAILED(hr = error->get_line(&errorLine)) || FAILED(hr = error->get_linepos(&errorPosition)) ||
        FAILED(hr = error->get_reason(errorReason.put()))) {
        return hr;
    }
    line = errorLine;
    linePosition = errorPosition;
    reason = errorReason.str();
    return S_OK;
}

HRESULT MsxmlDocument::save(const std::wstring& path)
{
    UniqueVariant destination;
    const HRESULT made = destination.SetString(path);
    if (FAILED(made)) {
        return made;
    }
    return document_->save(destination.get());
}

HRESULT MsxmlDocument::createElement(const std::wstring& tagName, std::unique_ptr<XmlNode>& element)
{
    const UniqueBstr name(tagName);
    if (!name.is_valid()) {
        return E_OUTOFMEMORY;
    }
    ComPtr<IXMLDOMElement> created;
    const HRESULT hr = document_->createElement(name.get(), created.GetAddressOf());
    if (SUCCEEDED(hr) && created) {
        element = std::make_unique<MsxmlNode>(ComPtr<IXMLDOMNode>(std::move(created)));
    }
    return hr;
}

}  // namespace native
}  // namespace winapi
