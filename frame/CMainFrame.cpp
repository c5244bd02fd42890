#include "CMainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "AppIcons.h"
#include "CCyclePopup.h"
#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "CommandIds.h"
#include "CommandTexts.h"
#include "ExtensionAssociation.h"
#include "FileDropTarget.h"
#include "MenuBarStyle.h"
#include "MenuLayout.h"
#include "ModalSeam.h"
#include "PlatformFamily.h"
#include "ProfileFile.h"
#include "FloatingToolBarCaption.h"
#include "QuickTile.h"
#include "RecentFileList.h"
#include "Strings.h"
#include "ToolBarIcons.h"
#include "PlacementRecorder.h"
#include "StatusPaneName.h"
#include "StatusPaneRow.h"
#include "UiText.h"
#include "WindowPlacement.h"

namespace {

// Status bar panes after the message pane, with the text each is sized to.
struct Pane {
  int id;
  const char* sizingText;
};
const Pane kPanes[] = {
    {ids::kPaneModified, "●"}, {ids::kPaneSize, "00000バイト"}, {ids::kPaneLine, "0000行"},
    {ids::kPaneCodes, "EUC→EUC"}, {ids::kPaneMode, "上書"}, {ids::kPaneDate, "00/00"},
    {ids::kPaneTime, "00:00"},
};

constexpr const char* kFlatOffText = "次回起動時にツールバーが\n通常ボタン表示になります。";
constexpr const char* kFlatOnText = "次回起動時にツールバーが\nフラットボタン表示になります。";

}  // namespace

CMainFrame::CMainFrame(ProfileFile& profile, CommandTarget* application, const RecentFileList* recentFiles,
                       QWidget* parent)
    : QMainWindow(parent),
      m_profile(profile),
      m_recentFiles(recentFiles),
      m_view(new CKb_zeva3View(profile, this)),
      m_document(new CKb_zeva3Doc(profile, *m_view, this)),
      m_cyclePopup(new CCyclePopup(*m_view, profile, *this, this)),
      m_customButton(profile, *this),
      m_launcher(profile, *m_document, this) {
  // The mini launcher answers for the document, right after it.
  std::vector<CommandTarget*> targets = {m_view, m_document, &m_launcher, this};
  if (application) targets.push_back(application);
  m_dispatcher.SetTargets(targets);
  // Every command sees (and saves, counts, searches) the text the user
  // typed: a composition still open is committed where it stands first.
  m_dispatcher.SetBeforeEachCommand([this] { m_view->Control().FinishComposition(); });
  m_view->AttachCommands(m_cyclePopup);
  m_document->AttachCommands(&m_customButton);

  PlaceFromSettings();
  setCentralWidget(m_view);
  BuildMenus();
  BuildToolBar();
  BuildStatusBar();
  BuildAccelerators();
  connect(new FileDropTarget(this), &FileDropTarget::FilesDropped, this, &CMainFrame::OpenDropped);
  // The icon at the sizes title and task bars draw, before the window is
  // first shown; the larger ones once it is on screen (CompleteIcon).
  QIcon icon = ProgramIcon(kTitleBarIconSize);
  QGuiApplication::setWindowIcon(icon);  // also the dialogs' and the version box's
  setWindowIcon(icon);

  connect(m_view, &CKb_zeva3View::Tick, this, &CMainFrame::UpdateIdle);
  connect(m_view, &CKb_zeva3View::FilesDropped, this, &CMainFrame::OpenDropped);
  connect(m_view, &CKb_zeva3View::StatusMessage, this, [this](const QString& text) { statusBar()->showMessage(text); });
  connect(m_document, &CKb_zeva3Doc::PathNameChanged, this, &CMainFrame::UpdateTitle);
  UpdateTitle();
}

void CMainFrame::PlaceFromSettings() {
  QScreen* screen = QGuiApplication::primaryScreen();
  QRect placement = PlacementFromSettings(m_profile, screen ? screen->geometry().size() : QSize(1024, 768));
  // A hand-edited size below what the bars need is used as it is: the
  // window manager would otherwise enlarge the window and move it to keep
  // it on screen, a little further at every start.
  layout()->setSizeConstraint(QLayout::SetNoConstraint);
  resize(placement.size());
  move(placement.topLeft());
  m_placement = new PlacementRecorder(*this, m_profile);
}

