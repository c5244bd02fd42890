#include "CCyclePopupDlg.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>

#include "CommandTable.h"
#include "DialogKeyboard.h"
#include "DialogUnits.h"
#include "ModalSeam.h"
#include "UiText.h"

namespace {

constexpr const char* kExplanation =
    "　「サイクルポップアップ」は連続して右クリックする\nことにより、次々と右クリックメニューを切り替えること\n"
    "ができる機能です。このカスタマイズダイアログで、\n任意のコマンドを登録することができます。";
constexpr const char* kResetQuestion = "サイクルメニューの項目を初期値\n（インストール時の設定）に戻します。";
constexpr const char* kResetCaption = "初期値に戻す";

QListWidget* NewList(QWidget* parent, const char* name) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QLatin1String(name));
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  return list;
}

}  // namespace

CCyclePopupDlg::CCyclePopupDlg(const PageStrings& pages, QWidget* parent) : QDialog(parent), m_pages(pages) {
  setObjectName(QStringLiteral("CCyclePopupDlg"));
  setWindowTitle(T("カスタマイズ　サイクルポップアップ"));
  setFont(DialogUnits::DialogFont());
  BuildControls();

  for (int page = 0; page < CyclePages::kPageCount; ++page)
    m_tab->addTab(new QWidget, QStringLiteral("Page%1").arg(page + 1));
  for (const CommandEntry& entry : CommandTable) {
    if (*entry.name == '\0') break;  // the terminator
    m_commandList->addItem(T(entry.name));
  }
  m_commandList->setCurrentRow(0);
  RefreshPageList();
  SelectRow(0);
  connect(m_tab, &QTabWidget::currentChanged, this, &CCyclePopupDlg::OnTabChange);
  m_commandList->setFocus();
}

// Controls in template order, which is also the order the keyboard takes.
void CCyclePopupDlg::BuildControls() {
  DialogUnits units(font());
  setFixedSize(units.ToPixels(267, 275));
  m_commandList = NewList(this, "commandList");
  units.Place(m_commandList, 7, 32, 90, 160);
  m_pageList = NewList(this, "pageList");
  units.Place(m_pageList, 163, 32, 90, 160);
  // Names for a screen reader where the arrows and marks of a button's
  // text point at things on screen.
  struct ButtonPlan {
    const char* name;
    const char* text;
    const char* accessibleName;
    QRect at;
    void (CCyclePopupDlg::*handler)();
  };
  const ButtonPlan buttons[] = {
      {"add", "追加→○", "追加", {114, 33, 40, 32}, &CCyclePopupDlg::OnAdd},
      {"delete", "×←削除", "削除", {114, 71, 40, 32}, &CCyclePopupDlg::OnDelete},
      {"moveUp", "↑上移動", "上へ移動", {114, 119, 40, 32}, &CCyclePopupDlg::OnMoveUp},
      {"moveDown", "↓下移動", "下へ移動", {114, 158, 40, 32}, &CCyclePopupDlg::OnMoveDown},
      {"exchangePrevious", "≪前ページと交換", "前ページと交換", {115, 200, 68, 16}, &CCyclePopupDlg::OnExchangePrevious},
      {"exchangeNext", "次ページと交換≫", "次ページと交換", {185, 200, 68, 16}, &CCyclePopupDlg::OnExchangeNext},
      {"reset", "※", "初期設定に戻す", {7, 200, 16, 16}, &CCyclePopupDlg::OnReset},
  };
  QList<QWidget*> order = {m_commandList, m_pageList};
  for (const ButtonPlan& plan : buttons) {
    auto* button = new QPushButton(T(plan.text), this);
    button->setObjectName(QLatin1String(plan.name));
    button->setAccessibleName(T(plan.accessibleName));
    button->setAutoDefault(false);
    units.Place(button, plan.at.x(), plan.at.y(), plan.at.width(), plan.at.height());
    connect(button, &QPushButton::clicked, this, plan.handler);
    order << button;
  }
  m_tab = new QTabWidget(this);
  m_tab->setObjectName(QStringLiteral("tab"));
  m_tab->setAccessibleName(T("ページ"));
  units.Place(m_tab, 104, 7, 157, 217);
  m_tab->lower();  // the page list and the buttons stand inside its area
  auto* ok = new QPushButton(T("オッケー！！"), this);
  ok->setObjectName(QStringLiteral("ok"));
  units.Place(ok, 180, 231, 80, 16);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* cancel = new QPushButton(T("キャンセル"), this);
  cancel->setObjectName(QStringLiteral("cancel"));
  cancel->setAutoDefault(false);
  units.Place(cancel, 212, 252, 48, 16);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  platform::MarkDefaultAndCancel(ok, cancel);
  auto* commandsLabel = new QLabel(T("メニューコマンド一覧"), this);
  commandsLabel->setBuddy(m_commandList);
  m_commandList->setAccessibleName(commandsLabel->text());  // a list is read by its own name only
  units.Place(commandsLabel, 7, 7, 73, 11);
  m_pageList->setAccessibleName(T("ページの項目"));
  units.Place(new QLabel(T("初期設定に戻す"), this), 30, 204, 68, 14);
  platform::SetTabOrder(order << m_tab << ok << cancel);
  auto* explanation = new QLabel(T(kExplanation), this);
  explanation->setObjectName(QStringLiteral("explanation"));
  explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  units.Place(explanation, 7, 232, 172, 36);
  connect(m_commandList, &QListWidget::itemDoubleClicked, this, &CCyclePopupDlg::OnAdd);
}

