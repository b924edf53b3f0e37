#pragma once

// --help and --version of the programs, answered from the raw arguments
// before any application object exists, so that neither needs a display.

#include "platform/Version.h"

#include <cstdio>
#include <cstring>
#include <optional>

namespace kestrum {

// Prints "PROGRAM VERSION" on standard output.
inline void PrintVersion(const char *program) {
  std::printf("%s %s\n", program, kVersionString);
}

// When the first argument is --help or --version: prints the usage text or
// the version on standard output and answers the exit status 0. Otherwise
// answers nothing and the program goes on.
inline std::optional<int> AnswerHelpOrVersion(int argc, char **argv, const char *program,
                                              const char *usage) {
  if (argc < 2)
    return std::nullopt;
  if (std::strcmp(argv[1], "--help") == 0) {
    std::fputs(usage, stdout);
    return 0;
  }
  if (std::strcmp(argv[1], "--version") == 0) {
    PrintVersion(program);
    return 0;
  }
  return std::nullopt;
}

} // namespace kestrum
