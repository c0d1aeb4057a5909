#pragma once

#include "framework/Test.h"

#include "winapi/Bits.h"

#include <memory>

// BITS must accept a download job from the current user. A job is created, given one file and
// cancelled at once; nothing is transferred.
class BitsAdminTest : public Test {
public:
    using Test::Test;
    bool Run() override;

private:
    winapi::HRESULT CreateDownloadJob();
    winapi::HRESULT AddDownloadFile();
    bool CheckBitsDownload();
    void ReleaseBits();

    std::unique_ptr<winapi::BackgroundCopyManager> manager;
    std::unique_ptr<winapi::BackgroundCopyJob> job;
};
