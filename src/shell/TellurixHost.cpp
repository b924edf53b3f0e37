#include "TellurixHost.h"

#include <QFile>

// The form description lives in the library's resources.
static void initFormResources() {
  Q_INIT_RESOURCE(kestrum_shell);
}

namespace kestrum {

TellurixHost::TellurixHost(QObject *hostWindow) : QObject(hostWindow), hostWindow_(hostWindow) {}

TellurixHost::~TellurixHost() {
  if (control_) {
    control_->Advise(nullptr);
    control_->SetClientSite(nullptr);
  }
}

bool TellurixHost::Create(PropertyBag &bag, QString *error) {
  std::unique_ptr<Control> control = CreateControl(QString::fromLatin1(kProgId), error);
  if (!control)
    return false;
  control->SetClientSite(this);
  control->Advise(this);
  control->ReadProperties(bag);
  int width = 32, height = 32;
  control->Resize(width, height);
  control_ = std::move(control);
  return true;
}

PropertyBag TellurixHost::FormPropertyBag() {
  initFormResources();
  QFile file(QStringLiteral(":/kestrum/MForm.tellurix"));
  if (!file.open(QIODevice::ReadOnly))
    return {};
  return PropertyBag::fromText(file.readAll());
}

void TellurixHost::Invoke(int32_t eventDispid) {
  if (!control_)
    return;
  const QString name = control_->GetEventName(eventDispid);
  emit EventRaised(name);
  if (name.compare(QLatin1String("CheckedAppEnd"), Qt::CaseInsensitive) == 0)
    emit CheckedAppEnd();
}

} // namespace kestrum
