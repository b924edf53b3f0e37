// The four entry points of the control library and its class factory.

#include "Tellurix.h"
#include "platform/AutomationServer.h"
#include "platform/Registry.h"

#include <QFileInfo>

#include <dlfcn.h>

#include <atomic>

using namespace kestrum;
using namespace kestrum::tellurix;

#define TELLURIX_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::atomic<int> serverLocks{0};

class TellurixFactory final : public ClassFactory {
public:
  int32_t CreateInstance(Control **object) override {
    if (!object)
      return ServerResult::Fail;
    *object = new Tellurix(SystemDesktop());
    return ServerResult::Ok;
  }
  void LockServer(bool lock) override { lock ? ++serverLocks : --serverLocks; }
};

TellurixFactory factory;

// The absolute path of this library, as the registry records it.
QString libraryPath() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void *>(&libraryPath), &info) || !info.dli_fname)
    return QString();
  return QFileInfo(QFile::decodeName(info.dli_fname)).canonicalFilePath();
}

QString clsidKey() {
  return QStringLiteral("CLSID\\") + guidToString(kClsid);
}
QString typeLibKey() {
  return QStringLiteral("TypeLib\\") + guidToString(kLibId);
}
QString interfaceKey(const Guid &iid) {
  return QStringLiteral("Interface\\") + guidToString(iid);
}

bool setString(const QString &key, const QString &name, const QString &value) {
  return regSetValue(RegistryRoot::ClassesRoot, key, name, RegValue::string(value)) ==
         RegError::Success;
}

} // namespace

TELLURIX_EXPORT int32_t DllRegisterServer() {
  const QString path = libraryPath();
  if (path.isEmpty())
    return ServerResult::RegisterClassFailed;
  const QString progId = QString::fromLatin1(kProgId);
  const QString clsid = guidToString(kClsid);
  const QString libId = guidToString(kLibId);
  const QString version = QString::fromLatin1(kLibraryVersion);
  const QString locale = QString::number(kLibraryLocale, 16);
  bool ok = setString(progId, QString(), QString::fromLatin1(kClassName)) &&
            setString(progId + QStringLiteral("\\CLSID"), QString(), clsid) &&
            setString(clsidKey(), QString(), progId) &&
            setString(clsidKey() + QStringLiteral("\\InprocServer32"), QString(), path) &&
            setString(clsidKey() + QStringLiteral("\\InprocServer32"),
                      QStringLiteral("ThreadingModel"), QStringLiteral("Apartment")) &&
            setString(clsidKey() + QStringLiteral("\\ProgID"), QString(), progId) &&
            setString(clsidKey() + QStringLiteral("\\TypeLib"), QString(), libId) &&
            setString(clsidKey() + QStringLiteral("\\Version"), QString(), version) &&
            regCreateKey(RegistryRoot::ClassesRoot, clsidKey() + QStringLiteral("\\Control")) ==
                RegError::Success &&
            setString(typeLibKey() + QLatin1Char('\\') + version, QString(),
                      QString::fromLatin1(kLibraryHelp)) &&
            setString(typeLibKey() + QLatin1Char('\\') + version + QStringLiteral("\\FLAGS"),
                      QString(), QStringLiteral("2")) && // a control library
            setString(typeLibKey() + QLatin1Char('\\') + version + QLatin1Char('\\') + locale +
                          QStringLiteral("\\linux"),
                      QString(), path) &&
            setString(typeLibKey() + QLatin1Char('\\') + version + QStringLiteral("\\HELPDIR"),
                      QString(), QFileInfo(path).absolutePath());
  for (const auto &[iid, name] :
       {std::pair{kInterfaceId, "_Tellurix"}, std::pair{kEventInterfaceId, "__Tellurix"}}) {
    ok = ok && setString(interfaceKey(iid), QString(), QString::fromLatin1(name)) &&
         setString(interfaceKey(iid) + QStringLiteral("\\TypeLib"), QString(), libId) &&
         setString(interfaceKey(iid) + QStringLiteral("\\TypeLib"), QStringLiteral("Version"),
                   version);
  }
  return ok ? ServerResult::Ok : ServerResult::RegisterClassFailed;
}

TELLURIX_EXPORT int32_t DllUnregisterServer() {
  bool ok = true;
  for (const QString &key : {QString::fromLatin1(kProgId), clsidKey(), typeLibKey(),
                             interfaceKey(kInterfaceId), interfaceKey(kEventInterfaceId)}) {
    const long result = regDeleteTree(RegistryRoot::ClassesRoot, key);
    ok = ok && (result == RegError::Success || result == RegError::NotFound);
  }
  return ok ? ServerResult::Ok : ServerResult::Fail;
}

TELLURIX_EXPORT int32_t DllGetClassObject(const Guid *clsid, const Guid *iid, void **object) {
  if (!object)
    return ServerResult::Fail;
  *object = nullptr;
  if (!clsid || !(*clsid == kClsid))
    return ServerResult::ClassNotAvailable;
  if (!iid || !(*iid == IID_ClassFactory))
    return ServerResult::NoInterface;
  *object = static_cast<ClassFactory *>(&factory);
  return ServerResult::Ok;
}

TELLURIX_EXPORT int32_t DllCanUnloadNow() {
  return Tellurix::liveObjects() == 0 && serverLocks.load() == 0 ? ServerResult::Ok
                                                                 : ServerResult::False;
}