QAction* CMainFrame::ActionFor(int id, const QString& text) {
  if (QAction* existing = m_actions.value(id)) return existing;
  auto* action = new QAction(text, this);
  action->setStatusTip(T(res::CommandPrompt(id)));
  action->setToolTip(T(res::CommandToolTip(id)));
  connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
  m_actions.insert(id, action);
  return action;
}

void CMainFrame::BuildMenus() {
  auto* style = new MenuBarStyle;
  style->setParent(this);
  menuBar()->setStyle(style);
  const std::vector<res::Menu>& layout = res::MenuBar();
  for (const res::Menu& menuLayout : layout) {
    // Help stands at the right end of the menu bar, after a separator.
    if (&menuLayout == &layout.back()) menuBar()->addSeparator();
    QMenu* menu = menuBar()->addMenu(T(menuLayout.title));
    menu->setStyle(style);
    for (const res::MenuItem& item : menuLayout.items) {
      if (item.id == 0) {
        menu->addSeparator();
        continue;
      }
      QAction* action = ActionFor(item.id, T(item.text));
      if (item.id == ids::kWordWrap || item.id == ids::kAutoIndent || item.id == ids::kFlatToolBar ||
          item.id == ids::kToolBar || item.id == ids::kStatusBar)
        action->setCheckable(true);
      menu->addAction(action);
    }
    // Check marks, enabling and the recent files are settled as the menu opens.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { PrepareMenu(menu); });
  }
}

namespace {

// The command of a menu item: the main menu's items are the frame's own
// actions, the others (recent files, cycle popup items) carry it as data.
constexpr const char* kRecentEntry = "kbRecentEntry";

}  // namespace

void CMainFrame::PrepareMenu(QMenu* menu) {
  for (QAction* action : menu->actions())
    if (m_actions.key(action, action->data().toInt()) == ids::kRecentFile1 && !action->property(kRecentEntry).toBool())
      FillRecentFiles(menu, action);
  for (QAction* action : menu->actions())
    if (!action->isSeparator()) UpdateAction(action);
  // The menus share the buttons' actions: the next tick sets them all again.
  for (ToolBarButton& button : m_toolBarButtons) button.shown.reset();
}

// The entry "最近のファイル" stands for the list: the files take its place,
// and it shows (unavailable) only while there are none.
void CMainFrame::FillRecentFiles(QMenu* menu, QAction* placeholder) {
  for (QAction* old : menu->actions()) {
    if (!old->property(kRecentEntry).toBool()) continue;
    menu->removeAction(old);
    old->deleteLater();
  }
  QStringList entries = m_recentFiles ? m_recentFiles->Entries() : QStringList();
  placeholder->setVisible(entries.isEmpty());
  for (int i = 0; i < entries.size(); ++i) {
    int id = ids::kRecentFile1 + i;
    auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(RecentFileList::Abbreviate(entries[i])), this);
    action->setStatusTip(T(res::CommandPrompt(id)));
    action->setData(id);
    action->setProperty(kRecentEntry, true);
    connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    connect(menu, &QObject::destroyed, action, &QObject::deleteLater);
    menu->insertAction(placeholder, action);
  }
}

void CMainFrame::BuildAccelerators() {
  // F10 opens the menu bar's first menu, from where the arrow keys go on.
  auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
  connect(menuKey, &QShortcut::activated, this, [this] { menuBar()->setActiveAction(menuBar()->actions().value(0)); });
  QList<QKeyCombination> keys{Qt::Key_F10};
  for (const res::Accelerator& accelerator : res::Accelerators()) {
    keys << accelerator.keys;
    auto* shortcut = new QShortcut(QKeySequence(accelerator.keys), this);
    shortcut->setContext(Qt::WindowShortcut);
    int id = accelerator.id;
    connect(shortcut, &QShortcut::activated, this, [this, id] { RunCommand(id); });
  }
  m_view->Control().ReleaseKeys(keys);
}

