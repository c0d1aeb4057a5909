#include "tests/disk/ReadyBoostTest.h"

#include "platform/ReadyFeatures.h"

bool ReadyBoostTest::Run()
{
    return RunReadyFeatureTest(*this);
}
