#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <QWidget>

namespace kestrum {

// A text box of several lines whose text is kept with CR LF line ends, as a
// profile stores it. Text that the user did not edit comes back exactly as it
// was set, also when it held line ends of another kind.
class MultiLineTextBox : public QPlainTextEdit {
  Q_OBJECT
public:
  using QPlainTextEdit::QPlainTextEdit;
  void setText(const QString &text);
  QString text() const;

private:
  QString stored_;
  QString shown_;
};

// The default property of a bound control as text: the text of a text or
// combo box, the value of a check box ("0" unchecked, "1" checked, "2" grey).
QString controlText(const QWidget *control);
void setControlText(QWidget *control, const QString &text);

// Check box value: 0 unchecked, 1 checked, 2 grey.
int checkValue(const QWidget *checkBox);
void setCheckValue(QWidget *checkBox, int value);

} // namespace kestrum
