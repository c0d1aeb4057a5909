#pragma once

#include "framework/Test.h"

#include "winapi/WinTypes.h"

// The program must run with administrator rights. With user account control it tells an
// administrator who runs without elevation from a standard user.
class AdministratorTest : public Test {
public:
    using Test::Test;
    bool Run() override;

private:
    bool IsVistaOrLater();
    bool CheckAdministrator();
};
