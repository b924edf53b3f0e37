#pragma once

#include "platform/Messages.h"

class QWidget;

namespace kestrum {

// Message boxes of the program: a modal QMessageBox with the given icon,
// title, text and buttons; beep through the application.
class QtMessages : public Messages {
public:
  explicit QtMessages(QWidget *parent = nullptr) : parent_(parent) {}
  MessageAnswer show(const QString &text, MessageIcon icon, const QString &title,
                     MessageButtons buttons = MessageButtons::Ok) override;
  void beep() override;

private:
  QWidget *parent_;
};

} // namespace kestrum
