#include "checks/disk/ReadyDriveTest.h"

#include "checks/disk/ReadyFeatures.h"

bool ReadyDriveTest::Run()
{
    return RunReadyFeatureTest(*this);
}
