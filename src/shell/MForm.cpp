#include "MForm.h"

#include "AnalyserMessagesWindow.h"
#include "ControlValues.h"
#include "DeleteUnresolvedWindow.h"
#include "DesktopActions.h"
#include "Globals.h"
#include "InformationWindow.h"
#include "ListEditing.h"
#include "MainWindowTables.h"
#include "PageBuilder.h"
#include "PageTable.h"
#include "QtMessages.h"
#include "ReportTable.h"
#include "RunDialog.h"
#include "ShellWindows.h"
#include "TabStrip.h"
#include "TellurixHost.h"
#include "ToolbarImages.h"
#include "WindowBinding.h"
#include "WindowProgramStart.h"
#include "frmDownload.h"
#include "profile/ProfileFile.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

static void initShellResources() {
  Q_INIT_RESOURCE(kestrum_shell);
}

namespace kestrum {
namespace {

const QString kTitle = QStringLiteral("Kestrum");
// The maker's web pages opened from the Help menu.
const QString kMakerHome = QStringLiteral("https://www.brannock.example/");
const QString kProductPage = QStringLiteral("https://www.brannock.example/kestrum/");

QString entryKey(const QString &name, int index) {
  return index < 0 ? name : name + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

} // namespace

MForm::MForm(MFormServices services, QWidget *parent) : QMainWindow(parent) {
  initShellResources();
  if (!services.messages)
    ownMessages_ = std::make_unique<QtMessages>(this);
  if (!services.fileDialogs)
    ownFileDialogs_ = std::make_unique<QtFileDialogs>(this);
  if (!services.desktop)
    ownDesktop_ = std::make_unique<QtDesktopActions>();
  messages_ = services.messages ? services.messages : ownMessages_.get();
  fileDialogs_ = services.fileDialogs ? services.fileDialogs : ownFileDialogs_.get();
  desktop_ = services.desktop ? services.desktop : ownDesktop_.get();
  if (!services.windows)
    ownWindows_ = std::make_unique<QtShellWindows>(this, globals(), *messages_, *fileDialogs_);
  windows_ = services.windows ? services.windows : ownWindows_.get();
  document_ = std::make_unique<Document>(globals(), static_cast<DocumentView &>(*this), *messages_,
                                         *fileDialogs_);

  setWindowTitle(QStringLiteral("Brannock Kestrum"));
  images_ = ToolbarImageList(style());
  BuildMenus();
  BuildToolbar();
  BuildStatusBar();
  BuildPages();
  BuildPaging();
  ConnectPageControls();
  if (services.hostTellurix)
    HostTellurix();
  BuildRunPipeline(services);
  resize(1000, 720);
}

MForm::~MForm() {
  qApp->removeEventFilter(this);
}

// ---- Frame -------------------------------------------------------------------

void MForm::BuildMenus() {
  QMenu *menu = nullptr;
  for (const MenuEntryDef &def : menuTable()) {
    const QString name = QString::fromLatin1(def.name);
    if (def.topLevel) {
      menu = menuBar()->addMenu(QString::fromUtf8(def.caption));
      menu->setObjectName(name);
      continue;
    }
    if (name == QLatin1String("-")) {
      menu->addSeparator();
      continue;
    }
    QAction *action = menu->addAction(QString::fromUtf8(def.caption));
    action->setObjectName(entryKey(name, def.index));
    if (*def.shortcut)
      action->setShortcut(QKeySequence(QString::fromLatin1(def.shortcut)));
    menuEntries_.insert(entryKey(name, def.index), action);
  }
  for (int i = 0; i < kQuickMenuCount; ++i)
    menuEntry(QStringLiteral("mnuFileQuick"), i)->setVisible(false);
  // Text boxes claim some of the menu's keys for themselves (Ctrl+A selects
  // their text); the filter below gives those keys back to the menu.
  qApp->installEventFilter(this);

  BindMenus();
}

void MForm::BindMenus() {
  QAction *offline = menuEntry(QStringLiteral("mnuFileOffline"));
  offline->setCheckable(true);
  // Triggering flips the check mark first, so the new mark is the new mode.
  connect(offline, &QAction::triggered, this, [this](bool checked) { SetMode(checked); });
  const auto bind = [this](const char *name, auto handler) {
    connect(menuEntry(QString::fromLatin1(name)), &QAction::triggered, this, handler);
  };
  Document *doc = document_.get();
  bind("mnuFileNew", [doc] { doc->mnuFileNew_Click(); });
  bind("mnuFileOpen", [doc] { doc->mnuFileOpen_Click(); });
  bind("mnuFileImport", [doc] { doc->mnuFileImport_Click(); });
  bind("mnuFileSave", [doc] { doc->mnuFileSave_Click(); });
  bind("mnuFileSaveAs", [doc] { doc->mnuFileSaveAs_Click(); });
  for (int i = 0; i < kQuickMenuCount; ++i)
    connect(menuEntry(QStringLiteral("mnuFileQuick"), i), &QAction::triggered, this,
            [doc, i] { doc->mnuFileQuick_Click(i); });
  bind("mnuFileExit", [this] { mnuFileExit_Click(); });
  bind("mnuToolsDeleteURL", [this] { mnuToolsDeleteURL_Click(); });
  bind("mnuToolsAnalogMessages", [this] { mnuToolsAnalogMessages_Click(); });
  bind("mnuRunAnalog", [this] { mnuRunAnalog_Click(); });
  bind("mnuRunResult", [this] { mnuRunResult_Click(); });
  bind("mnuRunShow", [this] { mnuRunShow_Click(); });
  bind("mnuRunCreate", [this] { mnuRunCreate_Click(); });
  bind("mnuRunCreateShow", [this] { mnuRunCreateShow_Click(); });
  bind("mnuRunCreateRun", [this] { mnuRunCreateRun_Click(); });
  bind("mnuRunSettings", [this] { mnuRunSettings_Click(); });
  bind("mnuToolsOptions", [this] { windows_->Options(); });
  bind("mnuHelpTips", [this] { windows_->TipsAndTricks(); });
  bind("mnuHelpTOD", [this] { windows_->TipOfDay(false); });
  bind("mnuHelpAnalogHelp", [this] { mnuHelpAnalogHelp_Click(); });
  bind("mnuHelpBrannock", [this] { mnuHelpBrannock_Click(); });
  bind("mnuHelpProduct", [this] { mnuHelpProduct_Click(); });
  bind("mnuHelpAbout", [this] { windows_->About(); });
}

// Paging keys work from anywhere in the window, like the menu's keys.
void MForm::BuildPaging() {
  const auto addKeys = [this](QList<QKeySequence> keys, void (MForm::*handler)()) {
    auto *action = new QAction(this);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, handler);
    addAction(action);
    pagingKeys_ << action;
  };
  addKeys({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)},
          &MForm::PageForward);
  addKeys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
           QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
          &MForm::PageBack);
}

