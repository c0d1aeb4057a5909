// The check names that the two schemas list are the program's own: the names an input document
// may ask for, and the names results are written with.

#include "framework/CheckCatalogue.h"
#include "framework/DocumentVocabulary.h"
#include "support/SchemaCheck.h"
#include "winapi/Utf8.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

namespace {

struct CheckNames {
    std::string input;   // as an input document asks for the check
    std::string result;  // as its result is written
};

// The checks the program knows, from the catalogue that the linter and the reference draw on too
// (CheckCatalogueTest holds it to the registry and to the tests the registry creates).
std::vector<CheckNames> ProgramCheckNames()
{
    std::vector<CheckNames> names;
    for (const CheckEntry& check : CheckCatalogue()) {
        names.push_back({winapi::ToUtf8(check.inputName), winapi::ToUtf8(check.resultName)});
    }
    return names;
}

// The values of one kind of facet (xs:enumeration, xs:pattern) of a named simple type.
std::multiset<std::string> FacetValues(const std::string& schema, const std::string& typeName, const std::string& facet)
{
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_file(SchemaPath(schema).c_str());
    EXPECT_TRUE(parsed) << schema << ": " << parsed.description();
    const std::string query = "/xs:schema/xs:simpleType[@name='" + typeName + "']/xs:restriction/" + facet + "/@value";
    std::multiset<std::string> values;
    for (const pugi::xpath_node& node : document.select_nodes(query.c_str())) {
        values.insert(node.attribute().value());
    }
    return values;
}

// The pattern that matches a name in any letter case, as the input schema writes it.
std::string AnyCasePattern(const std::string& name)
{
    std::string pattern;
    for (const char c : name) {
        if (std::isalpha(static_cast<unsigned char>(c)) != 0) {
            pattern += {'[', static_cast<char>(std::toupper(c)), static_cast<char>(std::tolower(c)), ']'};
        } else {
            pattern += c;
        }
    }
    return pattern;
}

// Names each value that only one side has, in the form the schema needs it.
void ExpectSameValues(const std::multiset<std::string>& schema, const std::multiset<std::string>& program,
                      const std::string& where)
{
    std::vector<std::string> missing;
    std::vector<std::string> extra;
    std::set_difference(program.begin(), program.end(), schema.begin(), schema.end(), std::back_inserter(missing));
    std::set_difference(schema.begin(), schema.end(), program.begin(), program.end(), std::back_inserter(extra));
    for (const std::string& value : missing) {
        ADD_FAILURE() << where << " lacks value=\"" << value << "\"";
    }
    for (const std::string& value : extra) {
        ADD_FAILURE() << where << " holds value=\"" << value << "\", which the program does not know";
    }
}

TEST(SchemaNamesTest, InputSchemaListsEveryInputNameInBothForms)
{
    std::multiset<std::string> names;
    std::multiset<std::string> patterns;
    for (const CheckNames& check : ProgramCheckNames()) {
        names.insert(check.input);
        patterns.insert(AnyCasePattern(check.input));
    }
    ASSERT_EQ(names.size(), 38U);
    ExpectSameValues(FacetValues("input.xsd", "KnownInputTestName", "xs:enumeration"), names,
                     "input.xsd KnownInputTestName");
    ExpectSameValues(FacetValues("input.xsd", "InputTestNameInAnyCase", "xs:pattern"), patterns,
                     "input.xsd InputTestNameInAnyCase");
}

TEST(SchemaNamesTest, ResultsSchemaListsEveryResultName)
{
    std::multiset<std::string> names;
    for (const CheckNames& check : ProgramCheckNames()) {
        ASSERT_FALSE(check.result.empty()) << check.input;
        if (names.count(check.result) == 0) {
            names.insert(check.result);
        }
    }
    ExpectSameValues(FacetValues("results.xsd", "ResultTestName", "xs:enumeration"), names,
                     "results.xsd ResultTestName");
}

// Every element and attribute name a schema declares, once.
std::multiset<std::string> DeclaredNames(const std::string& schema, const char* kind)
{
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_file(SchemaPath(schema).c_str());
    EXPECT_TRUE(parsed) << schema << ": " << parsed.description();
    std::set<std::string> names;
    for (const pugi::xpath_node& node : document.select_nodes(("//" + std::string(kind) + "/@name").c_str())) {
        names.insert(node.attribute().value());
    }
    return {names.begin(), names.end()};
}

std::multiset<std::string> Utf8Names(std::initializer_list<std::wstring> names)
{
    std::multiset<std::string> converted;
    for (const std::wstring& name : names) {
        converted.insert(winapi::ToUtf8(name));
    }
    return converted;
}

TEST(SchemaNamesTest, TheDocumentVocabularyIsTheSchemas)
{
    const std::wstring inputRoot = L"input_tests";
    ExpectSameValues(DeclaredNames("input.xsd", "xs:element"),
                     Utf8Names({inputRoot, TestElement, NameElement, ParameterElement, DescriptiveNameElement,
                                DescriptiveSolutionElement}),
                     "input.xsd's elements");
    ExpectSameValues(DeclaredNames("input.xsd", "xs:attribute"), Utf8Names({LanguageAttribute}),
                     "input.xsd's attributes");
    ExpectSameValues(DeclaredNames("results.xsd", "xs:element"),
                     Utf8Names({ResultsElement, TestElement, NameElement, PassedElement, MoreInfoElement,
                                DescriptiveNameElement, DescriptiveSolutionElement}),
                     "results.xsd's elements");
    EXPECT_EQ(InputRootQuery, L"/" + inputRoot);
    EXPECT_EQ(TestElementsQuery, L"//" + inputRoot + L"/" + TestElement);
    EXPECT_EQ(ResultTestsQuery, L"//" + ResultsElement + L"/" + TestElement);
}

}  // namespace
