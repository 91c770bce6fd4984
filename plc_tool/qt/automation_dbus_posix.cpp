// The automation layer on the D-Bus session bus: the name, the class factory and the
// application object as bus objects, clients watched until they leave the bus.
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "plc_tool/qt/automation.h"

#ifdef QUARNWIN_WITH_DBUS
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>

#include "plc_tool/qt/automation_factory.h"
#endif

namespace quarnwin {

// The bus objects are the members factory_, application_ and watcher_.
struct AutomationServer::Registration {};

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

bool AutomationServer::RemoveActivation(const QString& dataFolder) {
    QString folder = dataFolder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                 "/dbus-1/services";
    QFile entry(folder + "/" + kServiceName + ".service");
    return !entry.exists() || entry.remove();
}

void AutomationServer::WatchClient(const QString& client) {
#ifdef QUARNWIN_WITH_DBUS
    if (auto* watcher = qobject_cast<QDBusServiceWatcher*>(watcher_))
        if (!watcher->watchedServices().contains(client)) watcher->addWatchedService(client);
#else
    (void)client;
#endif
}

void AutomationServer::ForgetClient(const QString& client) {
#ifdef QUARNWIN_WITH_DBUS
    if (auto* watcher = qobject_cast<QDBusServiceWatcher*>(watcher_))
        watcher->removeWatchedService(client);
#else
    (void)client;
#endif
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