int CCyclePopupDlg::CurrentPage() const { return m_tab->currentIndex(); }

int CCyclePopupDlg::SelectedRow() const {
  return m_pageList->selectedItems().isEmpty() ? -1 : m_pageList->currentRow();
}

std::string& CCyclePopupDlg::Page() { return m_pages[static_cast<std::size_t>(CurrentPage())]; }

// A row past the end selects nothing.
void CCyclePopupDlg::SelectRow(int row) {
  if (row >= 0 && row < m_pageList->count()) m_pageList->setCurrentRow(row);
  else m_pageList->setCurrentRow(-1);
}

// One row a byte; a byte that names no command shows the last entry.
void CCyclePopupDlg::RefreshPageList() {
  m_pageList->clear();
  for (char stored : Page())
    m_pageList->addItem(T(CommandTable[static_cast<std::size_t>(PageItemIndex(stored))].name));
}

// Changing the tab from here tells nobody: the handlers refresh themselves.
void CCyclePopupDlg::ShowPage(int page) {
  QSignalBlocker quiet(m_tab);
  m_tab->setCurrentIndex(page);
}

void CCyclePopupDlg::OnTabChange() {
  RefreshPageList();
  SelectRow(0);
}

// The chosen command goes in above the selected row and takes its place.
void CCyclePopupDlg::OnAdd() {
  int row = std::max(SelectedRow(), 0);
  Page().insert(static_cast<std::size_t>(row), 1, EncodeCommandIndex(m_commandList->currentRow()));
  RefreshPageList();
  SelectRow(row);
}

void CCyclePopupDlg::OnDelete() {
  int row = SelectedRow();
  if (row < 0) return;
  Page().erase(static_cast<std::size_t>(row), 1);
  RefreshPageList();
  SelectRow(row == m_pageList->count() ? row - 1 : row);
}

void CCyclePopupDlg::OnMoveUp() {
  int row = SelectedRow();
  if (row <= 0) return;
  std::swap(Page()[static_cast<std::size_t>(row)], Page()[static_cast<std::size_t>(row - 1)]);
  RefreshPageList();
  SelectRow(row - 1);
}

void CCyclePopupDlg::OnMoveDown() {
  int row = SelectedRow();
  if (row < 0 || row + 1 >= static_cast<int>(Page().size())) return;
  std::swap(Page()[static_cast<std::size_t>(row)], Page()[static_cast<std::size_t>(row + 1)]);
  RefreshPageList();
  SelectRow(row + 1);
}

void CCyclePopupDlg::OnExchangePrevious() { OnExchange(-1); }
void CCyclePopupDlg::OnExchangeNext() { OnExchange(1); }

// The page being edited moves one tab over with its selection; the page
// that stood there takes its old tab.
void CCyclePopupDlg::OnExchange(int neighbour) {
  int page = CurrentPage(), other = page + neighbour;
  if (other < 0 || other >= CyclePages::kPageCount) return;
  int row = SelectedRow();
  std::swap(m_pages[static_cast<std::size_t>(page)], m_pages[static_cast<std::size_t>(other)]);
  ShowPage(other);
  RefreshPageList();
  SelectRow(row);
}

void CCyclePopupDlg::OnReset() {
  platform::MessageAnswer answer = platform::ShowMessage(
      this, {T(kResetQuestion), T(kResetCaption), platform::MessageIcon::Question, platform::MessageButtons::YesNo});
  if (answer != platform::MessageAnswer::Yes) return;
  m_pages = CyclePages::Defaults();
  ShowPage(0);
  RefreshPageList();
  SelectRow(0);
}
