#pragma once

#include <QString>

namespace kestrum {

// Outcome of a file operation: empty error means success.
struct Result {
  QString error;

  bool ok() const { return error.isEmpty(); }
  static Result success() { return {}; }
  static Result failure(const QString &message) {
    return {message.isEmpty() ? QStringLiteral("failed") : message};
  }
};

} // namespace kestrum
