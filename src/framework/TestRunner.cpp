#include "framework/TestRunner.h"

#include "framework/DocumentVocabulary.h"
#include "framework/DomDocument.h"
#include "framework/InputDocument.h"
#include "framework/RunResult.h"
#include "framework/TestRegistry.h"
#include "framework/TraceLog.h"
#include "platform/Console.h"
#include "winapi/Win32.h"

#include <string_view>

namespace {

constexpr std::string_view ErrorReadingMessage = "[TARNWICK] Error reading from %wS\n";
constexpr std::string_view ReadSucceededMessage = "[TARNWICK]Successfully read from %wS\n";
constexpr std::string_view ErrorWritingMessage = "[TARNWICK]Error writing to %wS\n";
constexpr std::string_view WriteSucceededMessage = "[TARNWICK]Successfully wrote to %wS\n";
constexpr std::string_view PerformingTestMessage = "[TARNWICK] Performing Test %wS\n";
constexpr std::string_view DomObjectMessage = "[TARNWICK] Couldn't create a DOM object\n";
constexpr std::string_view CouldNotReadMessage = "[TARNWICK] Couldn't read from %wS\nERROR = %x\n";
constexpr std::string_view ReadFromMessage = "[TARNWICK] Read from %wS\n";
constexpr std::string_view WritingMessage = "writing xml and deallocating tests\n";
constexpr std::string_view CouldNotOverwriteMessage = "[TARNWICK] Could not overwrite %wS. Exiting...\n";
constexpr std::string_view SaveFailedMessage = "[TARNWICK] Return value = %x\nLast error = %d\nCouldn't save to %wS\n";

// The document the run reads or writes, or null after the failure has been traced.
std::unique_ptr<winapi::XmlDocument> CreateDomDocument()
{
    std::unique_ptr<winapi::XmlDocument> document;
    if (CreateConfiguredDocument(document) == DocumentSetup::SettingRefused) {
        TraceLog(DomObjectMessage);
    }
    return document;
}

// Creates an element, appends it to parent and sets its text. The append's result is not
// looked at: an element that could not be appended is simply missing from the document.
winapi::HRESULT AppendTextElement(winapi::XmlDocument& document, winapi::XmlNode& parent, const std::wstring& name,
                                  const std::wstring& text)
{
    std::unique_ptr<winapi::XmlNode> element;
    if (winapi::FAILED(document.createElement(name, element)) || !element) {
        return RunFailure;
    }
    (void)parent.appendChild(*element);
    return element->put_text(text);
}

// Writes one element per pending line and drains the list, whatever fails on the way.
template <typename HasLine, typename PopLine>
winapi::HRESULT AppendLineElements(winapi::XmlDocument& document, winapi::XmlNode& parent, const std::wstring& name,
                                   HasLine hasLine, PopLine popLine)
{
    winapi::HRESULT result = winapi::S_OK;
    while (hasLine()) {
        std::unique_ptr<winapi::XmlNode> element;
        if (winapi::FAILED(document.createElement(name, element)) || !element) {
            (void)popLine();
            result = RunFailure;
            continue;
        }
        (void)parent.appendChild(*element);
        if (winapi::FAILED(element->put_text(popLine()))) {
            result = RunFailure;
        }
    }
    return result;
}

}  // namespace

TestRunner::TestRunner(std::wstring input, std::wstring output, std::wstring runLanguage)
    : inputFile(std::move(input)), outputFile(std::move(output)), language(std::move(runLanguage))
{
}

winapi::HRESULT TestRunner::Execute()
{
    if (winapi::FAILED(ReadInputDocument())) {
        TraceLog(ErrorReadingMessage, inputFile);
        return RunFailure;
    }
    TraceLog(ReadSucceededMessage, inputFile);
    RunTests();
    const winapi::HRESULT written = WriteResultsDocument();
    if (winapi::FAILED(written)) {
        TraceLog(ErrorWritingMessage, outputFile);
        return RunFailure;
    }
    TraceLog(WriteSucceededMessage, outputFile);
    return written;
}

winapi::HRESULT TestRunner::ReadInputDocument()
{
    const std::unique_ptr<winapi::XmlDocument> document = CreateDomDocument();
    if (!document) {
        return RunFailure;
    }
    bool loaded = false;
    const winapi::HRESULT load = document->load(inputFile, loaded);
    if (winapi::FAILED(load) || !loaded) {
        TraceLog(CouldNotReadMessage, inputFile, load);
        return RunFailure;
    }
    TraceLog(ReadFromMessage, inputFile);
    return ParseTestElements(*document);
}