void CMainFrame::BuildToolBar() {
  int flat = m_profile.GetProfileInt("Config", "Flat", 1);
  m_flat = flat == 1;
  m_toolBar = addToolBar(T(strings::kAppTitle));
  m_toolBar->setObjectName(QStringLiteral("toolBar"));
  m_toolBar->setIconSize(QSize(16, 16));
  m_toolBar->setMovable(true);  // both styles float and dock on any side
  new FloatingToolBarCaption(*m_toolBar);
  for (int id : res::ToolBarSlots()) {
    if (id == 0) {
      m_toolBar->addSeparator();
      continue;
    }
    QAction* action = ActionFor(id, T(res::CommandToolTip(id)));
    action->setIcon(ToolBarIcon(id));
    m_toolBar->addAction(action);
    m_toolBarButtons.push_back({id, action, std::nullopt});
    if (auto* button = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(action))) button->setAutoRaise(m_flat);
  }
}

void CMainFrame::BuildStatusBar() {
  auto* idle = new QLabel(T(strings::kAppTitle));
  statusBar()->addWidget(idle, 1);
  m_panes << idle;
  m_paneTexts << idle->text();
  auto* row = new StatusPaneRow;
  for (const Pane& pane : kPanes) {
    auto* label = new QLabel(T(pane.sizingText));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    // A text wider than its pane is cut at the pane's right edge: a large
    // number keeps its leading digits.
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(label->text()) + 8);
    label->setMaximumWidth(label->minimumWidth());
    label->setAccessibleName(StatusPaneName(pane.id, label->text()));
    row->AddPane(label);
    m_panes << label;
    m_paneTexts << label->text();
  }
  statusBar()->addPermanentWidget(row);
}

QString CMainFrame::PaneText(int position) const {
  return position >= 0 && position < m_panes.size() ? m_panes[position]->text() : QString();
}

QLabel* CMainFrame::PaneLabel(int position) const { return m_panes.value(position); }

void CMainFrame::RunCommand(int id) { m_dispatcher.Dispatch(id); }

void CMainFrame::UpdateAction(QAction* action) {
  int id = m_actions.key(action, action->data().toInt());
  if (id != 0) UpdateAction(id, action);
}

void CMainFrame::UpdateAction(int id, QAction* action) { ApplyUpdate(action, m_dispatcher.Update(id)); }

void CMainFrame::ApplyUpdate(QAction* action, const CommandUpdate& update) {
  action->setEnabled(update.enabled);
  if (update.checked) {
    action->setCheckable(true);
    action->setChecked(*update.checked);
  }
}

namespace {

// The same characters in the same buffer: a text handed out again unchanged.
bool SameString(const QString& a, const QString& b) { return a.constData() == b.constData() && a.size() == b.size(); }

}  // namespace

// Twenty times a second, and nearly always with nothing changed: the buttons'
// commands are known from the start, each button's state and each pane's text
// are compared with what was last given to it, and a widget is touched only
// when that differs (the actions and labels themselves stay out of the
// processor's caches while nothing happens).
void CMainFrame::UpdateIdle() {
  for (ToolBarButton& button : m_toolBarButtons) {
    CommandUpdate update = m_dispatcher.Update(button.id);
    ToolBarButton::State state{update.enabled, update.checked};
    if (button.shown == state) continue;
    ApplyUpdate(button.action, update);
    button.shown = state;
  }
  for (int i = 0; i < static_cast<int>(std::size(kPanes)); ++i) {
    CommandUpdate update = m_dispatcher.Update(kPanes[i].id);
    if (!update.text || SameString(*update.text, m_paneTexts[i + 1])) continue;
    if (m_panes[i + 1]->text() != *update.text) {
      m_panes[i + 1]->setText(*update.text);
      m_panes[i + 1]->setAccessibleName(StatusPaneName(kPanes[i].id, *update.text));
    }
    m_paneTexts[i + 1] = *update.text;
  }
  // Each change of the title is a round trip to the window system.
  bool modified = m_view->IsModified();
  if (modified != isWindowModified()) setWindowModified(modified);
}

// The first frame on screen shows the real panes and tool-bar states, not
// the sizing texts and every button enabled until the first tick.
void CMainFrame::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) UpdateIdle();
  QMainWindow::showEvent(event);
}

// The window's first paint: what could wait until the window is drawn runs
// right after it.
bool CMainFrame::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) m_document->CheckChangedOnDisk();
  if (event->type() == QEvent::Paint && !m_iconComplete) {
    m_iconComplete = true;
    QMetaObject::invokeMethod(this, &CMainFrame::CompleteIcon, Qt::QueuedConnection);
  }
  return QMainWindow::event(event);
}

