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

  Run cli(const QStringList &args) const;
  // The launcher, by default without arguments in the program folder.
  Run analyser(const QStringList &args = {}, const QString &workingDir = {}) const;

  static QString builtProgramDir();

private:
  QTemporaryDir dir_;
  bool ok_ = false;
};

QString readText(const QString &path);
bool writeText(const QString &path, const QByteArray &bytes);
