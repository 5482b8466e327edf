#pragma once
// The command line of hht-sim: what to run, on which line, with which options
// for testing the PC.

#include <string>
#include <vector>

#include "terminal.h"

namespace hht {

struct CliOptions {
  bool help = false;
  bool pty = false;
  std::string link;    // symlink to the pseudo-terminal's slave
  std::string device;  // serial device
  int speed = 19200;
  bool quiet = false;
  std::string command;  // "send" or "fetch"
  std::string sendDir;
  std::string outDir;
  std::vector<std::string> names;
  Options run;
};

struct ParsedCommandLine {
  CliOptions options;
  std::string error;  // empty when the command line is usable
};

ParsedCommandLine ParseCommandLine(int argc, char** argv);
const char* HelpText();

}  // namespace hht
