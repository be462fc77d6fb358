#include <string>
#include <vector>

#include "cutter/run_cutter.h"

int main(int argc, char** argv) {
  return cutter::runCutter(std::vector<std::string>(argv, argv + argc));
}
