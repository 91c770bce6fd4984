#include "qt_shared/graphical_desktop.h"

#include <cstdlib>
#include <string_view>

namespace qtshared {

namespace {

bool IsSet(const EnvironmentLookup& environment, const char* name) {
    const char* value = environment(name);
    return value && *value;
}

// One platform name, its options cut off ("xcb:option=x" -> "xcb").
bool Usable(std::string_view platform, const EnvironmentLookup& environment) {
    platform = platform.substr(0, platform.find(':'));
    if (platform == "xcb") return IsSet(environment, "DISPLAY");
    if (platform.rfind("wayland", 0) == 0) return IsSet(environment, "WAYLAND_DISPLAY");
    // The rest draw without a desktop session (offscreen, minimal, vnc, linuxfb, eglfs) or are
    // another system's own (windows, cocoa): the toolkit judges them.
    return !platform.empty();
}

}  // namespace

bool CanShowWindows(const std::string& platformOption, const EnvironmentLookup& environment) {
    std::string platforms = platformOption;
    if (platforms.empty() && IsSet(environment, "QT_QPA_PLATFORM"))
        platforms = environment("QT_QPA_PLATFORM");
    if (platforms.empty()) {
#ifdef _WIN32
        return true;  // the Windows desktop is always there for a windowed program
#else
        return IsSet(environment, "DISPLAY") || IsSet(environment, "WAYLAND_DISPLAY");
#endif
    }
    // "wayland;xcb": the toolkit tries each in turn.
    std::string_view rest = platforms;
    while (!rest.empty()) {
        const size_t end = rest.find(';');
        if (Usable(rest.substr(0, end), environment)) return true;
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    return false;
}

EnvironmentLookup ProcessEnvironment() {
    return [](const char* name) -> const char* { return std::getenv(name); };
}

std::string NoDesktopMessage(const DialogProgram& program) {
    return std::string(program.command) +
           ": this program needs a graphical desktop, and none was found (no DISPLAY or "
           "WAYLAND_DISPLAY, or its display could not be reached). On a console or over SSH use "
           "its command-line twin " +
           program.twin + " (" + program.twin + " --help lists what it does).\n";
}

}  // namespace qtshared