winapi::HRESULT TestRunner::ParseTestElements(winapi::XmlDocument& document)
{
    std::unique_ptr<winapi::XmlNodeList> list;
    long length = 0;
    if (winapi::FAILED(document.selectNodes(TestElementsQuery, list)) || !list ||
        winapi::FAILED(list->get_length(length))) {
        return RunFailure;
    }
    // Only the last element decides: an earlier one that fails only leaves its test out.
    winapi::HRESULT result = winapi::S_OK;
    for (long index = 0; index < length; ++index) {
        std::unique_ptr<winapi::XmlNode> element;
        if (winapi::FAILED(list->get_item(index, element)) || !element) {
            result = RunFailure;
            continue;
        }
        result = ReadTestElement(*element);
    }
    return result;
}

winapi::HRESULT TestRunner::ReadTestElement(winapi::XmlNode& element)
{
    std::wstring name;
    if (ReadChildText(element, NameElement, name) != winapi::S_OK) {
        return RunFailure;
    }
    std::vector<std::wstring> parameters;
    if (winapi::FAILED(ReadParameters(element, parameters))) {
        return RunFailure;
    }
    std::unique_ptr<Test> test = CreateTest(name, parameters);
    if (!test) {
        return RunFailure;
    }
    std::wstring text;
    if (winapi::SUCCEEDED(SelectLocalizedText(element, DescriptiveNameElement, language, text, false))) {
        test->SetDescriptiveName(text);
    }
    if (winapi::SUCCEEDED(SelectLocalizedText(element, DescriptiveSolutionElement, language, text, true))) {
        test->SetDescriptiveSolution(text);
    }
    tests.push_back(std::move(test));
    return winapi::S_OK;
}

void TestRunner::RunTests()
{
    for (const std::unique_ptr<Test>& test : tests) {
        test->Run();
        TraceLog(PerformingTestMessage, test->GetName());
    }
}

winapi::HRESULT TestRunner::WriteResultsDocument()
{
    ConsolePrintf(WritingMessage);
    if (!winapi::DeleteFileW(outputFile)) {
        const winapi::DWORD error = winapi::GetLastError();
        if (error != winapi::ERROR_FILE_NOT_FOUND) {
            TraceLog(CouldNotOverwriteMessage, outputFile);
            return RunFailure;
        }
    }
    const std::unique_ptr<winapi::XmlDocument> document = CreateDomDocument();
    if (!document) {
        return RunFailure;
    }
    // Whatever could be built is saved, even when an element failed.
    (void)BuildResultsDocument(*document);
    const winapi::HRESULT saved = document->save(outputFile);
    const winapi::DWORD lastError = winapi::GetLastError();
    if (winapi::FAILED(saved)) {
        TraceLog(SaveFailedMessage, saved, lastError, outputFile);
        return RunFailure;
    }
    return winapi::S_OK;
}

winapi::HRESULT TestRunner::BuildResultsDocument(winapi::XmlDocument& document)
{
    std::unique_ptr<winapi::XmlNode> results;
    if (winapi::FAILED(document.createElement(ResultsElement, results)) || !results) {
        return RunFailure;
    }
    (void)document.appendChild(*results);
    winapi::HRESULT result = winapi::S_OK;
    for (const std::unique_ptr<Test>& test : tests) {
        if (winapi::FAILED(WriteTestElement(document, *results, *test))) {
            result = RunFailure;
        }
    }
    return result;
}

winapi::HRESULT TestRunner::WriteTestElement(winapi::XmlDocument& document, winapi::XmlNode& parent, Test& test)
{
    std::unique_ptr<winapi::XmlNode> element;
    if (winapi::FAILED(document.createElement(TestElement, element)) || !element) {
        return RunFailure;
    }
    (void)parent.appendChild(*element);
    // The children always stand in this order; the first writer that fails ends the element.
    const bool written =
        winapi::SUCCEEDED(AppendTextElement(document, *element, NameElement, test.GetName())) &&
        winapi::SUCCEEDED(
            AppendTextElement(document, *element, PassedElement, test.GetPassed() ? L"true" : L"false")) &&
        winapi::SUCCEEDED(AppendLineElements(
            document, *element, MoreInfoElement, [&] { return test.HasMoreInfo(); },
            [&] { return test.PopMoreInfo(); })) &&
        winapi::SUCCEEDED(AppendTextElement(document, *element, DescriptiveNameElement, test.GetDescriptiveName())) &&
        winapi::SUCCEEDED(AppendLineElements(
            document, *element, DescriptiveSolutionElement, [&] { return test.HasSolution(); },
            [&] { return test.PopSolution(); }));
    return written ? winapi::S_OK : RunFailure;
}
