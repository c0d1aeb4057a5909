#include "support/ResultText.h"

#include "support/ProgramRun.h"

std::string ResultElement(const std::string& name, bool passed, const std::string& moreInfo,
                          const std::string& descriptiveName, const std::string& solutions)
{
    const std::string nameElement = descriptiveName.empty()
                                        ? "<descriptive_name/>"
                                        : "<descriptive_name>" + descriptiveName + "</descriptive_name>";
    return "<test><name>" + name + "</name><passed>" + (passed ? "true" : "false") + "</passed>" + moreInfo +
           nameElement + solutions + "</test>";
}

std::string ResultLines(const std::string& element, const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += "<" + element + ">" + line + "</" + element + ">";
    }
    return text;
}

std::filesystem::path EditedMachine(const ScratchFolder& folder, const std::string& fixture,
                                    const std::function<void(nlohmann::json&)>& edit)
{
    nlohmann::json machine = nlohmann::json::parse(ReadFileText(FixturePath("machines/" + fixture)));
    edit(machine);
    return folder.Write("machine.json", machine.dump());
}
