#include "plc_tool/qt/automation.h"

// What the automation layer does on every platform: the count of holds. How clients reach
// the object is the platform's (automation_dbus_posix.cpp, automation_com_win32.cpp).

namespace quarnwin {

void AutomationServer::Hold(const QString& client) {
    WatchClient(client);
    ++clients_[client];
    if (++holds_ == 1) emit heldChanged(true);
}

void AutomationServer::Release(const QString& client) {
    auto it = clients_.find(client);
    if (it == clients_.end()) return;
    if (--it->second == 0) clients_.erase(it);
    if (--holds_ == 0) emit heldChanged(false);
}

void AutomationServer::ClientGone(const QString& client) {
    auto it = clients_.find(client);
    if (it == clients_.end()) return;
    holds_ -= it->second;
    clients_.erase(it);
    ForgetClient(client);
    if (holds_ == 0) emit heldChanged(false);
}

}  // namespace quarnwin
