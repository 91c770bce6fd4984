// vantor: the text display's protocol and statistics, as a dialog program.
//   vantor [--help] [--version] [--port PORT]
#include <memory>

#include "link/platform_serial.h"
#include "protocol_tool/core/vantor_settings.h"
#include "protocol_tool/qt/vantor_dlg.h"
#include "qt_shared/dialog_clock.h"
#include "qt_shared/dialog_start.h"
#include "qt_shared/stop_requests.h"

int main(int argc, char** argv) {
    const qtshared::DialogProgram program{"vantor",
                                          "vantorctl",
                                          "The text display's protocol and statistics.",
                                          protocol::kSettingsCompany,
                                          protocol::kSettingsProgram,
                                          false,
                                          ""};
    qtshared::DialogStart start = qtshared::StartDialogProgram(argc, argv, program);
    if (!start.app) return start.exitStatus;

    qtshared::DialogClock clock;
    auto device = serial::MakeSerialDevice(clock);
    vantor::CVantorDlg dialog(*device, QString::fromStdString(start.arguments.port));
    clock.paintWhileWaiting(&dialog);
    qtshared::EndOnStopRequest(dialog, [&dialog] { dialog.reject(); });
    if (!dialog.Initialise()) return qtshared::ExitStatusAfterStop(1);
    dialog.exec();
    return qtshared::ExitStatusAfterStop(0);
}
