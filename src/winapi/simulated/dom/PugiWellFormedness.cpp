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

bool HasControlCharacter(std::string_view text)
{
    return std::ranges::any_of(
        text, [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r'; });
}

// Entities a document type declares are not expanded by pugixml: a reference to one counts as
// undefined, so such a document is refused instead of being read with the reference as text.
bool IsValidText(std::string_view text)
{
    if (HasControlCharacter(text)) {
        return false;
    }
    for (std::size_t amp = text.find('&'); amp != std::string_view::npos; amp = text.find('&', amp + 1)) {
        const std::size_t semicolon = text.find(';', amp);
        if (semicolon == std::string_view::npos) {
            return false;
        }
        const std::string_view name = text.substr(amp + 1, semicolon - amp - 1);
        if (name != "lt" && name != "gt" && name != "amp" && name != "apos" && name != "quot" &&
            !IsCharacterReference(name)) {
            return false;
        }
    }
    return true;
}

bool IsValidElement(const pugi::xml_node element)
{
    std::vector<std::string_view> names;
    for (const pugi::xml_attribute attribute : element.attributes()) {
        const std::string_view value = attribute.value();
        if (value.find('<') != std::string_view::npos || !IsValidText(value)) {
            return false;
        }
        names.emplace_back(attribute.name());
    }
    std::ranges::sort(names);
    return std::ranges::adjacent_find(names) == names.end();
}

bool IsValidNode(const pugi::xml_node node)
{
    switch (node.type()) {
    case pugi::node_element: return IsValidElement(node);
    case pugi::node_pcdata: {
        const std::string_view text = node.value();
        return text.find("]]>") == std::string_view::npos && IsValidText(text);
    }
    case pugi::node_cdata: return !HasControlCharacter(node.value());
    case pugi::node_comment: {
        const std::string_view text = node.value();
        return text.find("--") == std::string_view::npos && !text.ends_with('-') && !HasControlCharacter(text);
    }
    case pugi::node_declaration:
        // Only at the very start: not even white space may stand before it.
        return node.parent().type() == pugi::node_document && !node.previous_sibling();
    default: return true;
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

}  // namespace

bool IsStrictlyWellFormed(const pugi::xml_document& document, std::string_view source, pugi::xml_encoding encoding)
{
    if (encoding == pugi::encoding_utf8 && DeclaresUtf8(document) && !IsValidUtf8(source)) {
        return false;
    }
    // In document order, climbing back through parent links: no nesting depth exhausts the stack.
    pugi::xml_node node = document.first_child();
    while (node) {
        if (!IsValidNode(node)) {
            return false;
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
    return true;
}

}  // namespace winapi::sim
