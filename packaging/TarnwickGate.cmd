@echo off
rem TarnwickGate.cmd INPUT RESULTS [LANGUAGE]
rem
rem For installers: runs Tarnwick.exe (from this script's folder) on the input document INPUT,
rem writing the results document RESULTS, and decides from that document whether the
rem encryption product may go onto this PC. Tarnwick.exe itself exits with 0 even when it could
rem not read the input or write the results, so its exit code cannot decide this.
rem
rem Exit code and last line of output:
rem   0  TarnwickGate: ready         every check in the results document passed
rem   1  TarnwickGate: blocked       at least one check did not pass (passed is false)
rem   2  TarnwickGate: not checked   no results document, or one that is not a valid results
rem                                  document; also for a wrong command line
rem The console output of Tarnwick.exe comes before the last line, its trace on standard error.
rem An old RESULTS file is deleted first, so that a run that writes none is never decided on
rem the old one. TarnwickGate.js, beside this script, reads the document.

setlocal
if "%~2"=="" goto usage
if not "%~4"=="" goto usage
set "language=%~3"
if not defined language set "language=en"

rem A folder is refused before del, which would empty it.
if exist "%~2\*" (
    echo TarnwickGate: not checked ^("%~2" is a folder, not a results document^)
    exit /b 2
)
if exist "%~2" del /f /q "%~2"
if exist "%~2" (
    echo TarnwickGate: not checked ^(the old results document "%~2" cannot be deleted^)
    exit /b 2
)
"%~dp0Tarnwick.exe" -i "%~1" -o "%~2" -f -l "%language%"
if not exist "%~2" (
    echo TarnwickGate: not checked ^(Tarnwick.exe wrote no results document; its trace says why^)
    exit /b 2
)

rem TarnwickGate.js ends with 10 for ready, 11 for blocked and 12 for not checked, so that a
rem Windows Script Host that cannot start or a script that stops early is never taken for ready.
cscript //nologo "%~dp0TarnwickGate.js" "%~2"
set "decision=%errorlevel%"
if "%decision%"=="10" exit /b 0
if "%decision%"=="11" exit /b 1
if "%decision%"=="12" exit /b 2
echo TarnwickGate: not checked ^(Windows Script Host ended with %decision% reading "%~2"^)
exit /b 2

:usage
echo usage: TarnwickGate.cmd INPUT RESULTS [LANGUAGE]
echo Runs Tarnwick.exe on INPUT, writes RESULTS and decides from them: exit code 0 ready,
echo 1 blocked ^(a check failed^), 2 not checked ^(no valid results document^).
exit /b 2
