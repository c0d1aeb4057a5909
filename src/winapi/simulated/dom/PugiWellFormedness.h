#pragma once
// What an XML parser such as MSXML refuses but pugixml lets pass: the simulated DOM checks it so
// that a document the real program could not load is not loaded here either.

#include <pugixml.hpp>

#include <cstddef>
#include <optional>
#include <string_view>

namespace winapi::sim {

// document must have been parsed from source without pugi::parse_escapes and with
// pugi::parse_ws_pcdata, so that every reference is still in the text as written and white space
// before the declaration shows; encoding is the one pugixml found. The offset into source of the
// first thing a strict parser refuses, nothing when there is none: a text or attribute value that
// holds a reference other than the five predefined ones and character references to characters
// XML allows, a control character, a "<" in an attribute value or "]]>" in character data, an
// element that repeats an attribute name, a comment that holds "--" or ends in "-", a declaration
// that does not open the document, or, in a document in UTF-8 (by its declaration or for want of
// one), a byte sequence that is not UTF-8. A value's own place is given where pugixml keeps one;
// an attribute's is its element's.
[[nodiscard]] std::optional<std::ptrdiff_t> FirstIllFormedOffset(const pugi::xml_document& document,
                                                                 std::string_view source, pugi::xml_encoding encoding);

// The offset into the source of the first node that keeps document from being one document (a
// second root element, or text beside the root); the end of source when there is no root
// element; nothing when it is one.
[[nodiscard]] std::optional<std::ptrdiff_t> FirstNodeBesideRoot(const pugi::xml_document& document,
                                                                std::string_view source);

}  // namespace winapi::sim
