#include "CKb_zeva3App.h"

#include "SettingsLocation.h"

CKb_zeva3App::CKb_zeva3App(int& argc, char** argv)
    : QApplication(argc, argv), m_profile(SettingsFilePath(applicationDirPath().toStdString())) {
  setApplicationName(QStringLiteral("Kaboma Edit 3"));
}

CKb_zeva3App* CKb_zeva3App::Instance() { return qobject_cast<CKb_zeva3App*>(QCoreApplication::instance()); }