void MForm::PageForward() {
  mainTab_->setCurrentIndex((mainTab_->currentIndex() + 1) % mainTab_->count());
}

void MForm::PageBack() {
  mainTab_->setCurrentIndex((mainTab_->currentIndex() + mainTab_->count() - 1) % mainTab_->count());
}

// The menu's shortcut keys run their entries wherever the focus is in this
// window: a text box does not get to keep Ctrl+A for selecting its text.
bool MForm::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() != QEvent::ShortcutOverride)
    return false;
  auto *widget = qobject_cast<QWidget *>(watched);
  if (!widget || widget->window() != this)
    return false;
  const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
  for (const QAction *entry : std::as_const(menuEntries_))
    if (!entry->shortcut().isEmpty() && entry->shortcut() == pressed)
      return true; // not accepted: the shortcut goes to the menu
  for (const QAction *keys : std::as_const(pagingKeys_))
    if (keys->shortcuts().contains(pressed))
      return true;
  return false;
}

QAction *MForm::menuEntry(const QString &name, int index) const {
  return menuEntries_.value(entryKey(name, index));
}

void MForm::BuildToolbar() {
  toolB_ = addToolBar(QStringLiteral("ToolB"));
  toolB_->setObjectName(QStringLiteral("ToolB"));
  toolB_->setMovable(false);
  toolB_->setIconSize(QSize(24, 24));
  for (const ToolButtonDef &def : toolbarTable()) {
    const QString key = QString::fromLatin1(def.key);
    QAction *button = toolB_->addAction(images_.value(QString::fromLatin1(def.image)), key);
    button->setObjectName(key);
    button->setToolTip(QString::fromUtf8(def.tooltip));
    connect(button, &QAction::triggered, this, [this, key] { ToolB_ButtonClick(key); });
    toolButtons_.insert(key, button);
    if (key == QLatin1String("Save") || key == QLatin1String("RunAndSettings") ||
        key == QLatin1String("ConSet"))
      toolB_->addSeparator();
  }
}

