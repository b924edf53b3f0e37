#include "PageBuilder.h"

#include "ControlValues.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace kestrum {
namespace {

constexpr int kLabelColumn = 0;
constexpr int kControlColumn = 1;
constexpr int kHintColumn = 2;
constexpr int kMaxTextLength = 65535; // the longest string a profile file holds
constexpr int kControlWidth = 300;    // controls in columns that also show hints
constexpr int kFrameInset = 10;       // left margin of a frame's rows

bool hasLabelOnLeft(const PageRow &row) {
  return row.kind == RowKind::TextBox || row.kind == RowKind::Password ||
         row.kind == RowKind::ComboBox;
}

// How the rows of one column share their grid columns, so that labels,
// controls and hints line up across headings and frames.
struct ColumnMetrics {
  int labelWidth = 0;
  bool hasHints = false;
};

double relativeLuminance(const QColor &colour) {
  const auto channel = [](double c) {
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
         0.0722 * channel(colour.blueF());
}

class PageBuilderImpl {
public:
  PageBuilderImpl(ControlRegistry &controls) : controls_(controls) {}

  QList<QWidget *> build(const PageDef &page, QWidget *container) {
    rowTooltip_ = page.rowTooltip;
    auto *pageLayout = new QVBoxLayout(container);
    bool expanding = false;
    for (const PageBand &band : page.bands) {
      auto *bandLayout = new QHBoxLayout;
      bandLayout->setSpacing(18);
      const bool bandExpands = bandHasExpandingRow(band);
      for (const PageColumn &column : band)
        bandLayout->addLayout(buildColumn(column, bandExpands), 1);
      pageLayout->addLayout(bandLayout, bandExpands ? 1 : 0);
      expanding = expanding || bandExpands;
    }
    if (!expanding)
      pageLayout->addStretch(1);
    return focusOrder_;
  }

private:
  static bool expands(const PageRow &row) {
    return row.kind == RowKind::ListBox || row.kind == RowKind::MultiLine;
  }
  static bool bandHasExpandingRow(const PageBand &band) {
    for (const PageColumn &column : band)
      for (const PageRow &row : column)
        if (expands(row))
          return true;
    return false;
  }

  static ColumnMetrics measure(const PageColumn &column) {
    ColumnMetrics metrics;
    // One label width on every page, so the controls do not move sideways
    // when the pages change.
    metrics.labelWidth = PageLabelWidth();
    for (const PageRow &row : column)
      metrics.hasHints = metrics.hasHints || *row.hint;
    return metrics;
  }

  QVBoxLayout *buildColumn(const PageColumn &column, bool bandExpands) {
    auto *layout = new QVBoxLayout;
    column_ = measure(column);
    QGridLayout *grid = nullptr;
    const PageFrame *gridFrame = nullptr;
    bool columnExpands = false;
    for (const PageRow &row : column) {
      if (row.kind == RowKind::Heading || row.kind == RowKind::Note) {
        grid = nullptr;
        layout->addWidget(textLabel(row));
        continue;
      }
      if (!grid || row.frame != gridFrame) {
        grid = newGrid(layout, row.frame);
        gridFrame = row.frame;
      }
      addRow(grid, row);
      columnExpands = columnExpands || expands(row);
    }
    if (!columnExpands || !bandExpands)
      layout->addStretch(1);
    return layout;
  }

  QGridLayout *newGrid(QVBoxLayout *column, const PageFrame *frame) {
    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(4);
    // Frames take their margin out of the page's left margin, so the same
    // label width keeps the controls in line with the rows outside.
    grid->setColumnMinimumWidth(kLabelColumn, column_.labelWidth);
    if (column_.hasHints) {
      grid->setColumnMinimumWidth(kControlColumn, kControlWidth);
      grid->setColumnStretch(kHintColumn, 1);
    } else {
      grid->setColumnStretch(kControlColumn, 1);
    }
    if (!frame) {
      column->addLayout(grid);
      return grid;
    }
    grid->setContentsMargins(kFrameInset - 1, 6, 8, 6);
    auto *box = new QGroupBox(QString::fromUtf8(frame->caption));
    box->setLayout(grid);
    controls_.add(QString::fromLatin1(frame->control), frame->index, box);
    column->addWidget(box);
    return grid;
  }

  QLabel *textLabel(const PageRow &row) {
    auto *label = new QLabel(QString::fromUtf8(row.label));
    label->setWordWrap(true);
    if (row.kind == RowKind::Heading) {
      QFont font = label->font();
      font.setBold(true);
      label->setFont(font);
    }
    addLabel(label);
    return label;
  }

  void addLabel(QLabel *label) {
    const QString name = QStringLiteral("DummyL");
    controls_.add(name, controls_.count(name), label);
  }

  QString tooltip(const PageRow &row) const {
    if (*row.tooltip)
      return QString::fromUtf8(row.tooltip);
    if (*row.hint)
      return QString::fromUtf8(row.hint);
    QString label = QString::fromUtf8(row.label).trimmed();
    if (label.endsWith(QLatin1Char(':')))
      label.chop(1);
    if (label.isEmpty())
      return {};
    if (row.kind == RowKind::CheckBox)
      return QStringLiteral("Check to switch on: %1.").arg(label);
    return QString::fromUtf8(rowTooltip_ ? rowTooltip_ : "Sets the %1.").arg(label.toLower());
  }

  QWidget *createControl(const PageRow &row) {
    switch (row.kind) {
    case RowKind::TextBox:
    case RowKind::Password: {
      auto *edit = new QLineEdit;
      edit->setMaxLength(kMaxTextLength);
      edit->setMinimumWidth(140);
      if (row.kind == RowKind::Password)
        edit->setEchoMode(QLineEdit::Password);
      return edit;
    }
    case RowKind::MultiLine: {
      auto *box = new MultiLineTextBox;
      box->setLineWrapMode(QPlainTextEdit::NoWrap);
      box->setTabChangesFocus(true);
      return box;
    }
    case RowKind::HelpText: return helpText(row);
    case RowKind::ComboBox: {
      auto *combo = new QComboBox;
      combo->setEditable(true);
      combo->setInsertPolicy(QComboBox::NoInsert);
      for (const char *choice : row.choices)
        combo->addItem(QString::fromUtf8(choice));
      // Typed text stays as typed: no inline completion that turns "REQ"
      // into "REQUESTS". Without a completer, Enter also matches the list
      // case-sensitively, so "read" never becomes "READ".
      combo->setCompleter(nullptr);
      combo->lineEdit()->setMaxLength(kMaxTextLength);
      combo->setMinimumWidth(110);
      combo->setMaxVisibleItems(16);
      return combo;
    }
    case RowKind::CheckBox: return new QCheckBox(QString::fromUtf8(row.label));
    case RowKind::Button: return new QPushButton(QString::fromUtf8(row.label));
    case RowKind::ListBox: {
      auto *list = new QListWidget;
      list->setSelectionMode(QAbstractItemView::SingleSelection);
      list->setMinimumHeight(120);
      return list;
    }
    case RowKind::Heading:
    case RowKind::Note: break;
    }
    return nullptr;
  }

  QWidget *helpText(const PageRow &row) {
    auto *box = new QPlainTextEdit;
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QStringList lines;
    for (const char *line : row.choices)
      lines << QString::fromUtf8(line);
    box->setPlainText(lines.join(QLatin1Char('\n')));
    const QFontMetrics metrics(box->font());
    box->setTabStopDistance(metrics.horizontalAdvance(QLatin1Char(' ')) * 8);
    int widest = 0;
    for (QString line : lines)
      widest = std::max(widest, metrics.horizontalAdvance(
                                    line.replace(QLatin1Char('\t'), QLatin1String("        "))));
    const int chrome = 2 * box->frameWidth() + 2 * int(box->document()->documentMargin()) + 4;
    box->setFixedHeight(int(lines.size()) * metrics.lineSpacing() + chrome);
    box->setMinimumWidth(std::min(widest + chrome, 420));
    box->setFocusPolicy(Qt::ClickFocus);
    return box;
  }

  void addRow(QGridLayout *grid, const PageRow &row) {
    const int r = grid->rowCount();
    QWidget *control = createControl(row);
    control->setToolTip(tooltip(row));
    controls_.add(QString::fromLatin1(row.control), row.index, control);
    if (control->focusPolicy() & Qt::TabFocus)
      focusOrder_ << control;

    const bool hasHint = *row.hint != 0;
    switch (row.kind) {
    case RowKind::ListBox:
    case RowKind::MultiLine:
    case RowKind::HelpText: grid->addWidget(control, r, 0, 1, 3); break;
    case RowKind::CheckBox: grid->addWidget(control, r, kLabelColumn, 1, hasHint ? 2 : 3); break;
    case RowKind::Button:
      grid->addWidget(control, r, row.frame ? kControlColumn : kLabelColumn, Qt::AlignLeft);
      break;
    default: {
      auto *label = new QLabel(QString::fromUtf8(row.label));
      label->setBuddy(control);
      addLabel(label);
      grid->addWidget(label, r, kLabelColumn);
      grid->addWidget(control, r, kControlColumn, 1, column_.hasHints ? 1 : 2);
    }
    }
    if (hasHint) {
      auto *hint = new QLabel(QString::fromUtf8(row.hint));
      hint->setWordWrap(true);
      QPalette palette = hint->palette();
      palette.setColor(QPalette::WindowText, HintTextColor(palette));
      hint->setPalette(palette);
      addLabel(hint);
      grid->addWidget(hint, r, kHintColumn);
    }
  }

  ControlRegistry &controls_;
  QList<QWidget *> focusOrder_;
  ColumnMetrics column_;
  const char *rowTooltip_ = nullptr;
};

} // namespace

double ContrastRatio(const QColor &a, const QColor &b) {
  const double la = relativeLuminance(a), lb = relativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

namespace {

// a drawn over b with a's share t (0 to 1).
QColor mix(const QColor &a, const QColor &b, double t) {
  return QColor::fromRgbF(float(b.redF() + (a.redF() - b.redF()) * t),
                          float(b.greenF() + (a.greenF() - b.greenF()) * t),
                          float(b.blueF() + (a.blueF() - b.blueF()) * t));
}

} // namespace

QColor HintTextColor(const QPalette &palette) {
  const QColor background = palette.color(QPalette::Window);
  const QColor text = palette.color(QPalette::WindowText);
  // The placeholder colour is often the text colour half transparent: what
  // the eye sees is that colour over the background.
  const QColor placeholder = palette.color(QPalette::PlaceholderText);
  const QColor start = mix(placeholder, background, placeholder.alphaF());
  QColor hint = start;
  // Towards the text colour, step by step, until the hint reads well.
  for (int step = 1; ContrastRatio(hint, background) < 4.5 && step <= 10; ++step)
    hint = mix(text, start, step / 10.0);
  return hint;
}

int PageLabelWidth() {
  // Measured once per application font.
  static QFont measuredFont;
  static int width = -1;
  const QFont font = QApplication::font();
  if (width >= 0 && font == measuredFont)
    return width;
  const QFontMetrics metrics(font);
  int widest = 0;
  for (const PageDef &page : pageTable())
    forEachRow(page, [&](const PageRow &row) {
      if (hasLabelOnLeft(row))
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromUtf8(row.label)));
    });
  measuredFont = font;
  width = widest + 12;
  return width;
}

QList<QWidget *> BuildPage(const PageDef &page, QWidget *container, ControlRegistry &controls) {
  return PageBuilderImpl(controls).build(page, container);
}

} // namespace kestrum
