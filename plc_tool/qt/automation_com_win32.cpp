// The automation layer with the system's COM: the ProgID "QuarnWin.Application" and its
// CLSID in the user's part of the registry (a local server started with "/Automation"), the
// class object registered as running while the program serves, and an application object
// that offers IUnknown and an empty IDispatch.
#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <QDir>
#include <atomic>
#include <string>

#include "plc_tool/qt/automation.h"

namespace quarnwin {

namespace {

constexpr wchar_t kClassesKey[] = L"Software\\Classes";

CLSID ApplicationClassId() {
    CLSID id{};
    const std::wstring text = QString(AutomationServer::kClassId).toStdWString();
    CLSIDFromString(text.c_str(), &id);
    return id;
}

// Writes a key's default value (name empty) or a named value as REG_SZ.
bool WriteText(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    const std::wstring path = std::wstring(kClassesKey) + L"\\" + key;
    return RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), name, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

bool DeleteTree(const std::wstring& key) {
    const std::wstring path = std::wstring(kClassesKey) + L"\\" + key;
    const LSTATUS tree = RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
    if (tree != ERROR_SUCCESS && tree != ERROR_FILE_NOT_FOUND) return false;
    // The tree's deletion takes the key itself along on some systems, not on others.
    const LSTATUS own = RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
    return own == ERROR_SUCCESS || own == ERROR_FILE_NOT_FOUND;
}

// The application object: its existence is all a client gets. Creating it holds the
// program, its last release lets go.
class ApplicationObject final : public IDispatch {
  public:
    ApplicationObject(AutomationServer& server, QString client)
        : server_(server), client_(std::move(client)) {
        server_.Hold(client_);
    }
    ApplicationObject(const ApplicationObject&) = delete;
    ApplicationObject& operator=(const ApplicationObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            server_.Release(client_);
            delete this;
        }
        return left;
    }
    // No methods and no properties.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override {
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }

  private:
    ~ApplicationObject() = default;
    AutomationServer& server_;
    QString client_;
    std::atomic<ULONG> references_{1};
};

// The class factory, registered as running while the program serves. It lives as long as the
// server object; COM's references to it do not end it.
class ClassFactory final : public IClassFactory {
  public:
    explicit ClassFactory(AutomationServer& server) : server_(server) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        // COM does not say who the client is: every object is a holder of its own.
        auto* application = new ApplicationObject(server_, QString("object %1").arg(++created_));
        const HRESULT result = application->QueryInterface(iid, object);
        application->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            server_.Hold("lock");
        else
            server_.Release("lock");
        return S_OK;
    }

  private:
    AutomationServer& server_;
    int created_ = 0;
};

}  // namespace

struct AutomationServer::Registration {
    explicit Registration(AutomationServer& server) : factory(server) {}
    ClassFactory factory;
    DWORD cookie = 0;
};

AutomationServer::AutomationServer(QObject* parent) : QObject(parent) {}

AutomationServer::~AutomationServer() {
    if (registration_) CoRevokeClassObject(registration_->cookie);
}

bool AutomationServer::BusAvailable() {
    return true;  // COM is part of the system
}

bool AutomationServer::Serve() {
    if (registration_) return true;
    // The toolkit has already made this thread an apartment; a second call only counts.
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(init) && init != RPC_E_CHANGED_MODE) return false;
    auto registration = std::make_unique<Registration>(*this);
    const CLSID id = ApplicationClassId();
    if (FAILED(CoRegisterClassObject(id, &registration->factory, CLSCTX_LOCAL_SERVER,
                                     REGCLS_MULTIPLEUSE, &registration->cookie)))
        return false;
    registration_ = std::move(registration);
    return true;
}

bool AutomationServer::RegisterActivation(const QString& program, const QString&) {
    const std::wstring progId = QString(kServiceName).toStdWString();
    const std::wstring classId = QString(kClassId).toStdWString();
    const std::wstring classKey = L"CLSID\\" + classId;
    const std::wstring server =
        L"\"" + QDir::toNativeSeparators(program).toStdWString() + L"\" /Automation";
    return WriteText(progId, nullptr, L"QuarnWin Application") &&
           WriteText(progId + L"\\CLSID", nullptr, classId) &&
           WriteText(classKey, nullptr, L"QuarnWin Application") &&
           WriteText(classKey + L"\\ProgID", nullptr, progId) &&
           WriteText(classKey + L"\\LocalServer32", nullptr, server);
}

bool AutomationServer::RemoveActivation(const QString&) {
    const bool progId = DeleteTree(QString(kServiceName).toStdWString());
    const bool classId = DeleteTree(L"CLSID\\" + QString(kClassId).toStdWString());
    return progId && classId;
}

// COM says nothing when a client ends without releasing; the system releases for it.
void AutomationServer::WatchClient(const QString&) {}
void AutomationServer::ForgetClient(const QString&) {}

}  // namespace quarnwin
