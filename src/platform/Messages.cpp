#include "Messages.h"

#include <cstdio>

namespace kestrum {

MessageAnswer StderrMessages::show(const QString &text, MessageIcon, const QString &title,
                                   MessageButtons buttons) {
  ++shown_;
  std::fprintf(stderr, "%s: %s\n", qUtf8Printable(title), qUtf8Printable(text));
  switch (buttons) {
  case MessageButtons::Ok:
  case MessageButtons::OkCancel: return MessageAnswer::Ok;
  case MessageButtons::YesNo:
  case MessageButtons::YesNoCancel: return MessageAnswer::Yes;
  case MessageButtons::AbortRetryIgnore: return MessageAnswer::Abort;
  case MessageButtons::RetryCancel: return MessageAnswer::Cancel;
  }
  return MessageAnswer::Ok;
}

} // namespace kestrum
