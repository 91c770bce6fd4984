#include "plc_tool/qt/automation.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#ifdef QUARNWIN_WITH_DBUS
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>

#include "plc_tool/qt/automation_factory.h"
#endif

namespace quarnwin {

AutomationServer::AutomationServer(QObject* parent) : QObject(parent) {}

AutomationServer::~AutomationServer() {
#ifdef QUARNWIN_WITH_DBUS
    if (factory_) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterObject(kFactoryPath);
        bus.unregisterObject(kObjectPath);
        bus.unregisterService(kServiceName);
    }
#endif
}

bool AutomationServer::IsAutomationStart(const QStringList& arguments) {
    for (const QString& a : arguments.mid(1)) {
        QString option = a;
        while (option.startsWith('-') || option.startsWith('/')) option.remove(0, 1);
        if (option.compare("Embedding", Qt::CaseInsensitive) == 0 ||
            option.compare("Automation", Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool AutomationServer::BusAvailable() {
#ifdef QUARNWIN_WITH_DBUS
    return QDBusConnection::sessionBus().isConnected();
#else
    return false;
#endif
}

bool AutomationServer::Serve() {
#ifdef QUARNWIN_WITH_DBUS
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || factory_) return factory_ != nullptr;
    if (!bus.registerService(kServiceName)) return false;
    auto* factory = new AutomationFactory(*this, this);
    // The application object itself offers nothing but its existence.
    auto* application = new QObject(this);
    if (!bus.registerObject(kFactoryPath, factory, QDBusConnection::ExportScriptableSlots) ||
        !bus.registerObject(kObjectPath, application, QDBusConnection::ExportScriptableContents)) {
        bus.unregisterService(kServiceName);
        return false;
    }
    factory_ = factory;
    application_ = application;
    auto* watcher = new QDBusServiceWatcher(this);
    watcher->setConnection(bus);
    watcher->setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this,
            &AutomationServer::ClientGone);
    watcher_ = watcher;
    return true;
#else
    return false;
#endif
}

bool AutomationServer::RegisterActivation(const QString& program, const QString& dataFolder) {
    if (!BusAvailable()) return false;
    QString folder = dataFolder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                 "/dbus-1/services";
    if (!QDir().mkpath(folder)) return false;
    QFile entry(folder + "/" + kServiceName + ".service");
    if (!entry.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) return false;
    QByteArray text = "[D-BUS Service]\nName=" + QByteArray(kServiceName) + "\nExec=\"" +
                      program.toUtf8() + "\" --automation\n";
    return entry.write(text) == text.size();
}

void AutomationServer::Hold(const QString& client) {
#ifdef QUARNWIN_WITH_DBUS
    if (auto* watcher = qobject_cast<QDBusServiceWatcher*>(watcher_))
        if (!watcher->watchedServices().contains(client)) watcher->addWatchedService(client);
#endif
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
#ifdef QUARNWIN_WITH_DBUS
    if (auto* watcher = qobject_cast<QDBusServiceWatcher*>(watcher_))
        watcher->removeWatchedService(client);
#endif
    if (holds_ == 0) emit heldChanged(false);
}

#ifdef QUARNWIN_WITH_DBUS
AutomationFactory::AutomationFactory(AutomationServer& server, QObject* parent)
    : QObject(parent), server_(server) {}

QDBusObjectPath AutomationFactory::CreateObject() {
    server_.Hold(calledFromDBus() ? message().service() : QString());
    return QDBusObjectPath(AutomationServer::kObjectPath);
}

void AutomationFactory::ReleaseObject() {
    server_.Release(calledFromDBus() ? message().service() : QString());
}
#endif

}  // namespace quarnwin
