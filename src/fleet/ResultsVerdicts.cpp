#include "fleet/ResultsVerdicts.h"

#include "fleet/VerdictAssessment.h"
#include "winapi/Utf8.h"

#include <pugixml.hpp>

namespace fleet {

std::string ReadResultsVerdicts(const std::filesystem::path& results, std::vector<Verdict>& verdicts)
{
    pugi::xml_document document;
    if (const pugi::xml_parse_result parsed = document.load_file(results.c_str()); !parsed) {
        return std::string("results document ") + results.filename().string() + " unreadable: " + parsed.description();
    }
    std::vector<Verdict> read;
    for (const pugi::xml_node test : document.child("test_results").children("test")) {
        const std::string passed = test.child("passed").text().get();
        if (passed != "true" && passed != "false") {
            return "results document " + results.filename().string() + ": a test without a verdict";
        }
        Verdict verdict{winapi::FromUtf8(test.child("name").text().get()),
                        passed == "true",
                        {},
                        winapi::FromUtf8(test.child("descriptive_name").text().get()),
                        {}};
        for (const pugi::xml_node line : test.children("more_info")) {
            verdict.moreInfo.push_back(winapi::FromUtf8(line.text().get()));
        }
        for (const pugi::xml_node line : test.children("descriptive_solution")) {
            verdict.solutions.push_back(winapi::FromUtf8(line.text().get()));
        }
        read.push_back(std::move(verdict));
    }
    AssessVerdicts(read);
    verdicts = std::move(read);
    return {};
}

}  // namespace fleet
