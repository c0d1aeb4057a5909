#pragma once
// What an XML parser such as MSXML refuses but pugixml lets pass: the simulated DOM checks it so
// that a document the real program could not load is not loaded here either.

#include <pugixml.hpp>

#include <string_view>

namespace winapi::sim {

// document must have been parsed from source without pugi::parse_escapes and with
// pugi::parse_ws_pcdata, so that every reference is still in the text as written and white space
// before the declaration shows; encoding is the one pugixml found. False when a text or attribute
// value holds a reference other than the five predefined ones and character references to
// characters XML allows, a control character, a "<" in an attribute value or "]]>" in character
// data, when an element repeats an attribute name, a comment holds "--" or ends in "-", the
// declaration does not open the document, or when a document in UTF-8 (by its declaration or for
// want of one) holds a byte sequence that is not UTF-8.
[[nodiscard]] bool IsStrictlyWellFormed(const pugi::xml_document& document, std::string_view source,
                                        pugi::xml_encoding encoding);

}  // namespace winapi::sim
