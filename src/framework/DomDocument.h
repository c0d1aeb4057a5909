#pragma once
// The XML document both documents of a run are read and written with, and the small reading
// helpers the input reader and the update mode share.

#include "winapi/XmlDom.h"

#include <memory>
#include <string>

enum class DocumentSetup { Ready, NotCreated, SettingRefused };

// An MSXML 3.0 document set up for loading: no validation, no external resources, white space
// kept, no document type declaration (where the DOM can refuse one). document is set only when the
// result is Ready; the callers report the failures, each on its own channel.
[[nodiscard]] DocumentSetup CreateConfiguredDocument(std::unique_ptr<winapi::XmlDocument>& document);

// The text of the first child element of that name. A negative result or S_FALSE (no such
// child) leaves text untouched.
[[nodiscard]] winapi::HRESULT ReadChildText(winapi::XmlNode& element, const std::wstring& childName,
                                            std::wstring& text);
