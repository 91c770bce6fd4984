#pragma once
// Which port a dialog program talks through. In order: the port given with --port; the port
// the technician chose with "Port…" (kept per user under "Port" in "Einstellungen"; empty
// means none); the USB-serial converter. When there is no converter, its message is shown
// and the same choice is offered; cancelling it ends the program.
#include <QString>
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace qtshared {

// The context menu's text for the port choice.
inline constexpr char kPortMenuText[] = "Port…";
// The group of a dialog program's settings, the chosen port's among them.
inline constexpr char kSettingsGroup[] = "Einstellungen";
// The settings value of the chosen port, in kSettingsGroup.
inline constexpr char kPortSetting[] = "Port";

enum class PortOrigin { Converter, CommandLine, Chosen };

struct PortInUse {
    std::string port;
    PortOrigin origin = PortOrigin::Converter;
};

// How the port came, for the line under the port's name; empty for the converter's port,
// whose name alone is shown as the device's programs always showed it.
QString PortOriginText(PortOrigin origin);

// Asks for a port, proposing `current` (empty: the converter). The answer: nullopt when
// cancelled, an empty text for the converter, else the port.
using PortAsker = std::function<std::optional<QString>(QWidget* parent, const QString& current)>;

class PortChoice {
  public:
    // company, program: where the settings live. findConverter: the converter search, which
    // shows its own message when there is none and then answers empty.
    PortChoice(const char* company, const char* program, std::function<std::string()> findConverter,
               PortAsker ask);

    // The port at start-up; nullopt when there is none and the technician cancelled.
    std::optional<PortInUse> AtStart(QWidget* parent, const std::string& commandLinePort);

    // "Port…": asks again, keeps the answer and gives the port to use now; nullopt when
    // cancelled, or when the converter was asked for and none is there (it said so).
    std::optional<PortInUse> ChooseAgain(QWidget* parent, const PortInUse& current);

    QString Stored() const;

  private:
    std::optional<PortInUse> Ask(QWidget* parent, const QString& current);
    void Keep(const QString& port) const;

    const char* company_;
    const char* program_;
    std::function<std::string()> findConverter_;
    PortAsker ask_;
};

}  // namespace qtshared
