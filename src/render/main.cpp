// helidisk-render: the window's picture and readout for any instant, from
// the command line.
#include <cstdio>
#include <string>
#include <vector>

#include "renderrun.h"

int main(int argc, char* argv[]) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return helidisk::RunRenderer(arguments, stdout, stderr);
}