void MForm::ToolB_ButtonClick(const QString &key) {
  for (const ToolButtonDef &def : toolbarTable())
    if (key == QLatin1String(def.key))
      menuEntry(QString::fromLatin1(def.menuEntry))->trigger();
}

void MForm::BuildStatusBar() {
  QStatusBar *bar = statusBar();
  bar->setObjectName(QStringLiteral("MBar"));
  for (const StatusPanelDef &def : statusPanelTable()) {
    auto *panel = new QLabel(QString::fromUtf8(def.text));
    panel->setObjectName(QString::fromLatin1(def.key));
    panel->setToolTip(QString::fromUtf8(def.tooltip));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setMinimumWidth(70);
    panels_.insert(QString::fromLatin1(def.key), panel);
    if (panels_.size() == 1)
      bar->addWidget(panel, 1);
    else
      bar->addPermanentWidget(panel);
  }
  datePanel_ = new QLabel;
  timePanel_ = new QLabel;
  for (QLabel *panel : {datePanel_, timePanel_}) {
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar->addPermanentWidget(panel);
  }
  UpdateClock();
  auto *clock = new QTimer(this);
  connect(clock, &QTimer::timeout, this, &MForm::UpdateClock);
  clock->start(1000);
}

void MForm::UpdateClock() {
  const QDateTime now = QDateTime::currentDateTime();
  datePanel_->setText(QLocale().toString(now.date(), QLocale::ShortFormat));
  timePanel_->setText(QLocale().toString(now.time(), QLocale::ShortFormat));
}

QString MForm::panelText(const QString &key) const {
  const QLabel *panel = panels_.value(key);
  return panel ? panel->text() : QString();
}

void MForm::setPanelText(const QString &key, const QString &text) {
  if (QLabel *panel = panels_.value(key))
    panel->setText(text);
}

void MForm::BuildPages() {
  auto *central = new QWidget;
  auto *layout = new QVBoxLayout(central);
  mainTab_ = new TabStrip;
  mainTab_->setObjectName(QStringLiteral("MainTab"));
  pages_ = new QStackedWidget;
  layout->addWidget(mainTab_);
  // At large fonts a page may need more room than the screen has: it then
  // scrolls instead of pushing the window past the screen's edges.
  auto *scroll = new QScrollArea;
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setWidget(pages_);
  layout->addWidget(scroll, 1);
  for (const PageDef &page : pageTable())
    mainTab_->addTab(QString::fromUtf8(page.caption), QString::fromUtf8(page.tooltip));
  // Tab goes from the tab strip into the page in front, row by row.
  QWidget *previous = mainTab_->tabButton(mainTab_->count() - 1);
  int index = 0;
  for (const PageDef &page : pageTable()) {
    auto *container = new QWidget;
    container->setObjectName(QStringLiteral("MCont(%1)").arg(index));
    controls_.add(QStringLiteral("MCont"), index++, container);
    pages_->addWidget(container);
    for (QWidget *control : BuildPage(page, container, controls_)) {
      setTabOrder(previous, control);
      previous = control;
    }
  }
  setCentralWidget(central);
  connect(mainTab_, &TabStrip::currentChanged, this, &MForm::MainTab_Click);
  pages_->setCurrentIndex(0);
}

QWidget *MForm::MCont(int index) const {
  return controls_.find(QStringLiteral("MCont"), index);
}
QWidget *MForm::FrontPage() const {
  return pages_->currentWidget();
}

void MForm::MainTab_Click() {
  pages_->setCurrentWidget(MCont(mainTab_->currentIndex()));
}

void MForm::SetMode(bool offline) {
  menuEntry(QStringLiteral("mnuFileOffline"))->setChecked(offline);
  setPanelText(QStringLiteral("Mode"),
               offline ? QStringLiteral("offline") : QStringLiteral("online"));
  globals().Settings.Options.OfflineMode = offline ? kTrue16 : kFalse16;
  toolButton(QStringLiteral("ConSet"))
      ->setIcon(images_.value(offline ? QStringLiteral("ConNo") : QStringLiteral("ConYes")));
}

void MForm::UpdateShortCutMenu() {
  const auto &recent = globals().Settings.RecentFiles;
  for (int i = 0; i < kQuickMenuCount; ++i) {
    QAction *entry = menuEntry(QStringLiteral("mnuFileQuick"), i);
    const bool used = !recent[i].Path.isEmpty();
    if (used)
      entry->setText(recent[i].Name);
    entry->setVisible(used);
  }
}

