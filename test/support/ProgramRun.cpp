#include "support/ProgramRun.h"

#include "support/SchemaCheck.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <stdexcept>

extern char** environ;

namespace {

// Reads both pipes to their end together, so that neither can fill up and stall the program.
void Drain(int consoleFd, int traceFd, ProgramResult& result)
{
    std::array<pollfd, 2> fds{{{consoleFd, POLLIN, 0}, {traceFd, POLLIN, 0}}};
    std::array<std::string*, 2> sinks{&result.console, &result.trace};
    int open = 2;
    std::array<char, 4096> buffer{};
    while (open > 0) {
        if (poll(fds.data(), fds.size(), -1) < 0) {
            throw std::runtime_error("poll failed");
        }
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) {
                continue;
            }
            const ssize_t count = read(fds[i].fd, buffer.data(), buffer.size());
            if (count <= 0) {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            } else {
                sinks[i]->append(buffer.data(), static_cast<std::size_t>(count));
            }
        }
    }
}

}  // namespace

namespace {

// The argument and environment texts of one start of the program, kept alive for posix_spawn.
struct StartTexts {
    std::vector<std::string> arguments;
    std::vector<std::string> environment;
};

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// A program is started by its path, a tool by its name, looked for on the PATH.
enum class Lookup { ByPath, OnSearchPath };

// Starts the program in workFolder with the standard streams the actions set up; its process id.
pid_t Spawn(const std::string& program, const std::vector<std::string>& arguments,
            const std::filesystem::path& workFolder, const std::filesystem::path& profilePath,
            posix_spawn_file_actions_t& actions, Lookup lookup = Lookup::ByPath)
{
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, workFolder.c_str());
    StartTexts texts;
    texts.arguments.emplace_back(program);
    texts.arguments.insert(texts.arguments.end(), arguments.begin(), arguments.end());
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::string(*entry).rfind("TARNWICK_MACHINE=", 0) != 0) {
            texts.environment.emplace_back(*entry);
        }
    }
    if (!profilePath.empty()) {
        texts.environment.push_back("TARNWICK_MACHINE=" + profilePath.string());
    }
    std::vector<char*> argv = Pointers(texts.arguments);
    std::vector<char*> envp = Pointers(texts.environment);
    pid_t child = 0;
    const int spawned = lookup == Lookup::ByPath
                            ? posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data())
                            : posix_spawnp(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? child : -1;
}

// Runs the program to its end and keeps what it printed.
ProgramResult Run(const std::string& program, const std::vector<std::string>& arguments,
                  const std::filesystem::path& workFolder, const std::filesystem::path& profilePath, Lookup lookup)
{
    std::array<int, 2> consolePipe{};
    std::array<int, 2> tracePipe{};
    if (pipe(consolePipe.data()) != 0 || pipe(tracePipe.data()) != 0) {
        throw std::runtime_error("pipe failed");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, consolePipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, tracePipe[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, consolePipe[0]);
    posix_spawn_file_actions_addclose(&actions, tracePipe[0]);
    const pid_t child = Spawn(program, arguments, workFolder, profilePath, actions, lookup);
    close(consolePipe[1]);
    close(tracePipe[1]);
    if (child < 0) {
        close(consolePipe[0]);
        close(tracePipe[0]);
        throw std::runtime_error("cannot start " + program);
    }
    ProgramResult result;
    Drain(consolePipe[0], tracePipe[0], result);
    int status = 0;
    waitpid(child, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

}  // namespace

ProgramResult RunTarnwick(const std::vector<std::string>& arguments, const std::filesystem::path& workFolder,
                          const std::filesystem::path& profilePath, WrittenResults written)
{
    ProgramResult result = RunProgram(TARNWICK_PROGRAM, arguments, workFolder, profilePath);
    CheckWrittenResults(result.trace, workFolder, written);
    return result;
}

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::filesystem::path& workFolder, const std::filesystem::path& profilePath)
{
    return Run(program, arguments, workFolder, profilePath, Lookup::ByPath);
}

ProgramResult RunTool(const std::string& tool, const std::vector<std::string>& arguments,
                      const std::filesystem::path& workFolder)
{
    return Run(tool, arguments, workFolder, {}, Lookup::OnSearchPath);
}

pid_t StartTarnwickQuietly(const std::vector<std::string>& arguments, const std::filesystem::path& workFolder)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const pid_t child = Spawn(TARNWICK_PROGRAM, arguments, workFolder, {}, actions);
    if (child < 0) {
        throw std::runtime_error(std::string("cannot start ") + TARNWICK_PROGRAM);
    }
    return child;
}

std::filesystem::path FixturePath(const std::string& relative)
{
    return std::filesystem::path(TARNWICK_FIXTURES) / relative;
}

std::filesystem::path ExamplePath(const std::string& relative)
{
    return std::filesystem::path(TARNWICK_EXAMPLES) / relative;
}
