#include "QtMessages.h"

#include <QApplication>
#include <QMessageBox>

namespace kestrum {
namespace {

QMessageBox::Icon toQt(MessageIcon icon) {
  switch (icon) {
  case MessageIcon::None: return QMessageBox::NoIcon;
  case MessageIcon::Critical: return QMessageBox::Critical;
  case MessageIcon::Question: return QMessageBox::Question;
  case MessageIcon::Exclamation: return QMessageBox::Warning;
  case MessageIcon::Information: return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(MessageButtons buttons) {
  switch (buttons) {
  case MessageButtons::Ok: return QMessageBox::Ok;
  case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
  case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
  case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  case MessageButtons::AbortRetryIgnore:
    return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
  case MessageButtons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

MessageAnswer fromQt(int button) {
  switch (button) {
  case QMessageBox::Cancel: return MessageAnswer::Cancel;
  case QMessageBox::Yes: return MessageAnswer::Yes;
  case QMessageBox::No: return MessageAnswer::No;
  case QMessageBox::Abort: return MessageAnswer::Abort;
  case QMessageBox::Retry: return MessageAnswer::Retry;
  case QMessageBox::Ignore: return MessageAnswer::Ignore;
  default: return MessageAnswer::Ok;
  }
}

} // namespace

MessageAnswer QtMessages::show(const QString &text, MessageIcon icon, const QString &title,
                               MessageButtons buttons) {
  QMessageBox box(toQt(icon), title, text, toQt(buttons), parent_);
  const int answer = box.exec();
  // Closing the box with Escape or its close button counts as Cancel where
  // there is one, else as the only button.
  return fromQt(answer);
}

void QtMessages::beep() {
  QApplication::beep();
}

} // namespace kestrum
