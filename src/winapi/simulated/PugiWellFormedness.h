#pragma once
// What an XML parser such as MSXML refuses but pugixml lets pass: the simulated DOM checks it so
// that a document the real program could not load is not loaded here either.

#include <pugixml.hpp>

namespace winapi::sim {

// document must have been parsed without pugi::parse_escapes, so that every reference is still
// in the text as written. False when a text or attribute value holds a reference other than the
// five predefined ones and character references to characters XML allows, a control character,
// a "<" in an attribute value or "]]>" in character data, or when an element repeats an
// attribute name.
[[nodiscard]] bool IsStrictlyWellFormed(const pugi::xml_document& document);

}  // namespace winapi::sim
