#include "AppIcons.h"

#include "Resources.h"

QIcon AppIcon(int index, int largest) {
  static const char* const kNames[] = {"kb_zeva3", "kb_zeva3-doc1", "kb_zeva3-doc2"};
  if (index < 0 || index > 2) index = 0;
  res::InitResources();
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256})
    if (size <= largest)
      icon.addFile(QStringLiteral(":/icons/png/%1/%2.png").arg(size).arg(QLatin1String(kNames[index])), QSize(size, size));
  return icon;
}
