// skellig: sends a text display's setup and text pages, as a dialog program.
//   skellig [--help] [--version] [--port PORT]
#include <memory>

#include "link/platform_serial.h"
#include "qt_shared/dialog_clock.h"
#include "qt_shared/dialog_start.h"
#include "qt_shared/stop_requests.h"
#include "setup_tool/qt/skellig_dlg.h"
#include "setup_tool/qt/skellig_settings.h"

int main(int argc, char** argv) {
    const qtshared::DialogProgram program{"skellig",
                                          "skelligctl",
                                          "Sends a text display's setup and text pages.",
                                          skellig::kSettingsCompany,
                                          skellig::kSettingsProgram,
                                          false,
                                          ""};
    qtshared::DialogStart start = qtshared::StartDialogProgram(argc, argv, program);
    if (!start.app) return start.exitStatus;

    qtshared::DialogClock clock;
    auto device = serial::MakeSerialDevice(clock);
    skellig::CSkelligDlg dialog(*device, QString::fromStdString(start.arguments.port));
    clock.paintWhileWaiting(&dialog);
    qtshared::EndOnStopRequest(dialog, [&dialog] { dialog.reject(); });
    // No port: the dialog closes again at once; its setting is written back unchanged.
    if (!dialog.Initialise()) return qtshared::ExitStatusAfterStop(1);
    dialog.exec();
    return qtshared::ExitStatusAfterStop(0);
}
