// The tool's run: banner, switches, and every image of the D88 file in turn.
#pragma once

#include <string>
#include <vector>

namespace cutter {

// arguments[0] is the program's name, arguments[1] the D88 file, the rest
// switches. Answers the exit status: 0, or 1 for a missing argument, a usage
// request, a D88 file that can't be opened, or a failed write.
int runCutter(const std::vector<std::string>& arguments);

}  // namespace cutter
