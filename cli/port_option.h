#pragma once
// The --port option of the three command-line tools: a local serial port or a device
// server's network port, checked while the command line is read, so a malformed address is
// a usage error that names the argument.
#include <CLI/CLI.hpp>
#include <string>

namespace cli {

CLI::Option* AddPortOption(CLI::App& app, std::string& port);

}  // namespace cli
