#include "lint/InputDocumentLint.h"

#include "framework/CheckCatalogue.h"
#include "framework/DocumentVocabulary.h"
#include "framework/DomDocument.h"
#include "framework/InputDocument.h"
#include "framework/SolutionTemplate.h"
#include "lint/LintMessages.h"
#include "platform/MessageFormat.h"
#include "platform/WideText.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <optional>

namespace {

namespace msg = lint_messages;

constexpr std::wstring_view WhiteSpace = L" \t\r\n";

// Releases whose OS description names no release: a fragment naming one never matches.
constexpr std::array<std::wstring_view, 8> UnnamedReleases{L"Windows 8",   L"Windows 10",  L"Windows 11",
                                                           L"Server 2012", L"Server 2016", L"Server 2019",
                                                           L"Server 2022", L"Server 2025"};

constexpr std::wstring_view BlacklistPrefix = L"Blacklist";
constexpr std::wstring_view WhitelistPrefix = L"Whitelist";

// What an empty entry of an identity list matches: the text the check compares is empty only
// when it could not be read. The board's never is, so an empty board entry matches nothing.
constexpr std::array<std::pair<std::wstring_view, std::string_view>, 4> EmptyIdentityMatches{{
    {L"BlacklistBiosTest", lint_messages::UnreadBios},
    {L"WhitelistBiosTest", lint_messages::UnreadBios},
    {L"BlacklistProcessorTest", lint_messages::UnreadProcessor},
    {L"WhitelistProcessorTest", lint_messages::UnreadProcessor},
}};

// The lists whose fragments are looked for in every USB device's description.
constexpr std::array<std::wstring_view, 2> DeviceLists{L"BlacklistUSBDeviceTest", L"WhitelistUSBDeviceTest"};

// A language code as a run is started with: two letters, then any subtags ("de", "de-CH").
bool IsLanguageCode(std::wstring_view code)
{
    const auto letter = [](wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); };
    if (code.size() < 2 || !letter(code[0]) || !letter(code[1])) {
        return false;
    }
    std::size_t subtag = 0;
    for (const wchar_t c : code.substr(2)) {
        if (c == L'-') {
            if (subtag == 1) {
                return false;
            }
            subtag = 1;
        } else if (subtag == 0 || subtag > 8 || !(letter(c) || (c >= L'0' && c <= L'9'))) {
            return false;
        } else {
            ++subtag;
        }
    }
    return subtag != 1;
}

// The list that says the opposite of entry's (WhitelistBiosTest for BlacklistBiosTest); empty
// when there is none.
std::wstring OppositeList(std::wstring_view name)
{
    std::wstring opposite;
    if (name.starts_with(BlacklistPrefix)) {
        opposite = std::wstring(WhitelistPrefix) + std::wstring(name.substr(BlacklistPrefix.size()));
    } else if (name.starts_with(WhitelistPrefix)) {
        opposite = std::wstring(BlacklistPrefix) + std::wstring(name.substr(WhitelistPrefix.size()));
    }
    return FindCheck(opposite) != nullptr ? opposite : std::wstring();
}

std::wstring Trimmed(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(WhiteSpace);
    if (first == std::wstring::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(WhiteSpace) - first + 1);
}

std::wstring Lowered(std::wstring_view text)
{
    std::wstring lowered(text);
    std::ranges::transform(lowered, lowered.begin(), [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c + 32 : c; });
    return lowered;
}

