#include "cutter/cutter_options.h"

#include <cstdio>

#include "cutter/console_texts.h"

namespace cutter {

std::optional<CutterOptions> parseOptions(const std::vector<std::string>& arguments) {
  CutterOptions options;
  for (std::size_t i = 2; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "-?" || argument == "-h") return std::nullopt;
    if (argument == "-d") options.makeSubfolders = false;
    if (argument == "-b-") options.cutBsaveHeader = false;
    if (argument == "-p") options.addPeriod = false;
    if (argument == "-f") options.dollarOnClash = true;
    if (argument == "-v-") options.exclusiveEnd = false;
    if (argument.size() >= 3 && argument.compare(0, 2, "-s") == 0 && argument[2] >= '0' &&
        argument[2] <= '2') {
      options.spaceMode = argument[2] - '0';
    }
  }
  return options;
}

int showUsage(int status) {
  for (const char* line : text::usageLines) std::fputs(line, stderr);
  return status;
}

}  // namespace cutter
