#include "CyclePopupMenu.h"

#include <QAction>
#include <QMenu>

#include "CommandHost.h"
#include "CommandIds.h"
#include "CommandTable.h"
#include "CommandTexts.h"
#include "PopupMenuStyle.h"

namespace {

void AddItem(QMenu* menu, CommandHost& host, int id, const char* text) {
  auto* action = new QAction(QString::fromUtf8(text), host.HostWindow());
  action->setData(id);
  std::string_view prompt = res::CommandPrompt(id);
  action->setStatusTip(QString::fromUtf8(prompt.data(), static_cast<qsizetype>(prompt.size())));
  QObject::connect(action, &QAction::triggered, action, [&host, id] { host.RunCommand(id); });
  QObject::connect(menu, &QObject::destroyed, action, &QObject::deleteLater);
  menu->addAction(action);
}

}  // namespace

QMenu* CyclePopupMenu::Build(const std::string& page, CommandHost& host) {
  auto* menu = new QMenu(host.HostWindow());
  menu->setStyle(PopupMenuStyle::Instance());
  // Every separator the page holds is drawn, also in runs and at the ends:
  // a page of separators alone is a page on screen, not an invisible menu
  // holding the keyboard.
  menu->setSeparatorsCollapsible(false);
  if (page.empty()) AddItem(menu, host, ids::kEmptyPage, kEmptyPageText);
  for (char stored : page) {
    const CommandEntry& entry = CommandTable[static_cast<std::size_t>(PageItemIndex(stored))];
    if (IsSeparator(entry)) menu->addSeparator();
    else AddItem(menu, host, static_cast<int>(entry.id), entry.name);
  }
  host.PrepareMenu(menu);
  return menu;
}