void MForm::HostTellurix() {
  tellurix_ = new TellurixHost(this);
  PropertyBag bag = TellurixHost::FormPropertyBag();
  QString error;
  if (!tellurix_->Create(bag, &error))
    qWarning("Kestrum: the Tellurix control is not available (%s); runs cannot be watched.",
             qUtf8Printable(error));
}

// ---- Runs --------------------------------------------------------------------

void MForm::BuildRunPipeline(const MFormServices &services) {
  if (!services.programs)
    ownPrograms_ = std::make_unique<WindowProgramStart>();
  RunServices run;
  run.front = this;
  run.messages = messages_;
  run.programs = services.programs ? services.programs : ownPrograms_.get();
  run.clock = services.clock;
  run.tellurix = tellurix_ ? tellurix_->control() : nullptr;
  run.download = services.download ? services.download : &windowDownload_;
  pipeline_ = std::make_unique<RunPipeline>(document_->profile(), run);
  if (tellurix_)
    connect(tellurix_, &TellurixHost::CheckedAppEnd, this, &MForm::Tellurix_CheckedAppEnd);
}

// The download step of a run: frmDownload, modal, until the exchange ends.
void MForm::WindowLogDownload::Download(Profile &profile) {
  ShowDownloadWindow(profile.Settings, globals().ProgramDir, window_);
}

RunInputs MForm::Inputs() const {
  const ProgramGlobals &g = globals();
  return {g.ProgramDir, g.Settings.Options.OfflineMode != 0,
          g.Settings.Options.NoFinishAnnounce != 0, g.TimeSpecs};
}

void MForm::OpenWithShell(const QString &file) {
  desktop_->OpenWithShell(file);
}

void MForm::mnuRunAnalog_Click() {
  pipeline_->mnuRunAnalog_Click();
}
void MForm::mnuRunResult_Click() {
  pipeline_->mnuRunResult_Click();
}
void MForm::mnuRunShow_Click() {
  pipeline_->mnuRunShow_Click();
}
void MForm::mnuRunCreate_Click() {
  pipeline_->mnuRunCreate_Click();
}
void MForm::mnuRunCreateRun_Click() {
  pipeline_->mnuRunCreateRun_Click();
}
void MForm::Tellurix_CheckedAppEnd() {
  pipeline_->Tellurix_CheckedAppEnd();
}

// "Notepad" on analog.cfg, neither written nor checked first.
void MForm::mnuRunCreateShow_Click() {
  desktop_->StartEditor(globals().ProgramDir + QStringLiteral("analog.cfg"));
}

// The run dialog is modal to the window but does not block the caller: it
// is created fresh, runs the pipeline from its "Run Analog" button and goes
// away when closed.
void MForm::mnuRunSettings_Click() {
  if (auto *open = findChild<RunDialog *>(QStringLiteral("frmSett")); open && open->isVisible()) {
    open->raise();
    return;
  }
  auto *frmSett = new RunDialog(
      document_->profile(), globals().TimeSpecs,
      [this](bool showResult) {
        if (showResult)
          pipeline_->ShowResultAfterRun = true;
        mnuRunAnalog_Click();
      },
      *messages_, this);
  frmSett->setAttribute(Qt::WA_DeleteOnClose);
  frmSett->open();
}

// ---- Profile binding ---------------------------------------------------------

void MForm::ReadWriteWindow(bool toWindow) {
  ReadWriteWindow(document_->profile(), toWindow);
}

void MForm::ReadWriteWindow(Profile &profile, bool toWindow) {
  kestrum::ReadWriteWindow(controls_, profile, toWindow);
}

void MForm::ProfileLoaded() {
  AliasBoxUpdate();
  ExBoxUpdate();
}

void MForm::ShowNewOpen() {
  windows_->NewOpen(document_->OpenDialog());
}

void MForm::InitWindow() {
  // The mode switch takes any non-zero stored value as offline.
  SetMode(globals().Settings.Options.OfflineMode != 0);
  ReadWriteWindow(true);
}

// ---- Page controls -----------------------------------------------------------

