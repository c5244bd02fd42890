#include "QuickTile.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "ModalSeam.h"
#include "ProfileFile.h"
#include "Strings.h"
#include "UiText.h"
#include "WindowPlacement.h"

namespace {

constexpr const char* kRegisterQuestion = "クイックタイルに現在の\n窓の配置を登録しますか？";

QSize PrimaryScreenSize() {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().size() : QSize(1024, 768);
}

}  // namespace

QRect QuickTile::Stored(const ProfileFile& profile, QSize screenSize) {
  int width = profile.GetProfileInt("Size", "TileSizeX", 640);
  int height = profile.GetProfileInt("Size", "TileSizeY", 480);
  int x = profile.GetProfileInt("Position", "TilePosX", (screenSize.width() - width) / 2);
  int y = profile.GetProfileInt("Position", "TilePosY", (screenSize.height() - height) / 2);
  return QRect(QPoint(x, y), AtLeastVisible(QSize(width, height)));
}

void QuickTile::Recall(QWidget& window, const ProfileFile& profile, QMargins normalFrame) {
  window.showNormal();
  window.setGeometry(Stored(profile, PrimaryScreenSize()).marginsRemoved(normalFrame));
}

void QuickTile::Register(QWidget& window, ProfileFile& profile, QMargins normalFrame) {
  // A maximised or minimised window reaches its normal placement only once
  // the platform has answered: take that placement as the window knows it.
  QRect normal = window.isMaximized() || window.isMinimized() ? window.normalGeometry() : window.geometry();
  window.showNormal();  // before the question, whatever the answer
  platform::MessageAnswer answer =
      platform::ShowMessage(&window, {T(kRegisterQuestion), T(strings::kAppTitle), platform::MessageIcon::Question,
                                      platform::MessageButtons::YesNo});
  if (answer != platform::MessageAnswer::Yes) return;
  QRect outer = normal.marginsAdded(normalFrame);
  profile.WriteProfileInt("Position", "TilePosX", outer.left());
  profile.WriteProfileInt("Position", "TilePosY", outer.top());
  profile.WriteProfileInt("Size", "TileSizeX", outer.width());
  profile.WriteProfileInt("Size", "TileSizeY", outer.height());
}
