// tarnwick-reference: writes the check sections of docs/checks.md from the check catalogue on
// standard output. tools/check-reference.py runs it to renew or to test the committed reference.

#include "reference/CheckReference.h"

#include <cstdio>

int main()
{
    const std::string sections = CheckSections();
    return std::fwrite(sections.data(), 1, sections.size(), stdout) == sections.size() ? 0 : 1;
}
