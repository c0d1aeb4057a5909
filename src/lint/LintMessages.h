#pragma once
// Every text the linter prints, in one place. Formats follow the program's printf rules: %wS
// for a text, %d for a number.

#include <string_view>

namespace lint_messages {

constexpr std::string_view Usage =
    "Usage: TarnwickLint.exe -i inputFile [-l language ...] [-q]\n"
    "Checks an input document of Tarnwick.exe for the mistakes that make a run skip tests, misread\n"
    "parameters or drop texts, before it is rolled out.\n"
    "-i      The input xml file to check.\n"
    "-l      A language whose descriptive texts every test must have (repeatable; default en).\n"
    "-q      Print errors only.\n"
    "Exit code: 0 clean, 1 warnings only, 2 errors.\n";
constexpr std::string_view ComFailed = "TarnwickLint: COM could not be started, so no document can be read\n";

// Where a finding belongs, then its severity; the text follows.
constexpr std::string_view AtLine = "%wS:%d:%d: %wS: ";
constexpr std::string_view AtTest = "%wS: test %d (%wS): %wS: ";
constexpr std::string_view AtDocument = "%wS: %wS: ";
constexpr std::wstring_view Error = L"error";
constexpr std::wstring_view Warning = L"warning";
constexpr std::string_view Summary = "%d error(s), %d warning(s)\n";

constexpr std::string_view NoDomDocument =
    "the XML document object (MSXML 3.0) could not be created, so nothing was read";
constexpr std::string_view Unreadable =
    "the program cannot read this document: %wS. It would run no test and write no results (exit code 0)";
constexpr std::string_view WrongRoot =
    "the root element is not input_tests; the program reads only test elements inside an input_tests element. "
    "Write <input_tests> ... </input_tests> around the tests";
constexpr std::string_view NoTests =
    "there is no input_tests/test element: the run checks nothing and writes an empty results document";
constexpr std::string_view NoName =
    "the test has no name element, so the program leaves it out. Write <name>CheckName</name>";
constexpr std::string_view UnknownName =
    "no check is named \"%wS\"; the program leaves this test out. Did you mean %wS?";
constexpr std::string_view WhiteSpaceName =
    "the name has blanks or line breaks around it, which the program keeps, so no check matches and the test "
    "is left out. Write <name>%wS</name> on one line";
constexpr std::string_view ResultName =
    "\"%wS\" is the name the results document uses; an input document must ask for it as %wS";
constexpr std::string_view LastNameTrap =
    "this is the last test element: when its name matches no check, reading the whole document fails, so the "
    "run performs no test at all, writes no results document and still ends with exit code 0";
constexpr std::string_view IgnoredParameters = "%wS takes no parameters; the %d given are ignored. Remove them";
constexpr std::string_view MegabyteCount =
    "%wS takes exactly one parameter; with %d the check keeps %wS. Write one <parameter> with whole megabytes";
constexpr std::string_view MegabyteDefault =
    "\"%wS\" is not a number of megabytes from 1 to 2147483646, so the check keeps %wS. Write whole megabytes, "
    "e.g. 2048 for 2 GB";
constexpr std::string_view MegabytePartly =
    "\"%wS\" is read as %d megabytes: reading stops at the first character that is not a digit. Write whole "
    "megabytes only, e.g. 2048 for 2 GB";
constexpr std::string_view DefaultSetting = "the default (%d MB)";
constexpr std::string_view VersionTable = "the Windows version's need";
constexpr std::string_view Overridden =
    "the %d MB set here is replaced by test %d's %d MB: the value is one for the whole run, so every %wS uses "
    "%d MB. Give all of them the same value, or only the last one";
constexpr std::string_view EntryWhiteSpace =
    "parameter %d has blanks or line breaks around it, which the check keeps and compares, so it matches only "
    "text that has them too. Write <parameter>%wS</parameter> on one line";
constexpr std::string_view EmptyFragment =
    "parameter %d is empty, and an empty fragment occurs in every text: %wS. Remove it";
constexpr std::string_view EmptyEntry =
    "parameter %d is empty and matches no machine: the board string always holds the blank between maker and "
    "product, and a board that cannot be read passes anyway. Remove it";
constexpr std::string_view EmptyIdentity =
    "parameter %d is empty and matches every machine whose %wS, so the check %wS on each of them. Remove it";
constexpr std::string_view UnreadBios = "BIOS version cannot be read (registry value SystemBiosVersion)";
constexpr std::string_view UnreadProcessor = "processor name WMI gives as no text (no Win32_Processor, or no Name)";
constexpr std::string_view EmptyDevice =
    "parameter %d is empty, and an empty fragment occurs in every description: it matches every USB device, so "
    "the check %wS on every machine with one. Remove it";
constexpr std::string_view Passes = "passes";
constexpr std::string_view Fails = "fails";
constexpr std::string_view EmptyFragmentPass = "the check then passes on every machine";
constexpr std::string_view EmptyFragmentFail = "the check then fails on every machine whose services can be listed";
constexpr std::string_view DefaultEntry =
    "without parameters %wS allows \"%wS\" only. List the systems you allow, one <parameter> each";
constexpr std::string_view MissingText =
    "there is no %wS for language \"%wS\" (one whose only attribute is language=\"%wS\"): with -l %wS the result "
    "carries %wS. Add <%wS language=\"%wS\">...</%wS>";
constexpr std::string_view EmptyName = "an empty descriptive name";
constexpr std::string_view NoSolution = "no solution line";
constexpr std::string_view PercentName =
    "the %wS for language \"%wS\" holds \"%%\", so the program drops it and the result carries an empty name. "
    "Write \"percent\" instead";
constexpr std::string_view PercentSolution =
    "the %wS for language \"%wS\" holds a \"%%\" the check cannot fill: it passes %wS, so the template may hold "
    "at most one \"%%\", and only as %wS. Otherwise no solution line is written";
constexpr std::string_view LoadFailed = "loading failed with %x";
constexpr std::string_view PassesText = "a text";
constexpr std::string_view PassesNumber = "a number";
constexpr std::string_view Duplicate =
    "the same check with the same parameters as test %d: it runs twice and is reported twice. Remove one";
constexpr std::string_view LaterWindows = "on later Windows releases: %wS";
constexpr std::string_view VersionTableNeed =
    "no test of the document gives %wS a number of megabytes, so the need comes from a table of Windows versions "
    "that stops at NT 6: a Windows that reports version 10.0 (Windows 10 and 11, Server 2016 and later, nearly "
    "every PC today) is \"Unsupported Operating System\" and fails whatever its memory, whatever OSTest allows. "
    "Give the megabytes, e.g. <parameter>2048</parameter>";
constexpr std::string_view UnusedSolution =
    "%wS never writes a solution line, so no descriptive_solution of this test is ever shown. Say what to do in "
    "the descriptive_name, or remove the descriptive_solution";
constexpr std::string_view NotLanguageCode =
    "the %wS has language=\"%wS\", which is not a language code of two letters (such as \"de\", or \"de-CH\" "
    "with a region): a run shows it only when started with -l %wS. Write the code the run is started with";
constexpr std::string_view SplitAllowList =
    "%wS is also test %d, with other parameters: both run, and each passes only on a machine its own list "
    "matches, so a machine must match both lists. Put all entries into one test";
constexpr std::string_view SplitBlockList =
    "%wS is also test %d, with other parameters: both run and each writes its own result, and a machine on "
    "either list fails. Put all entries into one test";
constexpr std::string_view BlackAndWhite =
    "parameter %d, \"%wS\", is on the list of test %d (%wS) too: a machine it matches fails %wS whatever %wS "
    "says. Remove it from one of the lists";
constexpr std::string_view LaterRelease =
    "\"%wS\" names a release whose description carries no release name, so it never matches. %wS";

}  // namespace lint_messages
