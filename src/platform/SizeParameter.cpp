#include "platform/SizeParameter.h"

#include "platform/WideText.h"

#include <climits>

void ApplySizeParameter(const std::vector<std::wstring>& parameters, int& setting)
{
    if (parameters.size() != 1) {
        return;
    }
    const int value = WideToInt(parameters.front());
    if (value >= 1 && value != INT_MAX) {
        setting = value;
    }
}
