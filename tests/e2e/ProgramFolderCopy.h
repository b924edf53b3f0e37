#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A private copy of the built program folder (launcher, templates, sample
// log) in a temporary directory, and the programs run against it: kestrum-cli
// with KESTRUM_PROGRAM_DIR pointing at the copy (and the built folder's
// registry for the Tellurix control), and the analyser launcher
// with the copy as current directory.
class ProgramFolderCopy {
public:
  struct Run {
    int exitCode = -1;
    bool crashed = false;
    QString out;
    QString err;
  };

  ProgramFolderCopy();

  bool ok() const { return ok_; }
  QString path() const { return dir_.path(); }
  QString file(const QString &name) const { return dir_.filePath(name); }

  // Bounds for a run: after timeoutMs the program is killed and the run
  // counts as crashed; memoryBytes > 0 caps its address space.
  struct Limits {
    int timeoutMs = 120000;
    qint64 memoryBytes = 0;
  };

  Run cli(const QStringList &args) const { return cli(args, Limits{}); }
  Run cli(const QStringList &args, const Limits &limits) const;
  // The launcher, by default without arguments in the program folder.
  Run analyser(const QStringList &args = {}, const QString &workingDir = {}) const;

  static QString builtProgramDir();

private:
  QTemporaryDir dir_;
  bool ok_ = false;
};

QString readText(const QString &path);
bool writeText(const QString &path, const QByteArray &bytes);
