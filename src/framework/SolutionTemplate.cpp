#include "framework/SolutionTemplate.h"

std::wstring SolutionTemplateOf(const std::wstring& descriptiveSolution)
{
    return descriptiveSolution.substr(0, descriptiveSolution.find(L'\0'));
}

bool TemplateTakesValue(std::wstring_view solutionTemplate, std::wstring_view conversion)
{
    if (solutionTemplate.empty()) {
        return false;
    }
    if (conversion != TextConversion && conversion != NumberConversion) {
        return false;
    }
    const std::size_t firstPercent = solutionTemplate.find(L'%');
    if (firstPercent != solutionTemplate.rfind(L'%')) {
        return false;
    }
    return firstPercent == std::wstring_view::npos || solutionTemplate.find(conversion) != std::wstring_view::npos;
}
