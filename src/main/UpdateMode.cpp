#include "main/UpdateMode.h"

#include "winapi/Utf8.h"

#include <cstdio>

namespace {

constexpr const char* NotInThisBuildMessage = "Tarnwick: update mode (-update) is not available in this build.\n";

}  // namespace

int RunUpdateMode(const std::vector<std::wstring>& /*arguments*/)
{
    std::fputs(NotInThisBuildMessage, stderr);
    return 1;
}
