#pragma once
// The process's two text channels, standard output and standard error, written as the platform
// shows text. On Windows a console gets the characters themselves (WriteConsoleW), so a name
// beyond ASCII shows as it is; a file or pipe gets the text in the system's ANSI code page, with
// "\r\n" line ends, as a tool that captures a Windows console program's narrow output reads it.
// The simulated machine writes UTF-8 with "\n", as a Linux terminal and the tests read it.

#include <string_view>

namespace winapi {

enum class StandardStream { Output, Error };

// Writes the whole text; a channel that is closed or fails drops it, as the runtime's printf does.
void WriteStandardText(StandardStream stream, std::wstring_view text);

}  // namespace winapi
