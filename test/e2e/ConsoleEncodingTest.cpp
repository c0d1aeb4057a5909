// The simulated build writes console and trace as UTF-8, whatever characters the names hold: a
// name beyond ASCII (and beyond code page 1252) comes out byte for byte as the document gave it.
// The Windows build's encodings (the characters on a console, the ANSI code page when redirected)
// are checked under Wine by tools/wine-check.sh with the same name.

#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(ConsoleEncodingTest, NameBeyondAsciiComesOutAsUtf8OnConsoleAndTrace)
{
    const std::string name = "T\xC3\xA9st\xE2\x82\xAC\xCE\xA9Test";  // "Tést€ΩTest"
    ScratchFolder folder;
    folder.Write("in.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><input_tests><test><name>" + name +
                               "</name></test><test><name>MSXML3Test</name></test></input_tests>");
    const ProgramResult result = RunTarnwick({"-i", "in.xml"}, folder.Path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.console, name + "\nMSXML3Test\nwriting xml and deallocating tests\n");
    EXPECT_NE(result.trace.find("[TARNWICK] Attempting to allocate a test with name " + name +
                                "\n"
                                "[TARNWICK] Couldn't find a matching Test\n"),
              std::string::npos)
        << result.trace;
}

}  // namespace
