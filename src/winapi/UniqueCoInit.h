#pragma once
// The calling thread's place in a COM apartment, owned: entered on construction and left on
// destruction when the entry succeeded (S_FALSE, an apartment already entered, needs its leave
// too), never left when it failed.

#include "winapi/Com.h"
#include "winapi/WinTypes.h"

namespace winapi {

class UniqueCoInit {
public:
    // CoInitializeEx with the threading model.
    explicit UniqueCoInit(DWORD coInit) : result_(CoInitializeEx(coInit)) {}
    // CoInitialize: the apartment-threaded apartment, entered by the older call.
    UniqueCoInit() : result_(CoInitialize()) {}
    UniqueCoInit(const UniqueCoInit&) = delete;
    UniqueCoInit& operator=(const UniqueCoInit&) = delete;
    ~UniqueCoInit()
    {
        if (SUCCEEDED(result_)) {
            CoUninitialize();
        }
    }

    [[nodiscard]] HRESULT Result() const { return result_; }
    [[nodiscard]] bool Entered() const { return SUCCEEDED(result_); }

private:
    HRESULT result_;
};

}  // namespace winapi
