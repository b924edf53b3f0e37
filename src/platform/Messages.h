#pragma once

#include <QString>

namespace kestrum {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, AbortRetryIgnore, RetryCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No, Abort, Retry, Ignore };

// The modal message box through which the system tells the user of an
// outcome. The program shows a QMessageBox; kestrum-cli writes to standard
// error; tests record.
class Messages {
public:
  virtual ~Messages() = default;
  virtual MessageAnswer show(const QString &text, MessageIcon icon, const QString &title,
                             MessageButtons buttons = MessageButtons::Ok) = 0;
  virtual void beep() {}
};

// Writes "title: text" to standard error and answers the default button.
class StderrMessages : public Messages {
public:
  MessageAnswer show(const QString &text, MessageIcon icon, const QString &title,
                     MessageButtons buttons = MessageButtons::Ok) override;
  int shown() const { return shown_; }

private:
  int shown_ = 0;
};

} // namespace kestrum
