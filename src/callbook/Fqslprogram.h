#pragma once
// The outside QSL manager search program: run with the call as its only argument
// (no shell), in its own folder, its output written to "manager.res" there and
// read back, within a time limit.

#include "resultlines.h"

#include <string>
#include <string_view>

namespace vellum {

/// Runs program for call and appends the heading and the lines of its result file.
/// Waits at most timeoutMs; a program still running then is killed.
void RunQslProgram(const std::string &program, std::string_view call, int timeoutMs, CallbookLines &lines);

} // namespace vellum
