#pragma once

#include <QDate>
#include <QString>

// The General Summary figures the analyser must report for a combined-format
// log: 2xx and 304 answers are successful, the other 3xx redirected, 4xx and
// 5xx failed; lines for an excluded file or outside the period are unwanted.
struct RequestCounts {
  long successful = 0;
  long redirected = 0;
  long failed = 0;
  long unwanted = 0;
  long lines = 0;
  long unreadable = 0; // lines that are not in combined format
};

struct CountRule {
  QString excludedFile; // request path excluded in full, or empty
  QDate from, to;       // inclusive; null = open
};

RequestCounts countRequests(const QString &logPath, const CountRule &rule);
