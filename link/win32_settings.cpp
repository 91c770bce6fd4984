#include "link/win32_settings.h"

namespace serial {

namespace {
DWORD MillisOf(common::Millis ms) {
    return ms.count() <= 0 ? 0 : static_cast<DWORD>(ms.count());
}
}  // namespace

DCB BuildDcb(const DCB& current, const LineSettings& settings) {
    DCB dcb = current;
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = static_cast<DWORD>(settings.baud);
    dcb.ByteSize = static_cast<BYTE>(settings.dataBits);
    dcb.Parity = settings.parity == Parity::Even ? EVENPARITY : NOPARITY;
    dcb.StopBits = settings.stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = TRUE;
    dcb.fDtrControl = settings.dtrOn ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
    dcb.fRtsControl = settings.rtsOn ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fTXContinueOnXoff = TRUE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    return dcb;
}

COMMTIMEOUTS BuildTimeouts(common::Millis readInterval, common::Millis readTotal,
                           common::Millis writeTotal) {
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = MillisOf(readInterval);
    t.ReadTotalTimeoutMultiplier = 0;
    t.ReadTotalTimeoutConstant = MillisOf(readTotal);
    t.WriteTotalTimeoutMultiplier = 0;
    t.WriteTotalTimeoutConstant = MillisOf(writeTotal);
    return t;
}

bool MeansPortGone(DWORD error) {
    switch (error) {
        case ERROR_ACCESS_DENIED:
        case ERROR_INVALID_HANDLE:
        case ERROR_NOT_READY:
        case ERROR_BAD_COMMAND:
        case ERROR_GEN_FAILURE:
        case ERROR_HANDLE_EOF:
        case ERROR_BROKEN_PIPE:
        case ERROR_OPERATION_ABORTED:
        case ERROR_DEVICE_NOT_CONNECTED:
        case ERROR_DEVICE_REMOVED:
        case ERROR_FILE_NOT_FOUND:
            return true;
        default:
            return false;
    }
}

}  // namespace serial