// Window switchers draw the icon large: the renders up to 256 pixels,
// decoded once for the window and the dialogs.
void CMainFrame::CompleteIcon() {
  QIcon icon = ProgramIcon();
  QGuiApplication::setWindowIcon(icon);
  setWindowIcon(icon);
}

const CommandMap<CMainFrame>& CMainFrame::Commands() {
  static const CommandMap<CMainFrame> commands{
      {ids::kMinimise, [](CMainFrame& f) { f.showMinimized(); }},
      {ids::kMaximiseRestore, [](CMainFrame& f) { f.isMaximized() ? f.showNormal() : f.showMaximized(); }},
      {ids::kFlatToolBar, [](CMainFrame& f) { f.OnFlatToolBar(); }},
      {ids::kNewWindow, [](CMainFrame& f) { f.OnNewWindow(); }},
      {ids::kQuickTile, [](CMainFrame& f) { QuickTile::Recall(f, f.m_profile, f.m_placement->NormalFrameMargins()); }},
      {ids::kRegisterQuickTile, [](CMainFrame& f) { QuickTile::Register(f, f.m_profile, f.m_placement->NormalFrameMargins()); }},
      {ids::kToolBar, [](CMainFrame& f) { f.m_toolBar->setVisible(!f.m_toolBar->isVisible()); }},
      {ids::kStatusBar, [](CMainFrame& f) { f.statusBar()->setVisible(!f.statusBar()->isVisible()); }},
      {ids::kExit, [](CMainFrame& f) { f.close(); }},
      {ids::kAssociateExtension, [](CMainFrame& f) { f.Association().Associate(); }},
      {ids::kRemoveAssociation, [](CMainFrame& f) { f.Association().RemoveAssociation(); }},
  };
  return commands;
}

bool CMainFrame::HandlesCommand(int id) const { return Commands().Handles(id); }

void CMainFrame::OnCommand(int id) { Commands().Run(*this, id); }

bool CMainFrame::OnUpdateCommand(int id, CommandUpdate& update) {
  switch (id) {
    case ids::kMinimise: update.enabled = !isMinimized(); return true;
    case ids::kFlatToolBar: update.checked = m_profile.GetProfileInt("Config", "Flat", 1) != 0; return true;
    case ids::kToolBar: update.checked = m_toolBar->isVisible(); return true;
    case ids::kStatusBar: update.checked = statusBar()->isVisible(); return true;
    default: return false;
  }
}

// The style takes effect at the next start; the bar on screen stays.
void CMainFrame::OnFlatToolBar() {
  bool flatNow = m_profile.GetProfileInt("Config", "Flat", 1) == 1;
  platform::ShowMessage(this, {T(flatNow ? kFlatOffText : kFlatOnText), T(strings::kAppTitle),
                               platform::MessageIcon::Information, platform::MessageButtons::Ok});
  m_profile.WriteProfileInt("Config", "Flat", flatNow ? 0 : 1);
}

// A second editor opens with this window's size, 20 pixels right and down.
void CMainFrame::OnNewWindow() {
  m_placement->Flush();  // a write still waiting must not undo the offset below
  if (InNormalState(*this)) {
    m_profile.WriteProfileInt("Size", "SizeX", width());
    m_profile.WriteProfileInt("Size", "SizeY", height());
    m_profile.WriteProfileInt("Position", "PosX", frameGeometry().x() + kNewWindowOffset);
    m_profile.WriteProfileInt("Position", "PosY", frameGeometry().y() + kNewWindowOffset);
  }
  platform::StartProgram(QCoreApplication::applicationFilePath(), {});
}

ExtensionAssociation CMainFrame::Association() {
  return ExtensionAssociation(this, DesktopLocations::FromEnvironment(), platform::IsNtFamily);
}

void CMainFrame::OpenDropped(const QStringList& paths) {
  if (!paths.isEmpty()) m_document->OpenDroppedFile(paths.first());  // the first file only
}

void CMainFrame::UpdateTitle() {
  setWindowTitle(m_document->Title() + QStringLiteral("[*] - ") + T(strings::kAppTitle));
  m_view->SetPrintTitle(m_document->Title());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (!m_document->SaveModified()) return event->ignore();
  m_placement->Flush();
  event->accept();
}
