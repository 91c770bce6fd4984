#include "qt_shared/port_choice.h"

#include <QSettings>

#include "qt_shared/core_path.h"

namespace qtshared {

QString PortOriginText(PortOrigin origin) {
    switch (origin) {
        case PortOrigin::CommandLine:
            return "given with --port";
        case PortOrigin::Chosen:
            return QString("chosen with ") + kPortMenuText;
        case PortOrigin::Converter:
            break;
    }
    return {};
}

PortChoice::PortChoice(const char* company, const char* program,
                       std::function<std::string()> findConverter, PortAsker ask)
    : company_(company),
      program_(program),
      findConverter_(std::move(findConverter)),
      ask_(std::move(ask)) {}

QString PortChoice::Stored() const {
    QSettings settings(company_, program_);
    settings.beginGroup(kSettingsGroup);
    return settings.value(kPortSetting, QString()).toString().trimmed();
}

void PortChoice::Keep(const QString& port) const {
    QSettings settings(company_, program_);
    settings.beginGroup(kSettingsGroup);
    settings.setValue(kPortSetting, port);
}

std::optional<PortInUse> PortChoice::AtStart(QWidget* parent, const std::string& commandLinePort) {
    if (!commandLinePort.empty()) return PortInUse{commandLinePort, PortOrigin::CommandLine};
    const QString stored = Stored();
    if (!stored.isEmpty()) return PortInUse{ToCorePath(stored), PortOrigin::Chosen};
    std::string converter = findConverter_();
    if (!converter.empty()) return PortInUse{converter, PortOrigin::Converter};
    // The converter search has said that there is none; a port can still be named.
    for (;;) {
        std::optional<QString> answer = ask_(parent, QString());
        if (!answer) return std::nullopt;
        if (answer->isEmpty()) {
            // The converter again: it may have been plugged in meanwhile.
            converter = findConverter_();
            if (!converter.empty()) return PortInUse{converter, PortOrigin::Converter};
            continue;
        }
        Keep(*answer);
        return PortInUse{ToCorePath(*answer), PortOrigin::Chosen};
    }
}

std::optional<PortInUse> PortChoice::ChooseAgain(QWidget* parent, const PortInUse& current) {
    const QString proposed =
        current.origin == PortOrigin::Converter ? QString() : FromCorePath(current.port);
    return Ask(parent, proposed);
}

std::optional<PortInUse> PortChoice::Ask(QWidget* parent, const QString& current) {
    std::optional<QString> answer = ask_(parent, current);
    if (!answer) return std::nullopt;
    Keep(*answer);
    if (!answer->isEmpty()) return PortInUse{ToCorePath(*answer), PortOrigin::Chosen};
    std::string converter = findConverter_();
    if (converter.empty()) return std::nullopt;
    return PortInUse{converter, PortOrigin::Converter};
}

}  // namespace qtshared
