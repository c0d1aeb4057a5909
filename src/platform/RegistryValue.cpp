#include "platform/RegistryValue.h"

#include "platform/GrowingBuffer.h"

namespace {

// The values the checks read are names and versions of a few hundred bytes at most.
constexpr BufferGrowth ValueGrowth{0, 256, 1024 * 1024};

}  // namespace

winapi::LONG ReadRegistryValue(winapi::HKEY key, const std::wstring& valueName, std::vector<winapi::BYTE>& data)
{
    auto result = static_cast<winapi::LONG>(winapi::ERROR_SUCCESS);
    // The first try has no buffer and only asks for the size; a value that grew after that answers
    // ERROR_MORE_DATA with its new size. The value is asked for again even when it has no bytes,
    // as a failure of that second query counts.
    auto bytes = ReadIntoGrowingBuffer(ValueGrowth, [&](std::vector<winapi::BYTE>& buffer, std::size_t& wanted) {
        winapi::DWORD size = static_cast<winapi::DWORD>(buffer.size());
        result = winapi::RegQueryValueExW(key, valueName, nullptr, buffer, size);
        const bool sizeOnly = result == static_cast<winapi::LONG>(winapi::ERROR_SUCCESS) && buffer.empty();
        if (sizeOnly || result == static_cast<winapi::LONG>(winapi::ERROR_MORE_DATA)) {
            result = static_cast<winapi::LONG>(winapi::ERROR_MORE_DATA);
            wanted = size;
            return BufferAnswer::TooSmall;
        }
        if (result != static_cast<winapi::LONG>(winapi::ERROR_SUCCESS)) {
            return BufferAnswer::Failed;
        }
        buffer.resize(std::min<std::size_t>(size, buffer.size()));
        return BufferAnswer::Filled;
    });
    if (bytes) {
        data = std::move(*bytes);
    }
    return result;
}
