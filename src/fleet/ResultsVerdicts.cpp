#include "fleet/ResultsVerdicts.h"

#include "fleet/VerdictAssessment.h"
#include "framework/DocumentVocabulary.h"
#include "winapi/Utf8.h"

#include <string>

#include <pugixml.hpp>

namespace fleet {

namespace {

// The document's names as the parser spells them, converted once: a fleet reads thousands of
// documents.
struct Utf8Names {
    std::string results = winapi::ToUtf8(ResultsElement);
    std::string test = winapi::ToUtf8(TestElement);
    std::string name = winapi::ToUtf8(NameElement);
    std::string passed = winapi::ToUtf8(PassedElement);
    std::string descriptiveName = winapi::ToUtf8(DescriptiveNameElement);
    std::string moreInfo = winapi::ToUtf8(MoreInfoElement);
    std::string descriptiveSolution = winapi::ToUtf8(DescriptiveSolutionElement);
};

const Utf8Names& Names()
{
    static const Utf8Names names;
    return names;
}

}  // namespace

std::string ReadResultsVerdicts(const std::filesystem::path& results, std::vector<Verdict>& verdicts,
                                const RunConsole& console)
{
    pugi::xml_document document;
    if (const pugi::xml_parse_result parsed = document.load_file(results.c_str()); !parsed) {
        return std::string("results document ") + results.filename().string() + " unreadable: " + parsed.description();
    }
    const Utf8Names& names = Names();
    std::vector<Verdict> read;
    for (const pugi::xml_node test : document.child(names.results.c_str()).children(names.test.c_str())) {
        const std::string passed = test.child(names.passed.c_str()).text().get();
        if (passed != "true" && passed != "false") {
            return "results document " + results.filename().string() + ": a test without a verdict";
        }
        Verdict verdict{winapi::FromUtf8(test.child(names.name.c_str()).text().get()),
                        passed == "true",
                        {},
                        winapi::FromUtf8(test.child(names.descriptiveName.c_str()).text().get()),
                        {}};
        for (const pugi::xml_node line : test.children(names.moreInfo.c_str())) {
            verdict.moreInfo.push_back(winapi::FromUtf8(line.text().get()));
        }
        for (const pugi::xml_node line : test.children(names.descriptiveSolution.c_str())) {
            verdict.solutions.push_back(winapi::FromUtf8(line.text().get()));
        }
        read.push_back(std::move(verdict));
    }
    AssessVerdicts(read, console);
    verdicts = std::move(read);
    return {};
}

}  // namespace fleet
