#pragma once

namespace pemo {

// What every run of the program sets up before anything else, whichever of its two
// executables (the commands, the window) it runs:
// - a file that may not grow further (a size limit) fails its write, which the program
//   reports; it never kills the program with unsaved work;
// - a session that gives no runtime folder gets one of ours, as Qt warns on every start
//   without one.
// Both are inherited by a program this one executes.
void prepareProcess();

}  // namespace pemo
