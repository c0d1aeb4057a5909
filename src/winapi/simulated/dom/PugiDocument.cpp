#include "winapi/simulated/dom/PugiDocument.h"

#include "winapi/Utf8.h"
#include "winapi/Win32.h"
#include "winapi/simulated/DisturbedLastError.h"
#include "winapi/simulated/files/HostFiles.h"
#include "winapi/simulated/dom/PugiElement.h"
#include "winapi/simulated/dom/PugiWellFormedness.h"
#include "winapi/simulated/com/SimulatedComState.h"
#include "winapi/simulated/SimulatedMachine.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>

namespace winapi::sim {

namespace {

// The Win32 error code in an HRESULT of the Win32 facility.
constexpr DWORD Win32CodeMask = 0x0000FFFFu;

// Comments, processing instructions and the declaration are kept so that a document saved
// after an update keeps them; they never count as text. pugixml keeps the white space between
// them and around the root element only in a fragment, so a document is read as one and
// FirstNodeBesideRoot finds what a fragment may have that a document may not.
constexpr unsigned ParseOptions = pugi::parse_default | pugi::parse_declaration | pugi::parse_comments |
                                  pugi::parse_pi | pugi::parse_doctype | pugi::parse_fragment;

constexpr std::wstring_view MissingFileReason = L"The system cannot locate the object specified.";
constexpr std::wstring_view RefusedContentReason =
    L"The document holds a reference, character, comment or declaration that XML does not allow.";
constexpr std::wstring_view RootElementReason =
    L"The document must hold exactly one root element and no text beside it.";

struct ParseFailure {
    long line = 0;
    long position = 0;
    std::wstring reason;
};

// Line and column, from 1, of a byte offset into source.
ParseFailure FailureAt(std::string_view source, std::ptrdiff_t offset, std::wstring reason)
{
    const std::string_view before = source.substr(0, static_cast<std::size_t>(std::max<std::ptrdiff_t>(offset, 0)));
    const std::size_t lineStart = before.rfind('\n');
    const long line = 1 + static_cast<long>(std::ranges::count(before, '\n'));
    const long position =
        static_cast<long>(before.size() - (lineStart == std::string_view::npos ? 0 : lineStart + 1)) + 1;
    return {line, position, std::move(reason)};
}

// pugixml expands references while it parses, so the check of what it lets pass reads the file
// once more with the references left as written. Nothing when the strict reading accepts it.
std::optional<ParseFailure> StrictReadingFailure(const std::string& hostPath, unsigned options)
{
    std::ifstream file(hostPath, std::ios::binary);
    const std::string source{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    pugi::xml_document raw;
    const pugi::xml_parse_result result =
        raw.load_buffer(source.data(), source.size(), (options & ~pugi::parse_escapes) | pugi::parse_ws_pcdata);
    if (!result) {
        return FailureAt(source, result.offset, FromUtf8(result.description()));
    }
    if (const auto refused = FirstIllFormedOffset(raw, source, result.encoding)) {
        return FailureAt(source, *refused, std::wstring(RefusedContentReason));
    }
    if (const auto beside = FirstNodeBesideRoot(raw, source)) {
        return FailureAt(source, *beside, std::wstring(RootElementReason));
    }
    return std::nullopt;
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
    std::optional<ParseFailure> failure;
    if (!std::filesystem::is_regular_file(hostPath, ignored)) {
        failure = ParseFailure{0, 0, std::wstring(MissingFileReason)};
    } else {
        failure = StrictReadingFailure(hostPath, options);
    }
    pugi::xml_parse_result result;
    if (!failure) {
        result = document_.load_file(hostPath.c_str(), options);
        if (!result) {
            failure = ParseFailure{0, 0, FromUtf8(result.description())};
        }
    }
    loaded = !failure;
    if (failure) {
        document_.reset();
        encoding_ = pugi::encoding_utf8;
        errorLine_ = failure->line;
        errorPosition_ = failure->position;
        errorReason_ = std::move(failure->reason);
        return S_FALSE;
    }
    errorLine_ = 0;
    errorPosition_ = 0;
    errorReason_.clear();
    encoding_ = result.encoding;
    return S_OK;
}

HRESULT PugiDocument::get_parseError(long& line, long& linePosition, std::wstring& reason)
{
    line = errorLine_;
    linePosition = errorPosition_;
    reason = errorReason_;
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
