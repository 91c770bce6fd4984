#include "sim/display/display_faults.h"

#include <climits>
#include <optional>
#include <string_view>

#include "common/whole_number.h"

namespace sim {

namespace {
// "NAME:N" with N a whole decimal number from 1: the number, 0 when the value after the colon
// is no such number, -1 when spec is not of that form.
int NumberAfter(const std::string& spec, const std::string& name) {
    const std::string prefix = name + ":";
    if (spec.rfind(prefix, 0) != 0) return -1;
    const std::optional<long> value =
        common::ReadWholeNumber(std::string_view(spec).substr(prefix.size()), 1, INT_MAX);
    return value ? static_cast<int>(*value) : 0;
}
}  // namespace

bool AddFault(const std::string& spec, DisplayFaults& faults, std::string& error) {
    struct Switched {
        const char* name;
        bool DisplayFaults::*field;
    };
    for (Switched f : {Switched{"silent", &DisplayFaults::silent},
                       Switched{"wrong-login", &DisplayFaults::wrongLogin},
                       Switched{"login-aa", &DisplayFaults::doubledLogin},
                       Switched{"wrong-logout", &DisplayFaults::wrongLogout},
                       Switched{"endless", &DisplayFaults::endless}}) {
        if (spec == f.name) {
            faults.*f.field = true;
            return true;
        }
    }
    if (spec == "pause-in-line") {
        faults.pauseInLine = 2;
        return true;
    }
    struct Numbered {
        const char* name;
        int DisplayFaults::*field;
    };
    for (Numbered n : {Numbered{"wrong-checksum", &DisplayFaults::wrongChecksumAt},
                       Numbered{"short-ack", &DisplayFaults::shortAckAt},
                       Numbered{"silent-from", &DisplayFaults::silentFrom},
                       Numbered{"pause-in-line", &DisplayFaults::pauseInLine}}) {
        int value = NumberAfter(spec, n.name);
        if (value > 0) {
            faults.*n.field = value;
            return true;
        }
        if (value == 0) {
            error = "--fault " + spec + ": the number must be a whole number from 1";
            return false;
        }
    }
    error = "unknown fault \"" + spec + "\"";
    return false;
}

std::string FaultUsage() {
    return "      silent             answers nothing\n"
           "      wrong-login        answers the login with \"a\\r\" (No login)\n"
           "      login-aa           answers the login with \"AA\\r\" (No connection)\n"
           "      wrong-logout       answers the logout with \"A\\r\"\n"
           "      wrong-checksum:N   acknowledges command N with a wrong checksum\n"
           "      short-ack:N        acknowledges command N with its letter only\n"
           "      silent-from:N      answers nothing from command N on\n"
           "      pause-in-line[:N]  stalls 3.5 s in the middle of line N (default 2) of a\n"
           "                         protocol or statistics answer, then sends the rest\n"
           "      endless            repeats a protocol or statistics answer for ever\n"
           "      N counts every command received (login, setup, clock, retrieval) from 1\n"
           "      over the whole run, as the lines of the record file.\n";
}

}  // namespace sim