void MForm::ConnectPageControls() {
  const auto onClick = [this](const char *name, void (MForm::*handler)()) {
    connect(control<QPushButton>(QString::fromLatin1(name)), &QPushButton::clicked, this, handler);
  };
  onClick("AliasNew", &MForm::AliasNew_Click);
  onClick("AliasDelete", &MForm::AliasDelete_Click);
  onClick("ExNew", &MForm::ExNew_Click);
  onClick("SeTNew", &MForm::SeTNew_Click);
  onClick("ExDelete", &MForm::ExDelete_Click);
  onClick("SortRestart", &MForm::SortRestart_Click);
  onClick("ButShowHirarchical", &MForm::ButShowHirarchical_Click);
  onClick("ButUseQuickDNS", &MForm::ButUseQuickDNS_Click);
  onClick("ShowInfo", &MForm::ShowInfo_Click);
  onClick("DoShow", &MForm::DoShow_Click);

  // A frame follows its check box whenever the box's value changes, by a
  // click or because a profile was loaded.
  const auto onCheck = [this](const char *name, void (MForm::*handler)()) {
    connect(control<QCheckBox>(QString::fromLatin1(name)), &QCheckBox::stateChanged, this, handler);
    (this->*handler)();
  };
  onCheck("LogCheck", &MForm::LogCheck_Click);
  onCheck("DumShowDebug", &MForm::DumShowDebug_Click);
  onCheck("DumShowWarning", &MForm::DumShowWarning_Click);
  // A grey box that the user clicks becomes an ordinary two-state box again.
  for (const FieldInfo &field : profileFields()) {
    if (field.type != FieldType::Bool16 || !hasWindowControl(field))
      continue;
    auto *box = qobject_cast<QCheckBox *>(controlFor(controls_, field));
    connect(box, &QCheckBox::clicked, box, [box] {
      if (box->checkState() != Qt::PartiallyChecked)
        box->setTristate(false);
    });
  }

  connect(control<QListWidget>(QStringLiteral("AliasBox")), &QListWidget::itemSelectionChanged,
          this, &MForm::AliasBox_Click);
  connect(control<QListWidget>(QStringLiteral("ExBox")), &QListWidget::itemSelectionChanged, this,
          &MForm::ExBox_Click);
  control<QPushButton>(QStringLiteral("AliasDelete"))->setEnabled(false);
  control<QPushButton>(QStringLiteral("ExDelete"))->setEnabled(false);

  for (int i = 0; i < kReportCount; ++i)
    connect(control<QCheckBox>(QStringLiteral("RepSort"), i), &QCheckBox::toggled, this,
            [this, i] { RepSort_Click(i); });
}

void MForm::LogCheck_Click() {
  controls_.find(QStringLiteral("LogFrame"))
      ->setEnabled(control<QCheckBox>(QStringLiteral("LogCheck"))->checkState() == Qt::Checked);
}

void MForm::DumShowDebug_Click() {
  controls_.find(QStringLiteral("DumDebug"))
      ->setEnabled(control<QCheckBox>(QStringLiteral("DumShowDebug"))->checkState() == Qt::Checked);
}

void MForm::DumShowWarning_Click() {
  controls_.find(QStringLiteral("DumWarning"))
      ->setEnabled(control<QCheckBox>(QStringLiteral("DumShowWarning"))->checkState() ==
                   Qt::Checked);
}

void MForm::ButShowHirarchical_Click() {
  desktop_->OpenWithShell(globals().ProgramDir + QStringLiteral("docs/hierreps.html"));
}

void MForm::ButUseQuickDNS_Click() {
  desktop_->OpenWithShell(globals().ProgramDir + QStringLiteral("QuickDNS.html"));
}

void MForm::ShowInfo_Click() {
  if (!information_) {
    information_ = new InformationWindow(this);
    information_->setAttribute(Qt::WA_DeleteOnClose);
  }
  information_->show();
  information_->raise();
}

// One clean-up window at a time, not modal.
void MForm::mnuToolsDeleteURL_Click() {
  if (!deleteUnresolved_) {
    deleteUnresolved_ = new DeleteUnresolvedWindow(globals().ProgramDir, *messages_, this);
    deleteUnresolved_->setAttribute(Qt::WA_DeleteOnClose);
  }
  deleteUnresolved_->show();
  deleteUnresolved_->raise();
}

// A fresh look at the last run's messages each time.
void MForm::mnuToolsAnalogMessages_Click() {
  auto *window = new AnalyserMessagesWindow(globals().ProgramDir, this);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->show();
}

void MForm::DoShow_Click() {
  desktop_->StartEditor(globals().ProgramDir +
                        control<QLineEdit>(QStringLiteral("DummyT"), 67)->text());
}

// ---- List editors ------------------------------------------------------------

