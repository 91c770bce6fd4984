#include "link/win32_device.h"

#include <windows.h>

#include "link/deadline.h"
#include "link/device_path.h"
#include "link/open_sentences.h"
#include "link/win32_settings.h"

namespace serial {

struct Win32Device::State {
    HANDLE handle = INVALID_HANDLE_VALUE;
    LineSettings settings;
    // The time-outs the port has now; a read or write with another time-out changes them.
    COMMTIMEOUTS timeouts{};
    bool timeoutsKnown = false;
};

namespace {

OpenError ReasonForError(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_UNIT:
        case ERROR_DEV_NOT_EXIST:
            return OpenError::Absent;
        // A COM port that another program holds answers with "access denied".
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return OpenError::Busy;
        default:
            return OpenError::Other;
    }
}

}  // namespace

Win32Device::Win32Device(common::Clock& clock) : clock_(clock), state_(std::make_unique<State>()) {}

Win32Device::~Win32Device() {
    close();
}

bool Win32Device::isOpen() const {
    return state_->handle != INVALID_HANDLE_VALUE;
}

OpenResult Win32Device::open(const std::string& port) {
    close();
    const std::string path = DevicePathFor(port);
    // No sharing: a second program (or a second open here) is refused while this one runs.
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const OpenError reason = ReasonForError(GetLastError());
        return OpenFailure(reason, PlainOpenSentence(reason, port));
    }
    // A freshly opened port starts with empty buffers: bytes the device sent to an earlier
    // user of the line are not answers to this program's requests.
    PurgeComm(handle, PURGE_RXCLEAR | PURGE_TXCLEAR);
    state_->handle = handle;
    state_->timeoutsKnown = false;
    return {};
}

bool Win32Device::useTimeouts(common::Millis readTotal, common::Millis writeTotal) {
    COMMTIMEOUTS wanted = BuildTimeouts(state_->settings.readInterval, readTotal, writeTotal);
    if (state_->timeoutsKnown &&
        wanted.ReadTotalTimeoutConstant == state_->timeouts.ReadTotalTimeoutConstant &&
        wanted.WriteTotalTimeoutConstant == state_->timeouts.WriteTotalTimeoutConstant &&
        wanted.ReadIntervalTimeout == state_->timeouts.ReadIntervalTimeout)
        return true;
    if (!SetCommTimeouts(state_->handle, &wanted)) {
        state_->timeoutsKnown = false;
        return false;
    }
    state_->timeouts = wanted;
    state_->timeoutsKnown = true;
    return true;
}

common::Millis Win32Device::currentReadTotal() const {
    if (!state_->timeoutsKnown) return state_->settings.readTotal;
    return common::Millis{state_->timeouts.ReadTotalTimeoutConstant};
}

common::Millis Win32Device::currentWriteTotal() const {
    if (!state_->timeoutsKnown) return state_->settings.writeTotal;
    return common::Millis{state_->timeouts.WriteTotalTimeoutConstant};
}

SettingsResult Win32Device::configure(const LineSettings& settings) {
    if (!isOpen()) return SettingsResult::Refused();
    state_->settings = settings;
    state_->timeoutsKnown = false;
    if (!useTimeouts(settings.readTotal, settings.writeTotal)) return SettingsResult::Refused();
    // Read, change the program's fields, write back: the rest of the state stays the driver's.
    DCB current{};
    current.DCBlength = sizeof current;
    if (!GetCommState(state_->handle, &current)) return SettingsResult::Refused();
    DCB wanted = BuildDcb(current, settings);
    if (!SetCommState(state_->handle, &wanted)) return SettingsResult::Refused();
    return {};
}

void Win32Device::close() {
    if (!isOpen()) return;
    CloseHandle(state_->handle);
    state_->handle = INVALID_HANDLE_VALUE;
    state_->timeoutsKnown = false;
}

bool Win32Device::write(std::string_view bytes, common::Millis timeout, WriteEnd end) {
    if (!isOpen()) return false;
    if (bytes.empty()) return true;
    if (!useTimeouts(currentReadTotal(), timeout)) return false;
    DWORD written = 0;
    if (!WriteFile(state_->handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                   nullptr))
        return false;
    // A short count is the write time-out running out.
    if (written != bytes.size()) return false;
    // Drained: return only when the bytes have left the port, so the protocol's pacing waits
    // are idle-line time.
    if (end == WriteEnd::Drained && !FlushFileBuffers(state_->handle)) return false;
    return true;
}

ReadResult Win32Device::read(common::Millis timeout) {
    const common::Millis deadline = clock_.now() + timeout;
    // A port that is not open has nothing to wait for.
    if (!isOpen()) return {ReadStatus::Gone};
    if (useTimeouts(timeout, currentWriteTotal())) {
        std::uint8_t byte = 0;
        DWORD got = 0;
        if (ReadFile(state_->handle, &byte, 1, &got, nullptr)) {
            if (got == 1) return {ReadStatus::Byte, byte};
            // A read of a vanished device may end without a byte as a silent line does: it
            // is told apart by ending long before its time-out (the end of the file of a port
            // whose far end hung up), or by the port's error state.
            DWORD errors = 0;
            COMSTAT status{};
            const bool endedEarly = Remaining(clock_, deadline) > timeout / 2;
            if (!endedEarly && (ClearCommError(state_->handle, &errors, &status) ||
                                !MeansPortGone(GetLastError())))
                return {};  // the read time-out passed in silence
        }
    }
    // The converter was unplugged: the caller still sees its time-out pass, then learns the
    // device is gone.
    clock_.sleep(Remaining(clock_, deadline));
    return {ReadStatus::Gone};
}

}  // namespace serial
