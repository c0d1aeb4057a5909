#pragma once
// A check the program can run, and the record of its result. Run fills the record; the results
// writer drains it afterwards.

#include "platform/Console.h"
#include "platform/MessageFormat.h"

#include <list>
#include <string>
#include <string_view>
#include <vector>

class Test {
public:
    explicit Test(const std::vector<std::wstring>& parameters);
    Test(const Test&) = delete;
    Test& operator=(const Test&) = delete;
    virtual ~Test() = default;

    // Examines the machine and fills the record; returns the verdict, which no caller uses.
    virtual bool Run() = 0;

    bool SetPassed(bool value);
    [[nodiscard]] bool GetPassed() const;

    template <typename... Arguments>
    void AddMoreInfo(std::wstring_view format, const Arguments&... arguments)
    {
        moreInfo.push_back(FormatLine(format, arguments...));
    }

    // One console line: the formatted text, then a line end of its own.
    template <typename... Arguments>
    void PrintLine(std::wstring_view format, const Arguments&... arguments)
    {
        ConsolePrintf("%wS\n", FormatLine(format, arguments...));
    }

    // Adds a solution line from the template. conversion names the kind of the one value: ""
    // (the template as it stands), "%wS" (a string) or "%d" (an int).
    bool AddSolution(std::wstring_view conversion);
    bool AddSolution(std::wstring_view conversion, const std::wstring& value);
    bool AddSolution(std::wstring_view conversion, int value);

    // The class name of the object, e.g. "LaptopTest".
    [[nodiscard]] std::wstring GetName() const;

    void SetDescriptiveName(std::wstring text);
    [[nodiscard]] std::wstring GetDescriptiveName() const;
    void SetDescriptiveSolution(std::wstring text);
    [[nodiscard]] std::wstring GetDescriptiveSolution() const;

    [[nodiscard]] bool HasMoreInfo() const;
    std::wstring PopMoreInfo();
    [[nodiscard]] bool HasSolution() const;
    std::wstring PopSolution();

private:
    bool AddFormattedSolution(std::wstring_view conversion, const FormatArgument& value);
    [[nodiscard]] std::wstring SolutionTemplate() const;

    // Lists, not deques: an empty deque already holds a block of its own, and a document may ask
    // for a million tests, most of which never record a line.
    std::list<std::wstring> moreInfo;
    bool passed = false;
    std::wstring descriptiveName;
    std::wstring descriptiveSolution;
    std::list<std::wstring> solutions;
};
