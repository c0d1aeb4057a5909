#include "checks/disk/ReadyBoostTest.h"

#include "checks/disk/ReadyFeatures.h"

bool ReadyBoostTest::Run()
{
    return RunReadyFeatureTest(*this);
}
