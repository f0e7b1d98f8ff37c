// The main of every level tool: runs the tool and turns an exception (a file
// that cannot be read or written, a malformed level) into its message on
// stderr, "tool: message", and exit status 1.
#pragma once

#include <exception>
#include <iostream>

namespace qb::levels {

inline int ToolMain(const char* tool, int (*run)(int, char**), int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << tool << ": " << e.what() << "\n";
    return 1;
  }
}

}  // namespace qb::levels
