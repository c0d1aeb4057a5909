#pragma once
// Saving a document over the file it was loaded from, so that no moment of the save, and no crash
// or power cut during it, leaves the file lost or half written.

#include "winapi/XmlDom.h"

#include <string>

// The name beside path under which the new document is written before it takes path's place. A
// file left under it by a save that was cut short is only ever overwritten or removed.
[[nodiscard]] std::wstring SavingPath(const std::wstring& path);

// Writes the document beside the file, flushes it to the disk and puts it in the file's place in
// one step that keeps the file's attributes, security and streams, then flushes the folder. When
// no file can be written beside it (a folder that refuses new files), the document is saved over
// the file in place, as the DOM's own save does. Nothing is reported: a failure leaves the old
// file as it was.
void SaveOverDocumentFile(winapi::XmlDocument& document, const std::wstring& path);
