#pragma once
// Whether a token belongs to the Administrators group, and the token that user account control
// links to the process token: what the administrator check decides by, and what a capture of
// the machine records.

#include "winapi/Security.h"
#include "winapi/WinTypes.h"

// A null token stands for the calling thread's own token. False when the group cannot be asked.
[[nodiscard]] bool IsAdministratorsMember(winapi::HANDLE token);

// The token that user account control links to the process token (the elevated one of an
// administrator who runs without elevation); empty when there is none.
[[nodiscard]] winapi::UniqueToken LinkedTokenOf(winapi::HANDLE processToken);
