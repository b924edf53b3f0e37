#pragma once

#include "platform/Automation.h"
#include "platform/ProgramFolderSeeding.h"

#include <QObject>
#include <QString>

#include <memory>

namespace kestrum {

// The one Tellurix control of the main window: created by ProgID, in run
// mode, with the properties the window's form description stores. The
// window carries on without it when the control is not registered.
class TellurixHost : public QObject, private Site, private EventSink {
  Q_OBJECT
public:
  static constexpr const char *kProgId = kTellurixProgId;

  explicit TellurixHost(QObject *hostWindow);
  ~TellurixHost() override;

  // Creates the instance and loads bag into it. False (with the reason) when
  // the control cannot be created; the host then has no control.
  bool Create(PropertyBag &bag, QString *error = nullptr);
  Control *control() const { return control_.get(); }

  // The stored property bag of the main window's form description.
  static PropertyBag FormPropertyBag();

signals:
  // An event of the control, by name ("CheckedAppEnd").
  void EventRaised(const QString &name);
  void CheckedAppEnd();

private:
  bool AmbientUserMode() const override { return true; }
  void PropertyChanged(int32_t, const QString &) override {}
  QObject *HostWindow() const override { return hostWindow_; }
  void Invoke(int32_t eventDispid) override;

  QObject *hostWindow_;
  std::unique_ptr<Control> control_;
};

} // namespace kestrum
