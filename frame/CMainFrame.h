#pragma once

// The main window: menu bar, tool bar, eight-pane status bar and the editor
// view. It owns the command dispatcher every command goes through, places
// itself from the settings and writes its placement back while it is in the
// normal state, opens dropped files, and handles the window commands
// (minimise, maximise / restore, flat tool bar, new window).

#include <QMainWindow>
#include <QMap>

#include <optional>
#include <vector>

#include "CCustomButton.h"
#include "CMiniLauncher.h"
#include "CommandDispatcher.h"
#include "CommandHost.h"
#include "CommandTarget.h"

class CCyclePopup;
class PlacementRecorder;
class CKb_zeva3Doc;
class CKb_zeva3View;
class ExtensionAssociation;
class ProfileFile;
class QAction;
class QLabel;
class QMenu;
class QToolBar;
class RecentFileList;

class CMainFrame : public QMainWindow, public CommandTarget, public CommandHost {
  Q_OBJECT

 public:
  static constexpr int kNewWindowOffset = 20;
  // The largest icon render the window has before it is first drawn.
  static constexpr int kTitleBarIconSize = 48;

  // `application` is the last command target (File > New, Open, recent
  // files, version); `recentFiles` fills the File menu.
  CMainFrame(ProfileFile& profile, CommandTarget* application, const RecentFileList* recentFiles,
             QWidget* parent = nullptr);

  CKb_zeva3Doc& Document() { return *m_document; }
  CKb_zeva3View& View() { return *m_view; }
  CommandDispatcher& Dispatcher() { return m_dispatcher; }
  CCyclePopup& CyclePopup() { return *m_cyclePopup; }

  // CommandHost: every command, from wherever it came, and the update pass
  // of every menu, the cycle popup's pages included.
  QWidget* HostWindow() override { return this; }
  void RunCommand(int id) override;
  void PrepareMenu(QMenu* menu) override;
  // The idle-time update: tool-bar buttons and status panes.
  void UpdateIdle();

  // Widgets by command id, for tests and the cycle popup.
  QAction* Action(int id) const { return m_actions.value(id); }
  QToolBar* ToolBar() const { return m_toolBar; }
  QString PaneText(int position) const;
  QLabel* PaneLabel(int position) const;
  bool IsToolBarFlat() const { return m_flat; }

  // CommandTarget: the window commands.
  bool HandlesCommand(int id) const override;
  void OnCommand(int id) override;
  bool OnUpdateCommand(int id, CommandUpdate& update) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;

 private:
  static const CommandMap<CMainFrame>& Commands();
  void PlaceFromSettings();
  void BuildMenus();
  void BuildAccelerators();
  void BuildToolBar();
  void BuildStatusBar();
  QAction* ActionFor(int id, const QString& text);
  void UpdateAction(QAction* action);
  void UpdateAction(int id, QAction* action);
  static void ApplyUpdate(QAction* action, const CommandUpdate& update);
  void FillRecentFiles(QMenu* menu, QAction* placeholder);
  void OnFlatToolBar();
  void OnNewWindow();
  ExtensionAssociation Association();
  void OpenDropped(const QStringList& paths);
  void UpdateTitle();
  void CompleteIcon();

  ProfileFile& m_profile;
  const RecentFileList* m_recentFiles;
  CKb_zeva3View* m_view;
  CKb_zeva3Doc* m_document;
  CCyclePopup* m_cyclePopup;
  CCustomButton m_customButton;
  CMiniLauncher m_launcher;
  PlacementRecorder* m_placement = nullptr;
  CommandDispatcher m_dispatcher;
  QMap<int, QAction*> m_actions;
  QToolBar* m_toolBar = nullptr;
  // A button's command and the state last given to its action (none: to be set).
  struct ToolBarButton {
    struct State {
      bool enabled;
      std::optional<bool> checked;
      bool operator==(const State&) const = default;
    };
    int id;
    QAction* action;
    std::optional<State> shown;
  };
  std::vector<ToolBarButton> m_toolBarButtons;
  QList<QLabel*> m_panes;
  QList<QString> m_paneTexts;  // the text last given to each pane
  bool m_flat = true;
  bool m_iconComplete = false;
};
