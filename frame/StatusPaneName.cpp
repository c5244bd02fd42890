#include "StatusPaneName.h"

#include "CommandIds.h"

namespace {

const char* KindOf(int paneId) {
  switch (paneId) {
    case ids::kPaneSize: return "サイズ";
    case ids::kPaneLine: return "行";
    case ids::kPaneCodes: return "漢字コード";
    case ids::kPaneMode: return "入力モード";
    case ids::kPaneDate: return "日付";
    case ids::kPaneTime: return "時刻";
    default: return nullptr;
  }
}

}  // namespace

QString StatusPaneName(int paneId, const QString& shown) {
  if (paneId == ids::kPaneModified)
    return shown == QStringLiteral("●") ? QStringLiteral("変更あり") : QStringLiteral("変更なし");
  const char* kind = KindOf(paneId);
  return kind ? QString::fromUtf8(kind) + QLatin1Char(' ') + shown : shown;
}
