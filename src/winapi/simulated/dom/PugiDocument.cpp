#include "winapi/simulated/dom/PugiDocument.h"

#include "winapi/Utf8.h"
#include "winapi/Win32.h"
#include "winapi/simulated/DisturbedLastError.h"
#include "winapi/simulated/files/HostFiles.h"
#include "winapi/simulated/dom/PugiElement.h"
#include "winapi/simulated/dom/PugiWellFormedness.h"
#include "winapi/simulated/com/SimulatedComState.h"
#include "winapi/simulated/SimulatedMachine.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

namespace winapi::sim {

namespace {

// The Win32 error code in an HRESULT of the Win32 facility.
constexpr DWORD Win32CodeMask = 0x0000FFFFu;

// Comments, processing instructions and the declaration are kept so that a document saved
// after an update keeps them; they never count as text. pugixml keeps the white space between
// them and around the root element only in a fragment, so a document is read as one and
// WholeDocument checks what a fragment may have that a document may not.
constexpr unsigned ParseOptions = pugi::parse_default | pugi::parse_declaration | pugi::parse_comments | pugi::parse_pi |
                                  pugi::parse_doctype | pugi::parse_fragment;

bool IsBlank(std::string_view text)
{
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// One root element, and no text beside it but white space.
bool WholeDocument(const pugi::xml_document& document)
{
    int elements = 0;
    for (const pugi::xml_node child : document.children()) {
        if (child.type() == pugi::node_element) {
            ++elements;
        } else if (child.type() == pugi::node_cdata || (child.type() == pugi::node_pcdata && !IsBlank(child.value()))) {
            return false;
        }
    }
    return elements == 1;
}

// pugixml expands references while it parses, so the check of what it lets pass reads the file
// once more with the references left as written.
bool IsStrictlyWellFormedFile(const std::string& hostPath, unsigned options)
{
    std::ifstream file(hostPath, std::ios::binary);
    const std::string source{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    pugi::xml_document raw;
    const pugi::xml_parse_result result =
        raw.load_buffer(source.data(), source.size(), (options & ~pugi::parse_escapes) | pugi::parse_ws_pcdata);
    return result && IsStrictlyWellFormed(raw, source, result.encoding);
}

// MSXML's save ends the document with a line break after the root element, whether the document
// was built in memory (a results document) or loaded without one; a loaded document that already
// ends in one keeps its own.
void EndWithLineFeed(pugi::xml_document& document)
{
    const pugi::xml_node last = document.last_child();
    if (last.type() == pugi::node_pcdata && std::string_view(last.value()).ends_with('\n')) {
        return;
    }
    document.append_child(pugi::node_pcdata).set_value("\n");
}

std::optional<HRESULT> InjectedFailure(std::wstring_view call)
{
    if (const auto error = CurrentMachine().TakeFault(call)) {
        return static_cast<HRESULT>(*error);
    }
    return std::nullopt;
}

}  // namespace

HRESULT PugiDocument::get_text(std::wstring& text)
{
    return node_.GetText(text);
}

HRESULT PugiDocument::put_text(const std::wstring& /*text*/)
{
    // A document has no text of its own to set.
    return E_FAIL;
}

HRESULT PugiDocument::selectNodes(const std::wstring& query, std::unique_ptr<XmlNodeList>& list)
{
    return node_.SelectNodes(query, list);
}

HRESULT PugiDocument::selectSingleNode(const std::wstring& query, std::unique_ptr<XmlNode>& node)
{
    return node_.SelectSingleNode(query, node);
}

HRESULT PugiDocument::get_attributes(std::unique_ptr<XmlNamedNodeMap>& /*attributes*/)
{
    // A document has no attributes.
    return S_FALSE;
}

HRESULT PugiDocument::appendChild(XmlNode& child)
{
    return node_.AppendChild(child);
}

HRESULT PugiDocument::put_async(bool /*value*/)
{
    return InjectedFailure(L"XmlDocument.put_async").value_or(S_OK);
}

HRESULT PugiDocument::put_validateOnParse(bool /*value*/)
{
    return InjectedFailure(L"XmlDocument.put_validateOnParse").value_or(S_OK);
}

HRESULT PugiDocument::put_resolveExternals(bool /*value*/)
{
    return InjectedFailure(L"XmlDocument.put_resolveExternals").value_or(S_OK);
}

HRESULT PugiDocument::put_preserveWhiteSpace(bool value)
{
    if (const auto error = InjectedFailure(L"XmlDocument.put_preserveWhiteSpace")) {
        return *error;
    }
    preserveWhiteSpace_ = value;
    return S_OK;
}

HRESULT PugiDocument::load(const std::wstring& path, bool& loaded)
{
    if (const auto error = InjectedFailure(L"XmlDocument.load")) {
        loaded = false;
        return *error;
    }
    const unsigned options = ParseOptions | (preserveWhiteSpace_ ? pugi::parse_ws_pcdata : 0u);
    const std::string hostPath = HostPath(path).string();
    // Only a file can hold a document; pugixml would take a folder's reported size for its length.
    std::error_code ignored;
    // The strict reading comes first and is gone before the document is read: a large document
    // is never held three times over.
    const bool strict = std::filesystem::is_regular_file(hostPath, ignored) && IsStrictlyWellFormedFile(hostPath, options);
    const pugi::xml_parse_result result =
        strict ? document_.load_file(hostPath.c_str(), options) : pugi::xml_parse_result();
    loaded = result && WholeDocument(document_);
    if (!loaded) {
        document_.reset();
        encoding_ = pugi::encoding_utf8;
        return S_FALSE;
    }
    encoding_ = result.encoding;
    return S_OK;
}

HRESULT PugiDocument::save(const std::wstring& path)
{
    // Saving goes through the file calls, which may leave an error behind even when they succeed;
    // a failure that carries a Win32 error leaves that error, as a refused file write does.
    DisturbLastError();
    if (const auto error = InjectedFailure(L"XmlDocument.save")) {
        if (HRESULT_FROM_WIN32(static_cast<DWORD>(*error) & Win32CodeMask) == *error) {
            SetLastError(static_cast<DWORD>(*error) & Win32CodeMask);
        }
        return *error;
    }
    EndWithLineFeed(document_);
    // UTF-16 and UTF-32 are written with a byte order mark, which readers need to tell them apart.
    const bool wide = encoding_ != pugi::encoding_utf8 && encoding_ != pugi::encoding_latin1;
    const unsigned format = pugi::format_raw | pugi::format_no_declaration | (wide ? pugi::format_write_bom : 0u);
    if (const DWORD refusal = HostWriteRefusal(path); refusal != ERROR_SUCCESS) {
        SetLastError(refusal);
        return HRESULT_FROM_WIN32(refusal);
    }
    errno = 0;
    if (!document_.save_file(HostPath(path).c_str(), PUGIXML_TEXT(""), format, encoding_)) {
        const DWORD error = Win32ErrorFromErrno(errno);
        SetLastError(error);
        return HRESULT_FROM_WIN32(error);
    }
    return S_OK;
}

HRESULT PugiDocument::createElement(const std::wstring& tagName, std::unique_ptr<XmlNode>& element)
{
    if (const auto error = InjectedFailure(L"XmlDocument.createElement")) {
        return *error;
    }
    const pugi::xml_node created = staging_.append_child(ToUtf8(tagName).c_str());
    if (!created) {
        return E_OUTOFMEMORY;
    }
    element = std::make_unique<PugiElement>(created);
    return S_OK;
}

}  // namespace winapi::sim

namespace winapi {

HRESULT CreateDomDocument30(std::unique_ptr<XmlDocument>& document)
{
    if (const auto error = sim::CurrentMachine().TakeFault(L"CreateDomDocument30")) {
        return static_cast<HRESULT>(*error);
    }
    if (!sim::ApartmentEntered()) {
        return CO_E_NOTINITIALIZED;
    }
    document = std::make_unique<sim::PugiDocument>();
    return S_OK;
}

}  // namespace winapi
