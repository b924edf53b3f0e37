#pragma once

// Hosting controls: the small automation layer through which a host creates a
// registered control by ProgID, calls its members late-bound by DISPID and
// receives its events. A control is a shared library exporting the four server
// entry points (see AutomationServer.h); CreateControl finds it through the
// registry.
//
// Everything runs on the host's thread. A control may own QTimers, so the host
// must have a QCoreApplication (or QApplication) and run its event loop.
//
// Hosting, in short:
//
//   std::unique_ptr<Control> tellurix = CreateControl("BrannockTellurix.Tellurix", &why);
//   tellurix->SetClientSite(&site);    // AmbientUserMode() true at run time
//   tellurix->Advise(&sink);           // sink.Invoke(2) is CheckedAppEnd
//   tellurix->InitProperties();        // or ReadProperties(bag) for a saved form
//
//   std::vector<Variant> args{Variant(programPath), Variant(int32_t(1000))};
//   InvokeByName(*tellurix, "CheckAppEnd", InvokeKind::Method, args, nullptr);
//
//   std::vector<Variant> none;
//   Variant temp;
//   InvokeByName(*tellurix, "TempGetPath", InvokeKind::PropertyGet, none, &temp);
//   temp.toString();                   // "/tmp/", with its trailing '/'

#include "AutomationTypes.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace kestrum {

// Automation error numbers that members return (0 = success).
namespace AutomationError {
constexpr int None = 0;
constexpr int InvalidCall = 5;         // invalid procedure call or argument
constexpr int Overflow = 6;            // overflow
constexpr int SubscriptOutOfRange = 9; // subscript out of range
constexpr int TypeMismatch = 13;       // type mismatch
constexpr int SetNotSupportedAtRunTime = 382;
constexpr int SetNotSupportedReadOnly = 383;
constexpr int SetNotPermitted = 387;
constexpr int NoSuchMember = 438;       // object doesn't support this property or method
constexpr int ActionNotSupported = 445; // object doesn't support this action
constexpr int ArgumentNotOptional = 449;
constexpr int WrongArguments = 450; // wrong number of arguments or invalid property assignment
} // namespace AutomationError

enum class InvokeKind { Method, PropertyGet, PropertyLet, PropertySet };

// What a host needs to know to call a member: the result (or property) type
// and the declared parameter types. Enumerations travel as I32.
struct MemberInfo {
  QString name;
  int32_t dispid = 0;
  bool isMethod = false;
  VarType type = VarType::Empty; // property type, or method result (Empty = none)
  std::vector<VarType> params;   // methods only, in declared order
  int requiredParams = 0;        // the rest are optional
  bool readOnly = false;         // properties only
  bool assignedBySet = false;    // object properties are assigned by reference
};

// The dispatch interface: every member is reached by DISPID.
class Dispatch {
public:
  virtual ~Dispatch() = default;

  // The DISPID of a member name (case-insensitive); NoSuchMember when unknown.
  virtual int GetIDsOfNames(const QString &name, int32_t &dispid) const = 0;

  // Calls a member. Method arguments come in declared order and are passed by
  // reference: a member may write a changed value back into args. For
  // PropertyLet / PropertySet, args holds exactly the new value. result may be
  // null when the caller does not want it. Returns an automation error number.
  virtual int Invoke(int32_t dispid, InvokeKind kind, std::vector<Variant> &args,
                     Variant *result) = 0;

  virtual bool GetMemberInfo(int32_t dispid, MemberInfo &info) const = 0;
};

// The host's receiver of the control's events (no parameters; the DISPID is
// the event's number). Raised synchronously on the host's thread.
class EventSink {
public:
  virtual ~EventSink() = default;
  virtual void Invoke(int32_t eventDispid) = 0;
};

// What the control asks of its container.
class Site {
public:
  virtual ~Site() = default;
  // The ambient user mode: true at run time, false in design mode.
  virtual bool AmbientUserMode() const = 0;
  // A stored property changed (a design-time host marks its document modified).
  virtual void PropertyChanged(int32_t dispid, const QString &name) = 0;
  // The window of the hosting form (a QWidget in a windowed host), or null.
  virtual QObject *HostWindow() const { return nullptr; }
};

// A property bag with case-insensitive keys, kept in insertion order. Reads
// and writes follow the persistence convention: a missing key reads as the
// default, and a value equal to its default is left out.
class PropertyBag {
public:
  Variant ReadProperty(const QString &name, const Variant &defaultValue) const;
  void WriteProperty(const QString &name, const Variant &value, const Variant &defaultValue);

  bool contains(const QString &name) const;
  QStringList keys() const;
  void clear() { entries_.clear(); }

  // A text form for hosts that keep the bag in a file: one "Name=t:value"
  // line per key (see Automation.cpp). Unreadable lines are skipped.
  QByteArray toText() const;
  static PropertyBag fromText(const QByteArray &text);

private:
  int indexOf(const QString &name) const;
  std::vector<std::pair<QString, Variant>> entries_;
};

// A hosted control: dispatch, persistence, sizing, events.
// Destroying it releases the instance.
class Control : public Dispatch {
public:
  virtual void SetClientSite(Site *site) = 0;
  virtual void Advise(EventSink *sink) = 0; // one sink; nullptr stops events
  virtual QString GetEventName(int32_t eventDispid) const = 0;

  virtual void InitProperties() = 0;                 // first placement
  virtual int ReadProperties(PropertyBag &bag) = 0;  // loading a saved form
  virtual int WriteProperties(PropertyBag &bag) = 0; // saving the form
  // The container asks for a size in pixels; the control answers its own.
  virtual void Resize(int &width, int &height) = 0;
};

// The library registered for progId (HKEY_CLASSES_ROOT\<ProgID>\CLSID, then
// CLSID\{clsid}\InprocServer32), with its class id in *clsid when given.
// Empty when it is not registered, with the reason in *error when given.
QString RegisteredServerLibrary(const QString &progId, QString *error = nullptr,
                                Guid *clsid = nullptr);

// Loads a control library like regsvr32 and calls one of its registration
// entry points ("DllRegisterServer", "DllUnregisterServer"); answers its
// result, or ServerResult::Fail with the reason in *error when the library
// cannot be loaded or lacks the entry point.
int32_t CallRegistrationEntry(const QString &library, const char *entryPoint,
                              QString *error = nullptr);

// Creates an instance of the control registered under progId: looks the
// ProgID up in the registry, loads its library and asks its class factory.
// The control is in run mode until a site says otherwise; the host then calls
// SetClientSite, Advise and InitProperties or ReadProperties. Returns null on
// failure, with the reason in *error when given. Loaded libraries stay loaded.
std::unique_ptr<Control> CreateControl(const QString &progId, QString *error = nullptr);

// GetIDsOfNames followed by Invoke.
int InvokeByName(Dispatch &target, const QString &name, InvokeKind kind, std::vector<Variant> &args,
                 Variant *result);

} // namespace kestrum