namespace {

void refill(QListWidget *box, const std::array<ListEntry, kListSize> &list) {
  box->clear();
  for (const ListEntry &entry : list) {
    if (entry.Text.isEmpty())
      break;
    box->addItem(entry.Text);
  }
}

bool hasSelection(const QListWidget *box) {
  return !box->selectedItems().isEmpty();
}

} // namespace

void MForm::AliasBoxUpdate() {
  refill(control<QListWidget>(QStringLiteral("AliasBox")), profile().Aliases);
  AliasBox_Click();
}

void MForm::ExBoxUpdate() {
  refill(control<QListWidget>(QStringLiteral("ExBox")), profile().Excludes);
  ExBox_Click();
}

void MForm::AliasBox_Click() {
  control<QPushButton>(QStringLiteral("AliasDelete"))
      ->setEnabled(hasSelection(control<QListWidget>(QStringLiteral("AliasBox"))));
}

void MForm::ExBox_Click() {
  control<QPushButton>(QStringLiteral("ExDelete"))
      ->setEnabled(hasSelection(control<QListWidget>(QStringLiteral("ExBox"))));
}

void MForm::AppendTo(std::array<ListEntry, kListSize> &list, const QString &text) {
  if (!AppendListEntry(list, text))
    messages_->show(ListFullMessage(), MessageIcon::Exclamation, kTitle);
}

void MForm::AliasNew_Click() {
  AppendTo(profile().Aliases,
           AliasLine(control<QComboBox>(QStringLiteral("AliasAdd1"))->currentText(),
                     control<QLineEdit>(QStringLiteral("AliasAdd2"))->text(),
                     control<QLineEdit>(QStringLiteral("AliasAdd3"))->text()));
  AliasBoxUpdate();
}

void MForm::ExNew_Click() {
  AppendTo(profile().Excludes,
           InclusionLine(control<QComboBox>(QStringLiteral("ExT1"))->currentText(),
                         control<QLineEdit>(QStringLiteral("ExT2"))->text()));
  ExBoxUpdate();
}

void MForm::SeTNew_Click() {
  AppendTo(profile().Excludes,
           SearchEngineLine(control<QLineEdit>(QStringLiteral("SeT1"))->text(),
                            control<QLineEdit>(QStringLiteral("SeT2"))->text()));
  ExBoxUpdate();
}

void MForm::AliasDelete_Click() {
  auto *box = control<QListWidget>(QStringLiteral("AliasBox"));
  if (!hasSelection(box))
    return;
  DeleteListEntry(profile().Aliases, box->currentRow());
  AliasBoxUpdate();
}

void MForm::ExDelete_Click() {
  auto *box = control<QListWidget>(QStringLiteral("ExBox"));
  if (!hasSelection(box))
    return;
  DeleteListEntry(profile().Excludes, box->currentRow());
  ExBoxUpdate();
}

void MForm::RepSort_Click(int index) {
  auto *result = control<QLineEdit>(QStringLiteral("SortErg"));
  result->setText(result->text() + QLatin1Char(reportTable()[index].code));
  control<QCheckBox>(QStringLiteral("RepSort"), index)->setEnabled(false);
}

void MForm::SortRestart_Click() {
  for (int i = 0; i < kReportCount; ++i) {
    auto *box = control<QCheckBox>(QStringLiteral("RepSort"), i);
    box->setChecked(false);
    box->setEnabled(true);
  }
  control<QLineEdit>(QStringLiteral("SortErg"))->clear();
}

// ---- Menu entries ------------------------------------------------------------

void MForm::mnuFileOffline_Click() {
  menuEntry(QStringLiteral("mnuFileOffline"))->trigger();
}

void MForm::mnuFileExit_Click() {
  close();
}

// Closing the window runs Exit: a cancelled save prompt or settings that
// could not be written keep it open; otherwise the program ends.
void MForm::closeEvent(QCloseEvent *event) {
  if (!document_->mnuFileExit_Click()) {
    event->ignore();
    return;
  }
  event->accept();
  QApplication::quit();
}

void MForm::mnuHelpAnalogHelp_Click() {
  desktop_->OpenWithShell(globals().ProgramDir + QStringLiteral("docs/Readme.html"));
}

void MForm::mnuHelpBrannock_Click() {
  desktop_->OpenWithShell(kMakerHome);
}
void MForm::mnuHelpProduct_Click() {
  desktop_->OpenWithShell(kProductPage);
}

} // namespace kestrum
