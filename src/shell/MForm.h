#pragma once

#include "ControlRegistry.h"
#include "Document.h"
#include "FileDialogs.h"
#include "platform/Result.h"
#include "profile/Profile.h"
#include "runs/RunPipeline.h"

#include <QHash>
#include <QIcon>
#include <QMainWindow>
#include <QPointer>

#include <memory>

class QAction;
class QLabel;
class QStackedWidget;
class QTabBar;

class QToolBar;

namespace kestrum {

class DesktopActions;
class Messages;
class ShellWindows;
class TellurixHost;
class TabStrip;
class DeleteUnresolvedWindow;
class InformationWindow;

// The collaborators the main window talks to. Null members get the Qt
// implementations (message boxes, file dialogs, desktop services, dialogs).
struct MFormServices {
  Messages *messages = nullptr;
  FileDialogs *fileDialogs = nullptr;
  DesktopActions *desktop = nullptr;
  bool hostTellurix = true; // create the Tellurix control
  ProgramStart *programs = nullptr;
  RunClock *clock = nullptr;
  ShellWindows *windows = nullptr;
  LogDownload *download = nullptr; // null: frmDownload
};

// The main window: 19 tab pages over the current profile, menus, toolbar,
// status bar, the two file dialogs and the hosted Tellurix control. The File
// menu's decisions are the Document's, the Run menu's the RunPipeline's; the
// window wires menus to them.
class MForm : public QMainWindow, private DocumentView, private RunFront {
  Q_OBJECT
public:
  explicit MForm(MFormServices services = {}, QWidget *parent = nullptr);
  ~MForm() override;

  Document &document() { return *document_; }
  // The profile being edited and its copy as last saved or loaded.
  Profile &profile() { return document_->profile(); }
  const Profile &SavedProfile() const { return document_->SavedProfile(); }

  // Controls by name and index: DummyT(3), LogFrame, RepSort(5), ...
  const ControlRegistry &controls() const { return controls_; }
  template <typename T> T *control(const QString &name, int index = -1) const {
    return controls_.get<T>(name, index);
  }

  TabStrip *MainTab() const { return mainTab_; }
  QWidget *MCont(int index) const;
  QWidget *FrontPage() const;
  QToolBar *ToolB() const { return toolB_; }
  QAction *toolButton(const QString &key) const { return toolButtons_.value(key); }
  QAction *menuEntry(const QString &name, int index = -1) const;
  QString panelText(const QString &key) const;
  void setPanelText(const QString &key, const QString &text);
  QIcon image(const QString &key) const { return images_.value(key); }
  TellurixHost *Tellurix() const { return tellurix_; }
  const FileDialogSpec &OpenDialog() const { return document_->OpenDialog(); }
  const FileDialogSpec &SaveDialog() const { return document_->SaveDialog(); }
  FileDialogs &fileDialogs() const { return *fileDialogs_; }
  Messages &messages() const { return *messages_; }
  ShellWindows &windows() const { return *windows_; }

  // Profile binding.
  void ReadWriteWindow(bool toWindow);
  Result SaveData() { return document_->SaveData(); }
  Result OpenData() { return document_->OpenData(); }
  void InitWindow();

  // Frame.
  void SetMode(bool offline);
  void UpdateShortCutMenu() override;
  void MainTab_Click();
  // Ctrl+Tab / Ctrl+PgDown and Ctrl+Shift+Tab / Ctrl+PgUp: the next or the
  // previous page to the front, wrapping around.
  void PageForward();
  void PageBack();
  void ToolB_ButtonClick(const QString &key);

  // List editors.
  void AliasBoxUpdate();
  void ExBoxUpdate();
  void AliasBox_Click();
  void ExBox_Click();
  void AliasNew_Click();
  void ExNew_Click();
  void SeTNew_Click();
  void AliasDelete_Click();
  void ExDelete_Click();
  void RepSort_Click(int index);
  void SortRestart_Click();

  // Frame switches and help buttons.
  void LogCheck_Click();
  void DumShowDebug_Click();
  void DumShowWarning_Click();
  void ButShowHirarchical_Click();
  void ButUseQuickDNS_Click();
  void ShowInfo_Click();
  void DoShow_Click();

  // Run menu: the run itself is the pipeline's.
  RunPipeline &Pipeline() { return *pipeline_; }
  void mnuRunAnalog_Click();
  void mnuRunResult_Click();
  void mnuRunShow_Click();
  void mnuRunCreate_Click();
  void mnuRunCreateShow_Click();
  void mnuRunCreateRun_Click();
  void mnuRunSettings_Click();
  void Tellurix_CheckedAppEnd();

  // Menu entries of the window itself.
  void mnuFileOffline_Click();
  // Closes the window, which runs the document's Exit.
  void mnuFileExit_Click();
  void mnuToolsDeleteURL_Click();
  void mnuToolsAnalogMessages_Click();
  void mnuHelpAnalogHelp_Click();
  void mnuHelpBrannock_Click();
  void mnuHelpProduct_Click();

protected:
  void closeEvent(QCloseEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  // DocumentView
  void ReadWriteWindow(Profile &profile, bool toWindow) override;
  void ProfileLoaded() override;
  void SetTitle(const QString &title) override { setWindowTitle(title); }
  void ShowNewOpen() override;

  void BuildMenus();
  void BindMenus();
  void BuildPaging();
  void BuildToolbar();
  void BuildStatusBar();
  void BuildPages();
  void ConnectPageControls();
  void HostTellurix();
  void AppendTo(std::array<ListEntry, kListSize> &list, const QString &text);
  void UpdateClock();
  void BuildRunPipeline(const MFormServices &services);

  // What a run sees of the window.
  RunInputs Inputs() const override;
  void ReadWindowIntoProfile() override { ReadWriteWindow(false); }
  void SetPanelText(const QString &key, const QString &text) override { setPanelText(key, text); }
  void OpenWithShell(const QString &file) override;

  ControlRegistry controls_;

  std::unique_ptr<Messages> ownMessages_;
  std::unique_ptr<FileDialogs> ownFileDialogs_;
  std::unique_ptr<DesktopActions> ownDesktop_;
  std::unique_ptr<ProgramStart> ownPrograms_;
  std::unique_ptr<RunPipeline> pipeline_;
  class WindowLogDownload : public LogDownload {
  public:
    explicit WindowLogDownload(QWidget *window) : window_(window) {}
    void Download(Profile &profile) override;

  private:
    QWidget *window_;
  } windowDownload_{this};
  std::unique_ptr<ShellWindows> ownWindows_;
  Messages *messages_;
  FileDialogs *fileDialogs_;
  DesktopActions *desktop_;
  ShellWindows *windows_;
  std::unique_ptr<Document> document_;
  QList<QAction *> pagingKeys_;

  TabStrip *mainTab_ = nullptr;
  QStackedWidget *pages_ = nullptr;
  QToolBar *toolB_ = nullptr;
  QHash<QString, QAction *> menuEntries_;
  QHash<QString, QAction *> toolButtons_;
  QHash<QString, QLabel *> panels_;
  QLabel *datePanel_ = nullptr;
  QLabel *timePanel_ = nullptr;
  QHash<QString, QIcon> images_;
  TellurixHost *tellurix_ = nullptr;
  QPointer<InformationWindow> information_;
  QPointer<DeleteUnresolvedWindow> deleteUnresolved_;
};

} // namespace kestrum
