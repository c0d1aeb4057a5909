#include "tests/disk/ReadyDriveTest.h"

#include "platform/ReadyFeatures.h"

bool ReadyDriveTest::Run()
{
    return RunReadyFeatureTest(*this);
}
