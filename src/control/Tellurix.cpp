#include "Tellurix.h"

#include "TellurixCode.h"

#include <csignal>
#include <cstring>

namespace kestrum::tellurix {

std::atomic<int> Tellurix::live_{0};

namespace {

Variant zeroOf(MemberType type) {
  Variant value;
  Variant().convertTo(varTypeOf(type), value);
  return value;
}

VarType paramType(char code) {
  switch (code) {
  case 'S':
  case 's': return VarType::String;
  case 'B':
  case 'b': return VarType::Bool;
  case 'D':
  case 'd': return VarType::Double;
  default: return VarType::I32;
  }
}

int requiredParams(const char *params) {
  int required = 0;
  for (const char *p = params; *p; ++p)
    if (*p >= 'A' && *p <= 'Z')
      ++required;
  return required;
}

// The first character in upper case, kept one character long: a letter whose
// full upper case is longer (ß -> SS) keeps its simple mapping.
QString firstLetterUpper(const QString &text) {
  const QList<uint> codePoints = text.toUcs4();
  if (codePoints.isEmpty())
    return QString();
  const char32_t upper = QChar::toUpper(char32_t(codePoints.first()));
  return QString::fromUcs4(&upper, 1);
}

} // namespace

Tellurix::Tellurix(std::shared_ptr<Desktop> desktop)
    : startWatch_(AppWatch::Kind::Start, [this] { raise(Event::CheckedAppStart); }),
      endWatch_(AppWatch::Kind::End, [this] { raise(Event::CheckedAppEnd); }),
      systemDirectory_(QString::fromLatin1(kSystemDirectory)),
      desktop_(desktop ? std::move(desktop) : NoDesktop()), tray_([this](Event e) { raise(e); }) {
  ++live_;
  for (const MemberDef &def : members())
    cache_.push_back(def.kind == MemberKind::Property ? zeroOf(def.type) : Variant());
  taskList_.resize(2);
  cpuUsage_.start(); // StartCpuUsageStat: the first sample of the processor-usage figure
}

Tellurix::~Tellurix() {
  --live_;
}

// ---- Dispatch -------------------------------------------------------------------

int Tellurix::GetIDsOfNames(const QString &name, int32_t &dispid) const {
  const MemberDef *def = memberByName(name);
  if (!def)
    return AutomationError::NoSuchMember;
  dispid = def->dispid;
  return 0;
}

bool Tellurix::GetMemberInfo(int32_t dispid, MemberInfo &info) const {
  const MemberDef *def = memberByDispid(dispid);
  if (!def)
    return false;
  info = MemberInfo();
  info.name = QString::fromLatin1(def->name);
  info.dispid = def->dispid;
  info.isMethod = def->kind == MemberKind::Method;
  info.type = varTypeOf(def->type);
  for (const char *p = def->params; *p; ++p)
    info.params.push_back(paramType(*p));
  info.requiredParams = requiredParams(def->params);
  info.readOnly =
      def->assignment == Assignment::ReadOnly || def->assignment == Assignment::ReadOnlyIcon;
  info.assignedBySet = def->assignment == Assignment::StoredByRef;
  return true;
}

QString Tellurix::GetEventName(int32_t eventDispid) const {
  for (const EventDef &event : events())
    if (event.dispid == eventDispid)
      return QString::fromLatin1(event.name);
  return QString();
}

int Tellurix::Invoke(int32_t dispid, InvokeKind kind, std::vector<Variant> &args, Variant *result) {
  const MemberDef *def = memberByDispid(dispid);
  if (!def)
    return AutomationError::NoSuchMember;
  Variant out;
  if (def->kind == MemberKind::Method) {
    if (kind == InvokeKind::PropertyLet || kind == InvokeKind::PropertySet)
      return AutomationError::WrongArguments;
    const size_t declared = strlen(def->params);
    if (args.size() < size_t(requiredParams(def->params)))
      return AutomationError::ArgumentNotOptional;
    if (args.size() > declared)
      return AutomationError::WrongArguments;
    // Arguments arrive by reference: convert them to their declared types,
    // call, and give back those the member changed.
    std::vector<Variant> converted(args.size());
    for (size_t i = 0; i < args.size(); ++i)
      if (!args[i].isEmpty())
        if (const int error = args[i].convertTo(paramType(def->params[i]), converted[i]))
          return error;
    const std::vector<Variant> before = converted;
    if (const int error = call(*def, converted, out))
      return error;
    for (size_t i = 0; i < args.size(); ++i)
      if (!(converted[i] == before[i]))
        args[i] = converted[i];
  } else if (kind == InvokeKind::PropertyGet || kind == InvokeKind::Method) {
    if (!args.empty())
      return AutomationError::WrongArguments;
    if (const int error = get(*def, out))
      return error;
  } else {
    if (args.size() != 1)
      return AutomationError::WrongArguments;
    return assign(*def, args[0]);
  }
  if (result)
    *result = out;
  return 0;
}

// ---- Assignments ----------------------------------------------------------------------

int Tellurix::assign(const MemberDef &def, const Variant &value) {
  switch (def.assignment) {
  case Assignment::None: return AutomationError::WrongArguments;
  case Assignment::ReadOnly:
    return designMode() ? AutomationError::SetNotPermitted
                        : AutomationError::SetNotSupportedAtRunTime;
  case Assignment::ReadOnlyIcon:
    return designMode() ? AutomationError::SetNotSupportedReadOnly
                        : AutomationError::SetNotSupportedAtRunTime;
  default: break;
  }
  Variant v;
  if (const int error = value.convertTo(varTypeOf(def.type), v))
    return error;
  switch (def.id) {
  case Member::DriveCurrent: v = normaliseDrive(v.toString()); break;
  case Member::DriveName:
    // Volume labels are not written on this platform; the label asked for is
    // kept all the same.
    v = v.toString().left(11);
    break;
  case Member::TasksCurrent:
    if (v.toI32() < 0 || v.toI32() > cache(Member::TasksNumber).toI32())
      return 0; // ignored, no property change
    break;
  case Member::FileAttrReadOnly:
  case Member::FileAttrHidden:
  case Member::FileAttrSystem:
  case Member::FileAttrDirectory:
  case Member::FileAttrArchive: assignAttribute(def, v.toBool()); return 0;
  default: break;
  }
  cache(def.id) = v;
  propertyChanged(def);
  if (def.id == Member::FileFilename)
    return FileIs32Bit(); // the result is discarded; a file that cannot be opened fails
  return 0;
}

QString Tellurix::normaliseDrive(QString value) {
  if (value.isEmpty())
    value = QStringLiteral("C");
  value.truncate(1);
  if (value[0] >= QLatin1Char('a') && value[0] <= QLatin1Char('z'))
    value = value.toUpper();
  if (value[0] < QLatin1Char('A') || value[0] > QLatin1Char('Z'))
    value = QStringLiteral("C");
  if (!DrivesLogical().contains(value[0]))
    value = QStringLiteral("C");
  return value;
}

void Tellurix::propertyChanged(const MemberDef &def) {
  if (site_)
    site_->PropertyChanged(def.dispid, QString::fromLatin1(def.name));
}

// ---- Methods -----------------------------------------------------------------------------

int Tellurix::call(const MemberDef &def, std::vector<Variant> &args, Variant &out) {
  args.resize(strlen(def.params)); // omitted optional arguments read as empty / 0
  switch (def.id) {
  case Member::FuncBinToStr: {
    QString digits;
    if (const int error = FuncBinToStr(args[0].toDouble(), digits))
      return error;
    out = digits;
    return 0;
  }
  case Member::FuncStrToBin: {
    double value = 0;
    if (const int error = FuncStrToBin(args[0].toString(), value))
      return error;
    out = value;
    return 0;
  }
  case Member::FuncHiWord: out = FuncHiWord(args[0].toI32()); return 0;
  case Member::FuncLowWord: out = FuncLowWord(args[0].toI32()); return 0;
  case Member::DriveExists: {
    const QString letter = firstLetterUpper(args[0].toString());
    args[0] = letter;
    const QString drives = DrivesLogical();
    out = !letter.isEmpty() && drives.contains(letter);
    return 0;
  }
  case Member::CheckAppStart:
    startWatch_.arm(args[0].toString(), args[1].toI32());
    out = int32_t(0);
    return 0;
  case Member::CheckAppEnd:
    endWatch_.arm(args[0].toString(), args[1].toI32());
    out = int32_t(0);
    return 0;
  case Member::TasksMakeSnapshot:
    if (const int error = TasksMakeSnapshot())
      return error;
    out = false;
    return 0;
  case Member::TasksEndCurrentTask: {
    const int32_t current = cache(Member::TasksCurrent).toI32();
    if (current < 0 || size_t(current) >= taskList_.size())
      return AutomationError::SubscriptOutOfRange;
    TasksEndCurrentTask();
    out = int32_t(0);
    return 0;
  }
  default: return callAction(def, args, out);
  }
}

int Tellurix::TasksMakeSnapshot() {
  // Not refused on this platform: the process list is always readable here.
  std::optional<std::vector<TaskEntry>> snapshot = takeProcessSnapshot(procRoot_.constData());
  cache(Member::TasksCurrent) = int32_t(0);
  std::vector<TaskEntry> list = snapshot ? std::move(*snapshot) : std::vector<TaskEntry>();
  const int32_t count = int32_t(list.size());
  list.emplace_back(); // entry n exists and is empty
  taskList_ = std::move(list);
  cache(Member::TasksNumber) = count;
  return 0;
}

void Tellurix::TasksEndCurrentTask() {
  const TaskEntry &task = taskList_[size_t(cache(Member::TasksCurrent).toI32())];
  // pid 0 is the empty entry; kill(0) would mean the caller's own process group.
  if (task.processId > 0)
    ::kill(pid_t(task.processId), SIGKILL);
}

void Tellurix::raise(Event event) {
  if (sink_)
    sink_->Invoke(int32_t(event));
}

// ---- Persistence ---------------------------------------------------------------------------

void Tellurix::InitProperties() {
  for (const MemberDef &def : members())
    if (def.kind == MemberKind::Property)
      cache(def.id) = def.bagDefault;
}

int Tellurix::ReadProperties(PropertyBag &bag) {
  for (const MemberDef &def : members()) {
    if (def.kind != MemberKind::Property)
      continue;
    const Variant stored = bag.ReadProperty(QString::fromLatin1(def.name), def.bagDefault);
    Variant value;
    // A value that does not fit the property's type (a damaged form) reads as the default.
    if (stored.convertTo(varTypeOf(def.type), value) != 0)
      value = def.bagDefault;
    cache(def.id) = value;
  }
  return 0;
}

int Tellurix::WriteProperties(PropertyBag &bag) {
  for (const MemberDef &def : members())
    if (def.kind == MemberKind::Property)
      bag.WriteProperty(QString::fromLatin1(def.name), cache(def.id), def.bagDefault);
  return 0;
}

void Tellurix::Resize(int &width, int &height) {
  width = 32;
  height = 32;
}

} // namespace kestrum::tellurix
