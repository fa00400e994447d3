// helidisk-render: the window's picture and readout for any instant, from
// the command line.
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "renderrun.h"

int main(int argc, char* argv[]) {
  // A reader that closes the pipe early shows up as a failed write (EPIPE)
  // that the run answers with SIGPIPE's status, rather than as a signal
  // that kills the process halfway through its output, reported as a crash
  // by anything but a shell.
  std::signal(SIGPIPE, SIG_IGN);
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return helidisk::RunRenderer(arguments, stdout, stderr);
}
