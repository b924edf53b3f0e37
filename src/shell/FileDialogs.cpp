#include "FileDialogs.h"

#include <QFileDialog>

namespace kestrum {

QString QtFileDialogs::Ask(const FileDialogSpec &spec, const QString &startDir) {
  QFileDialog dialog(parent_, spec.title, startDir, spec.filter);
  dialog.setAcceptMode(spec.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(spec.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(spec.defaultSuffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  return dialog.selectedFiles().constFirst();
}

} // namespace kestrum
