#include "Automation.h"

#include "AutomationServer.h"
#include "Registry.h"

#include <QFile>

#include <dlfcn.h>

namespace kestrum {

QString RegisteredServerLibrary(const QString &progId, QString *error, Guid *clsidOut) {
  auto fail = [&](const QString &why) {
    if (error)
      *error = why;
    return QString();
  };
  QString clsidText;
  if (!GetKeyValue(RegistryRoot::ClassesRoot, progId + QStringLiteral("\\CLSID"), QString(),
                   clsidText))
    return fail(QStringLiteral("%1 is not registered.").arg(progId));
  Guid clsid;
  if (!parseGuid(clsidText, clsid))
    return fail(QStringLiteral("%1 has no valid class id.").arg(progId));
  QString library;
  if (!GetKeyValue(RegistryRoot::ClassesRoot,
                   QStringLiteral("CLSID\\%1\\InprocServer32").arg(guidToString(clsid)), QString(),
                   library) ||
      library.isEmpty())
    return fail(QStringLiteral("The class %1 has no server library.").arg(guidToString(clsid)));
  if (clsidOut)
    *clsidOut = clsid;
  return library;
}

int32_t CallRegistrationEntry(const QString &library, const char *entryPoint, QString *error) {
  void *handle = dlopen(QFile::encodeName(library).constData(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    if (error)
      *error = QStringLiteral("cannot load %1: %2").arg(library, QString::fromLocal8Bit(dlerror()));
    return ServerResult::Fail;
  }
  auto entry = reinterpret_cast<DllRegisterServerFn>(dlsym(handle, entryPoint));
  if (!entry) {
    if (error)
      *error = QStringLiteral("%1 exports no %2").arg(library, QLatin1String(entryPoint));
    return ServerResult::Fail;
  }
  return entry();
}

std::unique_ptr<Control> CreateControl(const QString &progId, QString *error) {
  auto fail = [&](const QString &why) {
    if (error)
      *error = why;
    return std::unique_ptr<Control>();
  };
  Guid clsid;
  const QString library = RegisteredServerLibrary(progId, error, &clsid);
  if (library.isEmpty())
    return {};

  void *handle = dlopen(QFile::encodeName(library).constData(), RTLD_NOW | RTLD_LOCAL);
  if (!handle)
    return fail(
        QStringLiteral("Cannot load %1: %2").arg(library, QString::fromLocal8Bit(dlerror())));
  auto getClassObject = reinterpret_cast<DllGetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
  if (!getClassObject)
    return fail(QStringLiteral("%1 exports no DllGetClassObject.").arg(library));
  void *object = nullptr;
  const int32_t hr = getClassObject(&clsid, &IID_ClassFactory, &object);
  if (hr != ServerResult::Ok || !object)
    return fail(QStringLiteral("%1 does not serve the class %2 (0x%3).")
                    .arg(library, guidToString(clsid))
                    .arg(uint32_t(hr), 8, 16, QLatin1Char('0')));
  Control *control = nullptr;
  const int32_t created = static_cast<ClassFactory *>(object)->CreateInstance(&control);
  if (created != ServerResult::Ok || !control)
    return fail(QStringLiteral("The class factory of %1 failed (0x%2).")
                    .arg(library)
                    .arg(uint32_t(created), 8, 16, QLatin1Char('0')));
  return std::unique_ptr<Control>(control);
}

int InvokeByName(Dispatch &target, const QString &name, InvokeKind kind, std::vector<Variant> &args,
                 Variant *result) {
  int32_t dispid = 0;
  if (const int error = target.GetIDsOfNames(name, dispid))
    return error;
  return target.Invoke(dispid, kind, args, result);
}

} // namespace kestrum
