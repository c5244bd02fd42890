// Kaboma Edit 3: one process, one document, one main window.

#include <cstdio>

#include "CKb_zeva3App.h"
#include "CKb_zeva3Doc.h"
#include "CMainFrame.h"

int main(int argc, char** argv) {
  CKb_zeva3App app(argc, argv);
  CMainFrame frame(app.Profile());
  QStringList arguments = app.arguments();
  bool opened = arguments.size() > 1 ? frame.Document().OpenDocumentFile(arguments[1])
                                     : frame.Document().OnNewDocument();
  if (!opened && arguments.size() > 1) return 1;
  frame.show();
  return app.exec();
}
