#pragma once
// The automation name "QuarnWin.Application": on Windows a COM class (ProgID and CLSID in the
// user's part of the registry, a local server), elsewhere a name on the D-Bus session bus.
// A program started for automation serves a class factory: a client creates the application
// object (which has no methods or properties of its own) and holds it until it releases it
// (or leaves the bus). While anyone holds it, closing the main dialog only hides it; when the
// last client lets go of a hidden dialog, the program ends. A program started normally only
// registers how it is started for automation. Without a session bus (or COM) all of this
// quietly does nothing.
#include <QObject>
#include <QString>
#include <map>
#include <memory>

namespace quarnwin {

class AutomationServer final : public QObject {
    Q_OBJECT
  public:
    static constexpr const char* kServiceName = "QuarnWin.Application";
    static constexpr const char* kFactoryPath = "/QuarnWin/ClassFactory";
    static constexpr const char* kObjectPath = "/QuarnWin/Application";
    static constexpr const char* kFactoryInterface = "QuarnWin.ClassFactory";
    // The COM class of the application object.
    static constexpr const char* kClassId = "{A85B196A-E3AB-4933-9B50-2592097FC993}";

    explicit AutomationServer(QObject* parent = nullptr);
    ~AutomationServer() override;

    // True when the platform's automation service (the session bus, COM) can be reached.
    static bool BusAvailable();

    // Automation start: claims the name and serves the factory. False when there is no bus
    // or the name is taken (or COM refuses the class object).
    bool Serve();
    // Normal start: writes the bus's activation entry for the name, pointing at program,
    // into dataFolder (dbus-1/services/ below the per-user data folder when empty). False
    // when there is no bus or the entry can't be written.
    // On Windows: the ProgID and the CLSID with its local server under
    // HKEY_CURRENT_USER\Software\Classes, written afresh (dataFolder unused).
    static bool RegisterActivation(const QString& program, const QString& dataFolder = QString());
    // Removes what RegisterActivation wrote ("/UnregServer"). True when nothing is left.
    static bool RemoveActivation(const QString& dataFolder = QString());

    bool held() const { return holds_ > 0; }
    int holds() const { return holds_; }

    // A client takes or lets go of the application object (also called by the bus adaptor).
    void Hold(const QString& client);
    void Release(const QString& client);
    // The client left the bus: everything it held is let go.
    void ClientGone(const QString& client);

  signals:
    void heldChanged(bool held);

  private:
    // The platform's part of following a client (the bus watches it leave).
    void WatchClient(const QString& client);
    void ForgetClient(const QString& client);

    struct Registration;  // the platform's registration of the class object
    std::unique_ptr<Registration> registration_;
    std::map<QString, int> clients_;
    int holds_ = 0;
    QObject* factory_ = nullptr;
    QObject* application_ = nullptr;
    QObject* watcher_ = nullptr;
};

}  // namespace quarnwin
