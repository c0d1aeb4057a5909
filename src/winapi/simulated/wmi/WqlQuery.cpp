#include "winapi/simulated/wmi/WqlQuery.h"

#include "winapi/Wmi.h"

#include <cwctype>
#include <string_view>

namespace winapi::sim {

namespace {

class WqlScanner {
public:
    explicit WqlScanner(std::wstring_view text) : text_(text) {}

    void SkipBlanks()
    {
        while (at_ < text_.size() && std::iswspace(static_cast<wint_t>(text_[at_])) != 0) {
            ++at_;
        }
    }
    [[nodiscard]] bool AtEnd()
    {
        SkipBlanks();
        return at_ == text_.size();
    }
    // A keyword or operator, letter case ignored, that must end at a blank or at the end.
    [[nodiscard]] bool Take(std::wstring_view word)
    {
        SkipBlanks();
        if (text_.size() - at_ < word.size()) {
            return false;
        }
        for (std::size_t i = 0; i < word.size(); ++i) {
            if (std::towlower(static_cast<wint_t>(text_[at_ + i])) != static_cast<wint_t>(word[i])) {
                return false;
            }
        }
        const std::size_t end = at_ + word.size();
        if (IsNameCharacter(word.back()) && end < text_.size() && IsNameCharacter(text_[end])) {
            return false;
        }
        at_ = end;
        return true;
    }
    [[nodiscard]] bool Name(std::wstring& name)
    {
        SkipBlanks();
        const std::size_t start = at_;
        while (at_ < text_.size() && IsNameCharacter(text_[at_])) {
            ++at_;
        }
        name = text_.substr(start, at_ - start);
        return !name.empty();
    }
    // A string literal in single or double quotes; a backslash takes the next character as it is.
    [[nodiscard]] bool Literal(std::wstring& value)
    {
        SkipBlanks();
        if (at_ == text_.size() || (text_[at_] != L'\'' && text_[at_] != L'"')) {
            return false;
        }
        const wchar_t quote = text_[at_++];
        value.clear();
        while (at_ < text_.size() && text_[at_] != quote) {
            if (text_[at_] == L'\\' && at_ + 1 < text_.size()) {
                ++at_;
            }
            value += text_[at_++];
        }
        if (at_ == text_.size()) {
            return false;
        }
        ++at_;
        return true;
    }

private:
    static bool IsNameCharacter(wchar_t c) { return std::iswalnum(static_cast<wint_t>(c)) != 0 || c == L'_'; }

    std::wstring_view text_;
    std::size_t at_ = 0;
};

}  // namespace

HRESULT ParseWqlQuery(const std::wstring& text, WqlQuery& query)
{
    WqlScanner scanner(text);
    WqlQuery parsed;
    if (!scanner.Take(L"select") || !scanner.Take(L"*") || !scanner.Take(L"from") || !scanner.Name(parsed.className)) {
        return WBEM_E_INVALID_QUERY;
    }
    if (scanner.Take(L"where")) {
        WqlQuery::Condition condition;
        if (!scanner.Name(condition.property) || !scanner.Take(L"=") || !scanner.Literal(condition.value)) {
            return WBEM_E_INVALID_QUERY;
        }
        parsed.where = std::move(condition);
    }
    if (!scanner.AtEnd()) {
        return WBEM_E_INVALID_QUERY;
    }
    query = std::move(parsed);
    return S_OK;
}

}  // namespace winapi::sim
