#include "framework/Test.h"

#include "framework/SolutionTemplate.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace {

constexpr std::size_t ClassNameLimit = 260;
constexpr std::wstring_view FormattingErrorLine = L"STRING FORMATTING ERROR";

// The oldest pending line, removed; empty when nothing is pending.
std::wstring PopOldest(std::list<std::wstring>& lines)
{
    if (lines.empty()) {
        return {};
    }
    std::wstring line = std::move(lines.front());
    lines.pop_front();
    return line;
}

}  // namespace

Test::Test(const std::vector<std::wstring>& /*parameters*/)
{
    SetDescriptiveName(std::wstring());
    SetDescriptiveSolution(std::wstring());
}

bool Test::SetPassed(bool value)
{
    passed = value;
    return value;
}

bool Test::GetPassed() const
{
    return passed;
}

bool Test::AddSolution(std::wstring_view conversion)
{
    const std::wstring solutionTemplate = SolutionTemplate();
    if (solutionTemplate.empty() || !conversion.empty()) {
        return false;
    }
    // The template is taken as it stands: a "%" in it stays in the line.
    solutions.push_back(solutionTemplate);
    return true;
}

bool Test::AddSolution(std::wstring_view conversion, const std::wstring& value)
{
    return AddFormattedSolution(conversion, FormatArgument(value));
}

bool Test::AddSolution(std::wstring_view conversion, int value)
{
    return AddFormattedSolution(conversion, FormatArgument(value));
}

bool Test::AddFormattedSolution(std::wstring_view conversion, const FormatArgument& value)
{
    const std::wstring solutionTemplate = SolutionTemplate();
    if (solutionTemplate.empty()) {
        return false;
    }
    if (conversion.empty()) {
        return AddSolution(conversion);
    }
    if (!TemplateTakesValue(solutionTemplate, conversion)) {
        return false;
    }
    // Only the one conversion the test named can stand in the template now, and the value is
    // of that kind, so formatting cannot fail; running out of memory still can. The line then
    // says so, and the answer tells whether the text had been made before the failure.
    bool formatted = false;
    try {
        std::wstring line = FormatMessageText(solutionTemplate, std::span(&value, 1));
        formatted = true;
        solutions.push_back(std::move(line));
    } catch (...) {
        solutions.emplace_back(FormattingErrorLine);
        return formatted;
    }
    return true;
}

std::wstring Test::SolutionTemplate() const
{
    return SolutionTemplateOf(descriptiveSolution);
}

std::wstring Test::GetName() const
{
    const char* mangled = typeid(*this).name();
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                                &std::free);
    std::string name = status == 0 && demangled ? demangled.get() : mangled;
    const std::size_t scope = name.rfind("::");
    if (scope != std::string::npos) {
        name.erase(0, scope + 2);
    }
    if (name.size() >= ClassNameLimit) {
        return {};
    }
    // Class names are ASCII, so widening them is a plain copy.
    return std::wstring(name.begin(), name.end());
}

void Test::SetDescriptiveName(std::wstring text)
{
    descriptiveName = std::move(text);
}

std::wstring Test::GetDescriptiveName() const
{
    return descriptiveName;
}

void Test::SetDescriptiveSolution(std::wstring text)
{
    descriptiveSolution = std::move(text);
}

std::wstring Test::GetDescriptiveSolution() const
{
    return descriptiveSolution;
}

bool Test::HasMoreInfo() const
{
    return !moreInfo.empty();
}

std::wstring Test::PopMoreInfo()
{
    return PopOldest(moreInfo);
}

bool Test::HasSolution() const
{
    return !solutions.empty();
}

std::wstring Test::PopSolution()
{
    return PopOldest(solutions);
}
