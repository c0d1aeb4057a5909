#pragma once
// Reading the parts of one test element of an input document.

#include "framework/DocumentVocabulary.h"
#include "winapi/XmlDom.h"

#include <string>
#include <vector>

// Appends the texts of the element's parameter children, in document order. An item that
// cannot be read is left out and makes the result a failure.
[[nodiscard]] winapi::HRESULT ReadParameters(winapi::XmlNode& testElement, std::vector<std::wstring>& parameters);

// The text of the first childName child whose only attribute is a language equal to the
// run's language (letter case ignored). With allowPercent false, a text holding "%" is passed
// over. text is set only on success.
[[nodiscard]] winapi::HRESULT SelectLocalizedText(winapi::XmlNode& testElement, const std::wstring& childName,
                                                  const std::wstring& language, std::wstring& text, bool allowPercent);
