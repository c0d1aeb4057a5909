#include "tests/disk/ReadyBoostTest.h"

#include "tests/disk/ReadyFeatures.h"

bool ReadyBoostTest::Run()
{
    return RunReadyFeatureTest(*this);
}
