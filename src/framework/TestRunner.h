#pragma once
// One run: read the input document into tests, run them in order, write the results document.

#include "framework/Test.h"
#include "winapi/XmlDom.h"

#include <memory>
#include <string>
#include <vector>

class TestRunner {
public:
    TestRunner(std::wstring inputFile, std::wstring outputFile, std::wstring language);

    // Negative when the input could not be read or the results could not be written.
    [[nodiscard]] winapi::HRESULT Execute();

    [[nodiscard]] winapi::HRESULT ReadInputDocument();
    void RunTests();
    [[nodiscard]] winapi::HRESULT WriteResultsDocument();

private:
    [[nodiscard]] winapi::HRESULT ParseTestElements(winapi::XmlDocument& document);
    [[nodiscard]] winapi::HRESULT ReadTestElement(winapi::XmlNode& element);

    [[nodiscard]] winapi::HRESULT BuildResultsDocument(winapi::XmlDocument& document);
    [[nodiscard]] winapi::HRESULT WriteTestElement(winapi::XmlDocument& document, winapi::XmlNode& parent, Test& test);

    std::wstring inputFile;
    std::wstring outputFile;
    std::wstring language;
    std::vector<std::unique_ptr<Test>> tests;
};
