#pragma once
// The command line's arguments in UTF-8, the encoding the core takes file names in. On
// Windows a program's char arguments are in the 8-bit code page, which cannot hold every
// folder name ("Jürgen" on a Cyrillic system, a Cyrillic project on a Western one): there
// they are read from the wide command line instead.
#include <string>
#include <vector>

namespace cli {

// The arguments after the program's name.
std::vector<std::string> Utf8Arguments(int argc, const char* const* argv);

}  // namespace cli
