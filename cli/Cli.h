#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// The whole command line: returns the process exit code. Streams are parameters so tests can
// drive it in-process.
int Main(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace cli
