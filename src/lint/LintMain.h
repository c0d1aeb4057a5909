#pragma once

// TarnwickLint: checks an input document (-i) for the texts of the languages given with -l
// (default en) and prints what it finds, errors only with -q. Reads the process command line.
// Returns 0 when nothing was found, 1 for warnings only, 2 for errors or a bad command line.
int TarnwickLintMain();
