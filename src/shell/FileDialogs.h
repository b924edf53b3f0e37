#pragma once

#include <QString>

class QWidget;

namespace kestrum {

// How one of the window's file dialogs is set up.
struct FileDialogSpec {
  QString title;
  QString filter;        // "Kestrum Files (*.Kestrum);;All Files (*)"
  QString defaultSuffix; // added to a name typed without an extension
  bool save = false;     // save dialogs ask before overwriting
};

// Shows a file dialog and returns the chosen path, or an empty string when
// the user cancels.
class FileDialogs {
public:
  virtual ~FileDialogs() = default;
  virtual QString Ask(const FileDialogSpec &spec, const QString &startDir) = 0;
};

class QtFileDialogs : public FileDialogs {
public:
  explicit QtFileDialogs(QWidget *parent = nullptr) : parent_(parent) {}
  QString Ask(const FileDialogSpec &spec, const QString &startDir) override;

private:
  QWidget *parent_;
};

} // namespace kestrum
