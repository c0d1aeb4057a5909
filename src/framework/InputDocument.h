#pragma once
// Reading the parts of one test element of an input document.

#include "winapi/XmlDom.h"

#include <string>
#include <vector>

// The test elements of a document, wherever its input_tests elements stand.
inline const std::wstring TestElementsQuery = L"//input_tests/test";
inline const std::wstring NameElement = L"name";
inline const std::wstring DescriptiveNameElement = L"descriptive_name";
inline const std::wstring DescriptiveSolutionElement = L"descriptive_solution";
// The one attribute a descriptive text carries: the language it is written in.
inline const std::wstring LanguageAttribute = L"language";

// Appends the texts of the element's parameter children, in document order. An item that
// cannot be read is left out and makes the result a failure.
[[nodiscard]] winapi::HRESULT ReadParameters(winapi::XmlNode& testElement, std::vector<std::wstring>& parameters);

// The text of the first childName child whose only attribute is a language equal to the
// run's language (letter case ignored). With allowPercent false, a text holding "%" is passed
// over. text is set only on success.
[[nodiscard]] winapi::HRESULT SelectLocalizedText(winapi::XmlNode& testElement, const std::wstring& childName,
                                                  const std::wstring& language, std::wstring& text, bool allowPercent);
