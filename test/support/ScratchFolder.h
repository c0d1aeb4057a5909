#pragma once
// A fresh folder for one test, removed with everything in it when the test ends.

#include <filesystem>
#include <string>

class ScratchFolder {
public:
    ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();

    [[nodiscard]] const std::filesystem::path& Path() const { return path_; }
    // Writes a file below the folder and returns its path.
    std::filesystem::path Write(const std::string& name, const std::string& content) const;
    [[nodiscard]] std::string Read(const std::string& name) const;
    [[nodiscard]] bool Exists(const std::string& name) const;

private:
    std::filesystem::path path_;
};

// The whole content of a file.
[[nodiscard]] std::string ReadFileText(const std::filesystem::path& path);