std::size_t EditDistance(std::wstring_view left, std::wstring_view right)
{
    std::vector<std::size_t> row(right.size() + 1);
    for (std::size_t j = 0; j <= right.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= left.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= right.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (left[i - 1] == right[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[right.size()];
}

template <typename... Arguments>
std::wstring Text(std::string_view format, const Arguments&... arguments)
{
    return FormatNarrow(format, arguments...);
}

// One test element as the program reads it, and what the linter has learnt of the run so far.
class DocumentLint {
public:
    explicit DocumentLint(const std::vector<std::wstring>& languages) : languages_(languages) {}

    void Lint(const std::wstring& path);
    std::vector<LintFinding> Take() { return std::move(findings_); }

private:
    struct MegabyteValue {
        int test;
        std::wstring name;
        int value;
    };

    void Add(LintSeverity severity, std::wstring text)
    {
        findings_.push_back({severity, test_, name_, 0, 0, std::move(text)});
    }
    void LintTest(winapi::XmlNode& element, bool last);
    void LintUnknownName(bool last);
    void LintParameters(const CheckEntry& entry, const std::vector<std::wstring>& parameters);
    void LintMegabytes(const CheckEntry& entry, const std::vector<std::wstring>& parameters);
    void LintList(const CheckEntry& entry, const std::vector<std::wstring>& parameters);
    void LintEmptyEntry(const CheckEntry& entry, int number);
    void LintListTwice(const CheckEntry& entry, const std::vector<std::wstring>& parameters);
    void LintTexts(const CheckEntry& entry, winapi::XmlNode& element);
    void LintLanguages(winapi::XmlNode& element, const std::wstring& childName);
    void LintLaterWindows();
    void LintVersionTable();

    const std::vector<std::wstring>& languages_;
    std::vector<LintFinding> findings_;
    int test_ = 0;
    std::wstring name_;
    std::map<std::pair<std::wstring_view, std::vector<std::wstring>>, int> seen_;
    std::map<std::wstring_view, MegabyteValue> megabytes_;
    // Tests whose checks have rules that stop at an old release, with the check.
    std::vector<std::pair<LintFinding, const CheckEntry*>> limited_;
    // The tests of each list check so far, by input name, with their parameters.
    std::map<std::wstring_view, std::vector<std::pair<int, std::vector<std::wstring>>>> lists_;
    // Tests of a check whose need comes from the Windows version unless the document gives one.
    std::vector<std::pair<LintFinding, const CheckEntry*>> versionTable_;
    bool targetsUnnamedRelease_ = false;
};

void DocumentLint::Lint(const std::wstring& path)
{
    std::unique_ptr<winapi::XmlDocument> document;
    if (CreateConfiguredDocument(document) != DocumentSetup::Ready) {
        Add(LintSeverity::Error, Text(msg::NoDomDocument));
        return;
    }
    bool loaded = false;
    const winapi::HRESULT load = document->load(path, loaded);
    if (winapi::FAILED(load) || !loaded) {
        long line = 0;
        long column = 0;
        std::wstring reason;
        if (winapi::FAILED(document->get_parseError(line, column, reason))) {
            reason = Text(msg::LoadFailed, static_cast<unsigned>(load));
        }
        // The parser's reason is a sentence of its own; the message adds its own full stop.
        reason = Trimmed(reason);
        while (!reason.empty() && reason.back() == L'.') {
            reason.pop_back();
        }
        findings_.push_back({LintSeverity::Error, 0, {}, line, column, Text(msg::Unreadable, reason)});
        return;
    }
    std::unique_ptr<winapi::XmlNode> root;
    if (document->selectSingleNode(InputRootQuery, root) != winapi::S_OK) {
        Add(LintSeverity::Error, Text(msg::WrongRoot));
    }
    std::unique_ptr<winapi::XmlNodeList> tests;
    long length = 0;
    if (winapi::FAILED(document->selectNodes(TestElementsQuery, tests)) || !tests ||
        winapi::FAILED(tests->get_length(length)) || length == 0) {
        Add(LintSeverity::Error, Text(msg::NoTests));
        return;
    }
    for (long index = 0; index < length; ++index) {
        std::unique_ptr<winapi::XmlNode> element;
        if (winapi::FAILED(tests->get_item(index, element)) || !element) {
            continue;
        }
        test_ = static_cast<int>(index) + 1;
        name_.clear();
        LintTest(*element, index + 1 == length);
    }
    LintLaterWindows();
    LintVersionTable();
}

void DocumentLint::LintTest(winapi::XmlNode& element, bool last)
{
    if (ReadChildText(element, NameElement, name_) != winapi::S_OK) {
        Add(LintSeverity::Error, Text(msg::NoName));
        if (last) {
            Add(LintSeverity::Error, Text(msg::LastNameTrap));
        }
        return;
    }
    const CheckEntry* entry = FindCheck(name_);
    if (entry == nullptr) {
        LintUnknownName(last);
        return;
    }
    std::vector<std::wstring> parameters;
    (void)ReadParameters(element, parameters);
    auto [duplicate, added] = seen_.try_emplace({entry->inputName, parameters}, test_);
    if (!added) {
        Add(LintSeverity::Error, Text(msg::Duplicate, duplicate->second));
    }
    LintParameters(*entry, parameters);
    if (added) {
        LintListTwice(*entry, parameters);
    }
    LintTexts(*entry, element);
    LintLanguages(element, DescriptiveNameElement);
    LintLanguages(element, DescriptiveSolutionElement);
    if (entry->megabytes && entry->megabytes->initial < 0) {
        versionTable_.push_back({{LintSeverity::Warning, test_, name_, 0, 0, {}}, entry});
    } else if (!entry->laterWindows.empty()) {
        limited_.push_back({{LintSeverity::Warning, test_, name_, 0, 0, {}}, entry});
    }
}

void DocumentLint::LintUnknownName(bool last)
{
    const std::wstring trimmed = Trimmed(name_);
    if (trimmed != name_ && FindCheck(trimmed) != nullptr) {
        Add(LintSeverity::Error, Text(msg::WhiteSpaceName, std::wstring(FindCheck(trimmed)->inputName)));
    } else if (const auto entry = std::ranges::find_if(CheckCatalogue(),
                                                       [&](const CheckEntry& e) {
                                                           return e.resultName != e.inputName &&
                                                                  EqualIgnoringCase(e.resultName, trimmed);
                                                       });
               entry != CheckCatalogue().end()) {
        Add(LintSeverity::Error, Text(msg::ResultName, trimmed, std::wstring(entry->inputName)));
    } else {
        Add(LintSeverity::Error, Text(msg::UnknownName, name_, NearestCheckName(trimmed)));
    }
    if (last) {
        Add(LintSeverity::Error, Text(msg::LastNameTrap));
    }
}

void DocumentLint::LintParameters(const CheckEntry& entry, const std::vector<std::wstring>& parameters)
{
    switch (entry.parameters) {
    case ParameterRule::None:
        if (!parameters.empty()) {
            Add(LintSeverity::Error, Text(msg::IgnoredParameters, std::wstring(entry.inputName), parameters.size()));
        }
        return;
    case ParameterRule::Megabytes: LintMegabytes(entry, parameters); return;
    case ParameterRule::WholeStringList:
    case ParameterRule::FragmentList: LintList(entry, parameters); return;
    }
}

void DocumentLint::LintMegabytes(const CheckEntry& entry, const std::vector<std::wstring>& parameters)
{
    const int initial = entry.megabytes->initial;
    const std::wstring kept = initial > 0 ? Text(msg::DefaultSetting, initial) : Text(msg::VersionTable);
    if (parameters.empty()) {
        return;
    }
    if (parameters.size() != 1) {
        Add(LintSeverity::Error, Text(msg::MegabyteCount, std::wstring(entry.inputName), parameters.size(), kept));
        return;
    }
    const std::optional<int> value = MegabytesRead(entry, parameters);
    if (!value) {
        Add(LintSeverity::Error, Text(msg::MegabyteDefault, parameters.front(), kept));
        return;
    }
    const std::wstring written = Trimmed(parameters.front());
    if (!std::ranges::all_of(written, [](wchar_t c) { return c >= L'0' && c <= L'9'; })) {
        Add(LintSeverity::Error, Text(msg::MegabytePartly, parameters.front(), *value));
    }
    const auto [earlier, first] = megabytes_.try_emplace(entry.inputName, MegabyteValue{test_, name_, *value});
    if (!first) {
        if (earlier->second.value != *value) {
            const std::size_t at = findings_.size();
            Add(LintSeverity::Error,
                Text(msg::Overridden, earlier->second.value, test_, *value, std::wstring(entry.inputName), *value));
            // The finding belongs to the instance whose value is lost.
            findings_[at].test = earlier->second.test;
            findings_[at].testName = earlier->second.name;
        }
        earlier->second = {test_, name_, *value};
    }
}

void DocumentLint::LintList(const CheckEntry& entry, const std::vector<std::wstring>& parameters)
{
    if (parameters.empty() && !entry.defaultEntry.empty()) {
        Add(LintSeverity::Warning,
            Text(msg::DefaultEntry, std::wstring(entry.inputName), std::wstring(entry.defaultEntry)));
    }
    int number = 0;
    for (const std::wstring& parameter : parameters) {
        ++number;
        if (parameter.empty()) {
            LintEmptyEntry(entry, number);
            continue;
        }
        const std::wstring trimmed = Trimmed(parameter);
        if (trimmed != parameter) {
            Add(LintSeverity::Error, Text(msg::EntryWhiteSpace, number, trimmed));
        }
        if (entry.defaultEntry.empty()) {
            continue;
        }
        for (const std::wstring_view release : UnnamedReleases) {
            if (parameter.find(release) != std::wstring::npos) {
                targetsUnnamedRelease_ = true;
                Add(LintSeverity::Warning, Text(msg::LaterRelease, parameter, std::wstring(entry.laterWindows)));
                break;
            }
        }
    }
}

// What an empty entry really matches, by the text the check compares with it.
void DocumentLint::LintEmptyEntry(const CheckEntry& entry, int number)
{
    const bool blocks = entry.inputName.starts_with(BlacklistPrefix);
    const std::wstring verdict = Text(blocks ? msg::Fails : msg::Passes);
    if (std::ranges::find(DeviceLists, entry.inputName) != DeviceLists.end()) {
        Add(LintSeverity::Error, Text(msg::EmptyDevice, number, verdict));
    } else if (entry.parameters == ParameterRule::FragmentList) {
        Add(LintSeverity::Error,
            Text(msg::EmptyFragment, number, Text(blocks ? msg::EmptyFragmentFail : msg::EmptyFragmentPass)));
    } else if (const auto identity = std::ranges::find(EmptyIdentityMatches, entry.inputName,
                                                       &std::pair<std::wstring_view, std::string_view>::first);
               identity != EmptyIdentityMatches.end()) {
        Add(LintSeverity::Error, Text(msg::EmptyIdentity, number, Text(identity->second), verdict));
    } else {
        Add(LintSeverity::Error, Text(msg::EmptyEntry, number));
    }
}

// A list check asked for again with other entries, and an entry that stands on a black list and
// on its white list alike.
void DocumentLint::LintListTwice(const CheckEntry& entry, const std::vector<std::wstring>& parameters)
{
    if (entry.parameters != ParameterRule::WholeStringList && entry.parameters != ParameterRule::FragmentList) {
        return;
    }
    auto& earlier = lists_[entry.inputName];
    if (!earlier.empty()) {
        const bool allows = !entry.inputName.starts_with(BlacklistPrefix);
        Add(LintSeverity::Warning, Text(allows ? msg::SplitAllowList : msg::SplitBlockList,
                                        std::wstring(entry.inputName), earlier.front().first));
    }
    earlier.push_back({test_, parameters});
    const std::wstring opposite = OppositeList(entry.inputName);
    const auto others = lists_.find(opposite);
    if (others == lists_.end()) {
        return;
    }
    const bool black = entry.inputName.starts_with(BlacklistPrefix);
    const std::wstring blacklist = black ? std::wstring(entry.inputName) : opposite;
    const std::wstring whitelist = black ? opposite : std::wstring(entry.inputName);
    for (std::size_t index = 0; index < parameters.size(); ++index) {
        if (parameters[index].empty()) {
            continue;
        }
        for (const auto& [test, listed] : others->second) {
            if (std::ranges::find(listed, parameters[index]) != listed.end()) {
                Add(LintSeverity::Error, Text(msg::BlackAndWhite, static_cast<int>(index) + 1, parameters[index], test,
                                              opposite, blacklist, whitelist));
                break;
            }
        }
    }
}

// A descriptive text whose language is no language code is shown only by a run started with
// that very text after -l.
void DocumentLint::LintLanguages(winapi::XmlNode& element, const std::wstring& childName)
{
    std::unique_ptr<winapi::XmlNodeList> children;
    long length = 0;
    if (winapi::FAILED(element.selectNodes(childName, children)) || !children ||
        winapi::FAILED(children->get_length(length))) {
        return;
    }
    for (long index = 0; index < length; ++index) {
        std::unique_ptr<winapi::XmlNode> child;
        std::unique_ptr<winapi::XmlNamedNodeMap> attributes;
        std::wstring language;
        if (winapi::FAILED(children->get_item(index, child)) || !child ||
            winapi::FAILED(child->get_attributes(attributes)) || !attributes ||
            attributes->getNamedItemValue(LanguageAttribute, language) != winapi::S_OK) {
            continue;
        }
        if (!IsLanguageCode(language)) {
            Add(LintSeverity::Warning, Text(msg::NotLanguageCode, childName, language, language));
        }
    }
}

void DocumentLint::LintTexts(const CheckEntry& entry, winapi::XmlNode& element)
{
    if (entry.solution == SolutionValue::Never) {
        std::unique_ptr<winapi::XmlNodeList> solutions;
        long length = 0;
        if (winapi::SUCCEEDED(element.selectNodes(DescriptiveSolutionElement, solutions)) && solutions &&
            winapi::SUCCEEDED(solutions->get_length(length)) && length > 0) {
            Add(LintSeverity::Warning, Text(msg::UnusedSolution, std::wstring(entry.inputName)));
        }
    }
    for (const std::wstring& language : languages_) {
        std::wstring text;
        if (winapi::FAILED(SelectLocalizedText(element, DescriptiveNameElement, language, text, false))) {
            if (winapi::SUCCEEDED(SelectLocalizedText(element, DescriptiveNameElement, language, text, true))) {
                Add(LintSeverity::Error, Text(msg::PercentName, DescriptiveNameElement, language));
            } else {
                Add(LintSeverity::Error,
                    Text(msg::MissingText, DescriptiveNameElement, language, language, language, Text(msg::EmptyName),
                         DescriptiveNameElement, language, DescriptiveNameElement));
            }
        }
        if (entry.solution == SolutionValue::Never) {
            continue;
        }
        if (winapi::FAILED(SelectLocalizedText(element, DescriptiveSolutionElement, language, text, true))) {
            Add(LintSeverity::Error,
                Text(msg::MissingText, DescriptiveSolutionElement, language, language, language, Text(msg::NoSolution),
                     DescriptiveSolutionElement, language, DescriptiveSolutionElement));
            continue;
        }
        if (entry.solution == SolutionValue::Unchanged) {
            continue;
        }
        const std::wstring_view conversion = entry.solution == SolutionValue::Text ? TextConversion : NumberConversion;
        if (!TemplateTakesValue(SolutionTemplateOf(text), conversion)) {
            const std::wstring kind = Text(entry.solution == SolutionValue::Text ? msg::PassesText : msg::PassesNumber);
            Add(LintSeverity::Error,
                Text(msg::PercentSolution, DescriptiveSolutionElement, language, kind, std::wstring(conversion)));
        }
    }
}

void DocumentLint::LintLaterWindows()
{
    if (!targetsUnnamedRelease_) {
        return;
    }
    for (auto& [finding, entry] : limited_) {
        if (!entry->defaultEntry.empty()) {
            continue;  // OSTest's limit was told at the parameter that names the release.
        }
        finding.text = Text(msg::LaterWindows, std::wstring(entry->laterWindows));
        findings_.push_back(std::move(finding));
    }
}

// Told whatever OSTest allows: the table fails nearly every PC of today.
void DocumentLint::LintVersionTable()
{
    for (auto& [finding, entry] : versionTable_) {
        if (megabytes_.contains(entry->inputName)) {
            continue;  // A document value replaces the table, for every instance.
        }
        finding.text = Text(msg::VersionTableNeed, std::wstring(entry->inputName));
        findings_.push_back(std::move(finding));
    }
}

}  // namespace

std::vector<LintFinding> LintInputDocument(const std::wstring& path, const std::vector<std::wstring>& languages)
{
    DocumentLint lint(languages);
    lint.Lint(path);
    return lint.Take();
}

std::wstring NearestCheckName(const std::wstring& name)
{
    const std::wstring lowered = Lowered(name);
    std::wstring_view nearest;
    std::size_t best = std::wstring::npos;
    for (const CheckEntry& entry : CheckCatalogue()) {
        const std::size_t distance = EditDistance(lowered, Lowered(entry.inputName));
        if (distance < best) {
            best = distance;
            nearest = entry.inputName;
        }
    }
    return std::wstring(nearest);
}
