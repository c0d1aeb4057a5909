#include "winapi/simulated/dom/PugiWellFormedness.h"

#include "winapi/Utf8.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace winapi::sim {

namespace {

bool IsXmlCharacter(std::uint32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

bool IsCharacterReference(std::string_view name)
{
    if (!name.starts_with('#')) {
        return false;
    }
    const bool hex = name.starts_with("#x");
    const std::string_view digits = name.substr(hex ? 2 : 1);
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
    return !digits.empty() && error == std::errc() && end == digits.data() + digits.size() && IsXmlCharacter(value);
}

constexpr std::size_t Valid = std::string_view::npos;

// The place of the first control character that XML does not allow; Valid when there is none.
std::size_t ControlCharacter(std::string_view text)
{
    const auto found = std::ranges::find_if(
        text, [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r'; });
    return found == text.end() ? Valid : static_cast<std::size_t>(found - text.begin());
}

// Entities a document type declares are not expanded by pugixml: a reference to one counts as
// undefined, so such a document is refused instead of being read with the reference as text.
// The place of the first thing refused; Valid when there is none.
std::size_t InvalidText(std::string_view text)
{
    std::size_t refused = ControlCharacter(text);
    for (std::size_t amp = text.find('&'); amp != std::string_view::npos && amp < refused;
         amp = text.find('&', amp + 1)) {
        const std::size_t semicolon = text.find(';', amp);
        if (semicolon == std::string_view::npos) {
            return amp;
        }
        const std::string_view name = text.substr(amp + 1, semicolon - amp - 1);
        if (name != "lt" && name != "gt" && name != "amp" && name != "apos" && name != "quot" &&
            !IsCharacterReference(name)) {
            return amp;
        }
    }
    return refused;
}

// The offset into source of the character at index of a value that starts at start: pugixml
// turned each "\r\n" of the value into one "\n", so the source may hold more before it.
std::ptrdiff_t SourceOffset(std::string_view source, std::ptrdiff_t start, std::size_t index)
{
    auto at = static_cast<std::size_t>(std::max<std::ptrdiff_t>(start, 0));
    for (std::size_t counted = 0; counted < index && at < source.size(); ++counted) {
        at += source.compare(at, 2, "\r\n") == 0 ? 2U : 1U;
    }
    return static_cast<std::ptrdiff_t>(at);
}

bool IsValidElement(const pugi::xml_node element)
{
    std::vector<std::string_view> names;
    for (const pugi::xml_attribute attribute : element.attributes()) {
        const std::string_view value = attribute.value();
        if (value.find('<') != std::string_view::npos || InvalidText(value) != Valid) {
            return false;
        }
        names.emplace_back(attribute.name());
    }
    std::ranges::sort(names);
    return std::ranges::adjacent_find(names) == names.end();
}

// The place in the node's value of the first thing refused, 0 when it is the node as a whole;
// Valid when there is none.
std::size_t InvalidPlace(const pugi::xml_node node)
{
    const std::string_view text = node.value();
    switch (node.type()) {
    case pugi::node_element: return IsValidElement(node) ? Valid : 0;
    case pugi::node_pcdata: return std::min(text.find("]]>"), InvalidText(text));
    case pugi::node_cdata: return ControlCharacter(text);
    case pugi::node_comment: {
        const std::size_t dashes = std::min(text.find("--"), ControlCharacter(text));
        return dashes == Valid && text.ends_with('-') ? text.size() - 1 : dashes;
    }
    case pugi::node_declaration:
        // Only at the very start: not even white space may stand before it.
        return node.parent().type() == pugi::node_document && !node.previous_sibling() ? Valid : 0;
    default: return Valid;
    }
}

// A document without a declaration, or without an encoding in it, is UTF-8; pugixml reads any
// other declared encoding but ISO-8859-1 as UTF-8 too, which the check must leave alone.
bool DeclaresUtf8(const pugi::xml_document& document)
{
    const pugi::xml_node declaration = document.first_child();
    if (declaration.type() != pugi::node_declaration) {
        return true;
    }
    const pugi::xml_attribute encoding = declaration.attribute("encoding");
    std::string name = encoding ? encoding.value() : "UTF-8";
    std::ranges::transform(name, name.begin(),
                           [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return name == "UTF-8";
}

bool IsBlank(std::string_view text)
{
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

}  // namespace

std::optional<std::ptrdiff_t> FirstIllFormedOffset(const pugi::xml_document& document, std::string_view source,
                                                   pugi::xml_encoding encoding)
{
    if (encoding == pugi::encoding_utf8 && DeclaresUtf8(document)) {
        if (const std::size_t invalid = FirstInvalidUtf8(source); invalid != std::string_view::npos) {
            return static_cast<std::ptrdiff_t>(invalid);
        }
    }
    // In document order, climbing back through parent links: no nesting depth exhausts the stack.
    pugi::xml_node node = document.first_child();
    while (node) {
        if (const std::size_t place = InvalidPlace(node); place != Valid) {
            return SourceOffset(source, node.offset_debug(), place);
        }
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && !node.next_sibling()) {
            node = node.parent();
        }
        if (node) {
            node = node.next_sibling();
        }
    }
    return std::nullopt;
}

std::optional<std::ptrdiff_t> FirstNodeBesideRoot(const pugi::xml_document& document, std::string_view source)
{
    bool root = false;
    for (const pugi::xml_node child : document.children()) {
        const bool text =
            child.type() == pugi::node_cdata || (child.type() == pugi::node_pcdata && !IsBlank(child.value()));
        if (text || (child.type() == pugi::node_element && root)) {
            return child.offset_debug();
        }
        root = root || child.type() == pugi::node_element;
    }
    if (!root) {
        return static_cast<std::ptrdiff_t>(source.size());
    }
    return std::nullopt;
}

}  // namespace winapi::sim
