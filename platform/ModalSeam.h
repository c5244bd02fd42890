#pragma once

// Every message box and modal dialog of the program goes through here, so
// that tests can answer them: each kind has a handler that a test installs
// (and removes again with an empty function); without one the desktop's own
// box or dialog is shown.

#include <QColor>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QDialog;
class QMessageBox;
class QUrl;
class QWidget;

namespace platform {

enum class MessageIcon { Stop, Exclamation, Information, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct MessageRequest {
  QString text;
  QString caption;
  MessageIcon icon;
  MessageButtons buttons;
};

// The font dialog's choice: face, size in tenths of a point, weight (400
// normal, 700 bold), effects and the text colour.
struct FontChoice {
  QString face;
  int pointSizeTenths = 120;
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  QColor colour = Qt::black;
  bool operator==(const FontChoice&) const = default;
};

MessageAnswer ShowMessage(QWidget* owner, const MessageRequest& request);
// The box ShowMessage shows when no handler is installed.
std::unique_ptr<QMessageBox> BuildMessageBox(QWidget* owner, const MessageRequest& request);
// One dialog for face, size, style, effects and the text colour.
std::optional<FontChoice> ChooseFont(QWidget* parent, const FontChoice& initial);
// `title` says what the colour is for.
std::optional<QColor> ChooseColour(QWidget* parent, const QColor& initial, const QString& title);
// A path to save to, or nothing when the user cancels. `filters` as the file
// dialog takes them, the first selected; `defaultSuffix` (without its dot)
// is added to a typed name that has none.
std::optional<QString> ChooseSavePath(QWidget* parent, const QString& suggested, const QStringList& filters = {},
                                      const QString& defaultSuffix = {});
// A file to open; `filters` as the file dialog takes them, the first
// selected; the dialog starts in `folder` (the working folder when empty).
std::optional<QString> ChooseOpenPath(QWidget* parent, const QStringList& filters, const QString& folder = QString());
// Runs a modal dialog of the program's own; returns its result code.
int ExecDialog(QDialog& dialog);
// Shows the modal window of a long command's progress, which the command
// keeps up itself while it works (no event loop of the window's own).
void ShowProgressWindow(QDialog& window);
// Starts a program as a process of its own, without a shell.
bool StartProgram(const QString& program, const QStringList& arguments);
// Opens a file or web page with the desktop's default handler for it.
bool OpenWithDesktop(const QUrl& url);

using MessageHandler = std::function<MessageAnswer(const MessageRequest&)>;
using FontHandler = std::function<std::optional<FontChoice>(const FontChoice&)>;
using ColourHandler = std::function<std::optional<QColor>(const QColor&)>;
using SavePathHandler = std::function<std::optional<QString>(const QString&)>;
using OpenPathHandler = std::function<std::optional<QString>(const QStringList& filters)>;
using DialogHandler = std::function<int(QDialog&)>;
// Called where the progress window would show; the window stays hidden.
using ProgressWindowHandler = std::function<void(QDialog&)>;
using ProgramHandler = std::function<bool(const QString&, const QStringList&)>;
using DesktopHandler = std::function<bool(const QUrl&)>;

void SetMessageHandler(MessageHandler handler);
void SetFontHandler(FontHandler handler);
void SetColourHandler(ColourHandler handler);
void SetSavePathHandler(SavePathHandler handler);
void SetOpenPathHandler(OpenPathHandler handler);
void SetDialogHandler(DialogHandler handler);
void SetProgressWindowHandler(ProgressWindowHandler handler);
void SetProgramHandler(ProgramHandler handler);
void SetDesktopHandler(DesktopHandler handler);

}  // namespace platform
