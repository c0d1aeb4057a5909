#pragma once

// The program: chooses run or update mode from the process command line and returns the
// process exit code.
int TarnwickMain();
