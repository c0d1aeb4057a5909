// What the program relies on from its XML document, checked on the simulated backend's
// document: text of descendants, white space kept, selections, attributes, building and saving.

#include "support/ScopedMachine.h"
#include "framework/DomDocument.h"
#include "framework/InputDocument.h"
#include "support/ScratchFolder.h"
#include "winapi/Com.h"

#include <gtest/gtest.h>

namespace {

class XmlDocumentTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(winapi::CoInitializeEx(winapi::COINIT_APARTMENTTHREADED), winapi::S_OK); }
    void TearDown() override { winapi::CoUninitialize(); }

    ScopedMachine machine_{"{}"};

    std::unique_ptr<winapi::XmlDocument> Load(const std::string& text)
    {
        std::unique_ptr<winapi::XmlDocument> document;
        EXPECT_EQ(CreateConfiguredDocument(document), DocumentSetup::Ready);
        bool loaded = false;
        EXPECT_EQ(document->load(folder.Write("doc.xml", text).wstring(), loaded), winapi::S_OK);
        EXPECT_TRUE(loaded);
        return document;
    }

    // The one test element of a loaded document.
    static std::unique_ptr<winapi::XmlNode> FirstTest(winapi::XmlDocument& document)
    {
        std::unique_ptr<winapi::XmlNode> test;
        EXPECT_EQ(document.selectSingleNode(L"//input_tests/test", test), winapi::S_OK);
        return test;
    }

    ScratchFolder folder;
};

TEST_F(XmlDocumentTest, TextJoinsDescendantsAndKeepsWhiteSpace)
{
    const auto document =
        Load("<input_tests><test><name> A<b>B<!--no--></b><![CDATA[<C>]]>\n</name></test></input_tests>");
    const auto test = FirstTest(*document);
    std::wstring name;
    EXPECT_EQ(ReadChildText(*test, L"name", name), winapi::S_OK);
    EXPECT_EQ(name, L" AB<C>\n");
    std::wstring untouched = L"kept";
    EXPECT_EQ(ReadChildText(*test, L"missing", untouched), winapi::S_FALSE);
    EXPECT_EQ(untouched, L"kept");
}

TEST_F(XmlDocumentTest, ParametersComeInDocumentOrderWithTheirBlanks)
{
    const auto document = Load(
        "<input_tests><test><parameter> 500 </parameter><name>x</name>"
        "<parameter/><parameter>\n7\n</parameter><group><parameter>no</parameter></group>"
        "</test></input_tests>");
    std::vector<std::wstring> parameters{L"earlier"};
    EXPECT_EQ(ReadParameters(*FirstTest(*document), parameters), winapi::S_OK);
    EXPECT_EQ(parameters, (std::vector<std::wstring>{L"earlier", L" 500 ", L"", L"\n7\n"}));
}

TEST_F(XmlDocumentTest, AttributesAreCountedAndFoundByName)
{
    const auto document = Load("<input_tests><test><d language=\"en\" extra=\"1\"/></test></input_tests>");
    std::unique_ptr<winapi::XmlNode> element;
    ASSERT_EQ(FirstTest(*document)->selectSingleNode(L"d", element), winapi::S_OK);
    std::unique_ptr<winapi::XmlNamedNodeMap> attributes;
    ASSERT_EQ(element->get_attributes(attributes), winapi::S_OK);
    long count = 0;
    EXPECT_EQ(attributes->get_length(count), winapi::S_OK);
    EXPECT_EQ(count, 2);
    std::wstring value;
    EXPECT_EQ(attributes->getNamedItemValue(L"language", value), winapi::S_OK);
    EXPECT_EQ(value, L"en");
    EXPECT_EQ(attributes->getNamedItemValue(L"Language", value), winapi::S_FALSE);
}

TEST_F(XmlDocumentTest, BuiltDocumentIsSavedAsRawUtf8)
{
    std::unique_ptr<winapi::XmlDocument> document;
    ASSERT_EQ(CreateConfiguredDocument(document), DocumentSetup::Ready);
    std::unique_ptr<winapi::XmlNode> root;
    std::unique_ptr<winapi::XmlNode> child;
    std::unique_ptr<winapi::XmlNode> empty;
    ASSERT_EQ(document->createElement(L"test_results", root), winapi::S_OK);
    ASSERT_EQ(document->createElement(L"more_info", child), winapi::S_OK);
    ASSERT_EQ(document->createElement(L"name", empty), winapi::S_OK);
    // Appended first, filled afterwards, as the results writer does it.
    EXPECT_EQ(document->appendChild(*root), winapi::S_OK);
    EXPECT_EQ(root->appendChild(*child), winapi::S_OK);
    EXPECT_EQ(root->appendChild(*empty), winapi::S_OK);
    EXPECT_EQ(child->put_text(L"a&b <c> \"d\" é"), winapi::S_OK);
    const auto path = folder.Path() / "saved.xml";
    EXPECT_EQ(document->save(path.wstring()), winapi::S_OK);
    EXPECT_EQ(ReadFileText(path),
              "<test_results><more_info>a&amp;b &lt;c&gt; \"d\" é</more_info><name/></test_results>\n");
}

TEST_F(XmlDocumentTest, OnlyWhiteSpaceMayStandBesideTheRootElement)
{
    for (const std::string text : {"x<input_tests/>", "<input_tests/>x", "<![CDATA[x]]><input_tests/>",
                                   "<input_tests/><input_tests/>", "<!-- no element -->", " \n", ""}) {
        std::unique_ptr<winapi::XmlDocument> document;
        ASSERT_EQ(CreateConfiguredDocument(document), DocumentSetup::Ready);
        bool loaded = true;
        EXPECT_EQ(document->load(folder.Write("doc.xml", text).wstring(), loaded), winapi::S_FALSE) << text;
        EXPECT_FALSE(loaded) << text;
    }
    const auto document = Load("\t<!-- c -->\r\n<?pi x?> <input_tests><test/></input_tests>\n\n");
    EXPECT_TRUE(FirstTest(*document));
}

TEST_F(XmlDocumentTest, DocumentNeedsComToBeStarted)
{
    winapi::CoUninitialize();
    std::unique_ptr<winapi::XmlDocument> document;
    EXPECT_EQ(winapi::CreateDomDocument30(document), winapi::CO_E_NOTINITIALIZED);
    EXPECT_FALSE(document);
    ASSERT_EQ(winapi::CoInitializeEx(winapi::COINIT_APARTMENTTHREADED), winapi::S_OK);
}

}  // namespace
