// The switches of one run, read from the command line after the image path.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace cutter {

struct CutterOptions {
  bool makeSubfolders = true;   // "-d" turns it off
  bool cutBsaveHeader = true;   // "-b-" turns it off
  int spaceMode = 0;            // "-s0", "-s1", "-s2": spaces dropped, kept, made "_"
  bool addPeriod = true;        // "-p" turns it off
  bool dollarOnClash = false;   // "-f" turns it on
  bool exclusiveEnd = true;     // "-v-" turns it off
};

// Reads arguments[2] onward. Empty when "-?" or "-h" asks for the usage text;
// anything that matches no switch is ignored.
std::optional<CutterOptions> parseOptions(const std::vector<std::string>& arguments);

// Writes the usage text to standard error and answers the status to end with.
int showUsage(int status);

}  // namespace cutter
