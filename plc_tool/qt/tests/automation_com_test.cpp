// The automation layer with the system's COM: the registration switches, the ProgID and
// local server written into and removed from the user's part of the registry, and a client
// that creates the application object through COM holding the program until it releases it.
#include <objbase.h>
#include <windows.h>

#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include "plc_tool/qt/automation.h"
#include "qt_shared/dialog_command_line.h"

using quarnwin::AutomationServer;

namespace {
const QString kClasses = "HKEY_CURRENT_USER\\Software\\Classes";

// Wine's HKEY_CLASSES_ROOT holds only the machine's classes, not the user's.
bool UnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

qtshared::DialogArguments Parse(const std::vector<std::string>& arguments) {
    const qtshared::DialogProgram program{"quarnwin",     "quarnctl", "", "HadrelTest",
                                          "QuarnWinTest", true,       ""};
    return qtshared::ParseDialogArguments(program, arguments);
}

CLSID ClassId() {
    CLSID id{};
    CLSIDFromString(QString(AutomationServer::kClassId).toStdWString().c_str(), &id);
    return id;
}
}  // namespace

class AutomationComTest : public QObject {
    Q_OBJECT

  private slots:
    void theFrameworksSwitchesAreUnderstood() {
        QVERIFY(Parse({"/RegServer"}).registerServer);
        QVERIFY(Parse({"-regserver"}).registerServer);
        QVERIFY(Parse({"/UnregServer"}).unregisterServer);
        QVERIFY(Parse({"/Unregister"}).unregisterServer);
        QVERIFY(Parse({"-Embedding"}).automation);
        QVERIFY(Parse({"/Automation"}).automation);
        QCOMPARE(Parse({"/Register"}).exitStatus.value_or(0), 2);
    }

    void registrationWritesAndRemovesTheProgIdAndTheServer() {
        QVERIFY(AutomationServer::RegisterActivation("C:/Programs/Hadrel/QuarnWin.exe"));
        QSettings classes(kClasses, QSettings::NativeFormat);
        const QString id = AutomationServer::kClassId;
        QCOMPARE(classes.value("QuarnWin.Application/CLSID/Default").toString(), id);
        QCOMPARE(classes.value("CLSID/" + id + "/ProgID/Default").toString(),
                 QString("QuarnWin.Application"));
        QCOMPARE(classes.value("CLSID/" + id + "/LocalServer32/Default").toString(),
                 QString("\"C:\\Programs\\Hadrel\\QuarnWin.exe\" /Automation"));
        // Windows merges the user's classes into HKEY_CLASSES_ROOT, where clients look.
        CLSID fromProgId{};
        if (UnderWine())
            QEXPECT_FAIL("", "Wine shows no user classes in HKEY_CLASSES_ROOT", Continue);
        QCOMPARE(CLSIDFromProgID(L"QuarnWin.Application", &fromProgId), S_OK);
        QVERIFY(UnderWine() || IsEqualCLSID(fromProgId, ClassId()));

        QVERIFY(AutomationServer::RemoveActivation());
        classes.sync();
        QVERIFY(!classes.contains("QuarnWin.Application/CLSID/Default"));
        QVERIFY(!classes.childGroups().contains("QuarnWin.Application"));
        QVERIFY(AutomationServer::RemoveActivation());  // nothing left is no failure
    }

    void aClientHoldsTheProgramUntilItReleasesTheObject() {
        AutomationServer server;
        QVERIFY(server.Serve());
        QSignalSpy held(&server, &AutomationServer::heldChanged);
        IDispatch* application = nullptr;
        const HRESULT created =
            CoCreateInstance(ClassId(), nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                             reinterpret_cast<void**>(&application));
        QCOMPARE(created, S_OK);
        QVERIFY(server.held());
        UINT typeInfos = 1;
        QCOMPARE(application->GetTypeInfoCount(&typeInfos), S_OK);
        QCOMPARE(typeInfos, 0u);  // no methods, no properties
        application->Release();
        QVERIFY(!server.held());
        QCOMPARE(held.size(), 2);
        QCOMPARE(held.at(0).at(0).toBool(), true);
        QCOMPARE(held.at(1).at(0).toBool(), false);
    }
};

QTEST_MAIN(AutomationComTest)
#include "automation_com_test.moc"
