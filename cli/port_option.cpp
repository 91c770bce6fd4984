#include "cli/port_option.h"

#include "link/port_url.h"

namespace cli {

namespace {

// The help text of --port; the man pages take it from --help.
const char* const kPortHelp =
    "Serial port (ttyUSB0, /dev/ttyUSB0, a simulator's link), or a serial device server's "
    "port: rfc2217://HOST:PORT sets the line as on a local port, socket://HOST:PORT sends raw "
    "bytes and the line settings are the server's; without it the USB-serial converter is "
    "looked for";

}  // namespace

CLI::Option* AddPortOption(CLI::App& app, std::string& port) {
    return app
        .add_option_function<std::string>(
            "--port",
            [&port](const std::string& text) {
                const std::string problem = serial::ValidatePortString(text);
                if (!problem.empty()) throw CLI::ValidationError("--port", problem);
                port = text;
            },
            kPortHelp)
        ->type_name("PORT");
}

}  // namespace cli
