#include "AnalyserMessagesWindow.h"

#include "runs/AnalyserMessages.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace kestrum {

QString AnalyserMessagesWindow::MessagesText(const QString &programDir) {
  const QList<AnalyserMessage> messages = LastRunMessages(programDir);
  if (messages.isEmpty())
    return QStringLiteral("The analyser's last run left no messages.\n\n"
                          "Messages are kept for runs without the analyser's own window "
                          "(\"Show Analog window\" off); with the window on they are shown there.");
  QString text =
      QStringLiteral("What the analyser said on its last run (%1 in the program folder):\n\n")
          .arg(QLatin1String(kAnalyserMessagesFile));
  for (const AnalyserMessage &m : messages) {
    if (m.isConfigurationWarning())
      text += m.harmless ? QStringLiteral("  (harmless) ") : QStringLiteral("! configuration: ");
    else
      text += QStringLiteral("  ");
    text += m.text + QLatin1Char('\n');
  }
  return text;
}

AnalyserMessagesWindow::AnalyserMessagesWindow(const QString &programDir, QWidget *parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("Analyser messages"));
  auto *text = new QPlainTextEdit(MessagesText(programDir));
  text->setReadOnly(true);
  text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addWidget(buttons);
  resize(760, 420);
}

} // namespace kestrum
