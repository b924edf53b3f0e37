#pragma once

// The Tellurix control: its dispatch over the member table, the property
// caches and their persistence, the assignment rules, the watches, the task
// list, the file information and the shell and system actions.

#include "AppWatch.h"
#include "Desktop.h"
#include "Drives.h"
#include "ProcessList.h"
#include "SystemInfo.h"
#include "TrayIcon.h"
#include "TypeLibrary.h"
#include "platform/Automation.h"

#include <atomic>
#include <vector>

namespace kestrum::tellurix {

class Tellurix final : public Control {
public:
  // Initialize. The shell and system actions go through desktop; without one
  // (in tests) they run, start and show nothing.
  explicit Tellurix(std::shared_ptr<Desktop> desktop = nullptr);
  ~Tellurix() override;

  int GetIDsOfNames(const QString &name, int32_t &dispid) const override;
  int Invoke(int32_t dispid, InvokeKind kind, std::vector<Variant> &args, Variant *result) override;
  bool GetMemberInfo(int32_t dispid, MemberInfo &info) const override;

  void SetClientSite(Site *site) override { site_ = site; }
  void Advise(EventSink *sink) override { sink_ = sink; }
  QString GetEventName(int32_t eventDispid) const override;

  void InitProperties() override;
  int ReadProperties(PropertyBag &bag) override;
  int WriteProperties(PropertyBag &bag) override;
  void Resize(int &width, int &height) override;

  // Instances alive in this process (the library may be unloaded at 0).
  static int liveObjects() { return live_.load(); }

  // The watches, for tests that drive ticks by hand.
  AppWatch &startWatch() { return startWatch_; }
  AppWatch &endWatch() { return endWatch_; }
  // The folder the task list is read from (a prepared tree in tests).
  void setProcRoot(const QByteArray &folder) { procRoot_ = folder; }
  // The folder SysSysDir answers and the settings programs are looked for in
  // (with its trailing '/'; a prepared folder in tests).
  void setSystemDirectory(const QString &folder) { systemDirectory_ = folder; }

private:
  int get(const MemberDef &def, Variant &out);
  int assign(const MemberDef &def, const Variant &value);
  int call(const MemberDef &def, std::vector<Variant> &args, Variant &out);

  int getDrive(Member id, Variant &out);
  int getMemory(Member id, Variant &out);
  int getSystem(Member id, Variant &out);
  int getVersion(Member id, Variant &out);
  int getBattery(Member id, Variant &out);
  int getTask(Member id, Variant &out);
  int getFile(Member id, Variant &out);
  void assignAttribute(const MemberDef &def, bool value);
  int FileIsWindows(int32_t &answer);
  int FileIs32Bit();
  int callAction(const MemberDef &def, std::vector<Variant> &args, Variant &out);
  int32_t shellExecute(const QString &verb, const QString &file);
  int32_t SysStandartDialog(int32_t dialog, const QString &dialogName, QString &additional);

  int TasksMakeSnapshot();
  void TasksEndCurrentTask();
  QString DrivesLogical();
  QString normaliseDrive(QString value);

  Variant &cache(Member id) { return cache_[size_t(id)]; }
  bool designMode() const { return site_ && !site_->AmbientUserMode(); }
  void propertyChanged(const MemberDef &def);
  void raise(Event event);

  std::vector<Variant> cache_;
  std::vector<TaskEntry> taskList_;
  CpuUsage cpuUsage_;
  AppWatch startWatch_;
  AppWatch endWatch_;
  QByteArray procRoot_ = kProcRoot;
  QString systemDirectory_;
  std::shared_ptr<Desktop> desktop_;
  TrayIcon tray_;
  Site *site_ = nullptr;
  EventSink *sink_ = nullptr;

  static std::atomic<int> live_;
};

} // namespace kestrum::tellurix
