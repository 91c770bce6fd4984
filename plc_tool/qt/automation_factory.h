#pragma once
// The bus side of the automation layer: the class factory a client calls to create and
// release the application object.
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QObject>

namespace quarnwin {

class AutomationServer;

class AutomationFactory final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "QuarnWin.ClassFactory")
  public:
    AutomationFactory(AutomationServer& server, QObject* parent);

  public slots:
    // The application object for the caller, held until ReleaseObject or until the caller
    // leaves the bus.
    Q_SCRIPTABLE QDBusObjectPath CreateObject();
    Q_SCRIPTABLE void ReleaseObject();

  private:
    AutomationServer& server_;
};

}  // namespace quarnwin
