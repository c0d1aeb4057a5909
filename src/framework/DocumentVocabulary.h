#pragma once
// The names of the elements and attributes of the input and results documents, spelled once for
// everything that reads or writes them: the run, the update of an input from results, the linter
// and the fleet. schemas/input.xsd and schemas/results.xsd describe the same documents.

#include <string>

// An input document: <input_tests><test><name/><parameter/>...<descriptive_name language="en"/>
// <descriptive_solution language="en"/></test>...</input_tests>.
inline const std::wstring InputRootQuery = L"/input_tests";
// The test elements of a document, wherever its input_tests elements stand.
inline const std::wstring TestElementsQuery = L"//input_tests/test";
inline const std::wstring NameElement = L"name";
inline const std::wstring ParameterElement = L"parameter";
inline const std::wstring DescriptiveNameElement = L"descriptive_name";
inline const std::wstring DescriptiveSolutionElement = L"descriptive_solution";
inline const std::wstring LanguageAttribute = L"language";

// A results document: <test_results><test><name/><passed/><more_info/>...<descriptive_name/>
// <descriptive_solution/>...</test>...</test_results>.
inline const std::wstring ResultsElement = L"test_results";
inline const std::wstring TestElement = L"test";
inline const std::wstring PassedElement = L"passed";
inline const std::wstring MoreInfoElement = L"more_info";
// The test elements of a results document.
inline const std::wstring ResultTestsQuery = L"//test_results/test";
