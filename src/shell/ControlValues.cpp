#include "ControlValues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace kestrum {

void MultiLineTextBox::setText(const QString &text) {
  stored_ = text;
  QString shown = text;
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  setPlainText(shown);
  shown_ = toPlainText();
}

QString MultiLineTextBox::text() const {
  const QString now = toPlainText();
  if (now == shown_)
    return stored_;
  QString text = now;
  text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
  return text;
}

QString controlText(const QWidget *control) {
  if (auto *edit = qobject_cast<const QLineEdit *>(control))
    return edit->text();
  if (auto *box = qobject_cast<const MultiLineTextBox *>(control))
    return box->text();
  if (auto *combo = qobject_cast<const QComboBox *>(control))
    return combo->currentText();
  if (qobject_cast<const QCheckBox *>(control))
    return QString::number(checkValue(control));
  return {};
}

void setControlText(QWidget *control, const QString &text) {
  if (auto *edit = qobject_cast<QLineEdit *>(control)) {
    edit->setText(text);
    edit->setCursorPosition(0);
  } else if (auto *box = qobject_cast<MultiLineTextBox *>(control)) {
    box->setText(text);
  } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
    combo->setCurrentText(text);
  }
}

int checkValue(const QWidget *checkBox) {
  auto *box = qobject_cast<const QCheckBox *>(checkBox);
  if (!box)
    return 0;
  switch (box->checkState()) {
  case Qt::Unchecked: return 0;
  case Qt::Checked: return 1;
  case Qt::PartiallyChecked: return 2;
  }
  return 0;
}

void setCheckValue(QWidget *checkBox, int value) {
  auto *box = qobject_cast<QCheckBox *>(checkBox);
  if (!box)
    return;
  if (value == 2) {
    box->setCheckState(Qt::PartiallyChecked);
    return;
  }
  box->setTristate(false);
  box->setCheckState(value == 0 ? Qt::Unchecked : Qt::Checked);
}

} // namespace kestrum
