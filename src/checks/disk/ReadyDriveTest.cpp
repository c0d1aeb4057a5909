#include "tests/disk/ReadyDriveTest.h"

#include "tests/disk/ReadyFeatures.h"

bool ReadyDriveTest::Run()
{
    return RunReadyFeatureTest(*this);
}
