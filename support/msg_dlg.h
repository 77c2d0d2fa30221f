#pragma once
// The one place where the program asks questions, reports errors and asks
// for file names. Tests answer through SetAnswerer instead of a person.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

#include "support/accessor.h"

class QWidget;

struct TMsgRequest {
  enum Kind { Question, Error, Warning, OpenFile, SaveFile, InputText, Choice };
  Kind kind;
  QString text;    // message, dialog title or input caption
  QString prompt;  // input box prompt
  QString filter;
  QString defaultExt;
  QString initialDir;
  QStringList buttons;  // the choice's buttons, in order
};

class TqelMsgDlg : private TAccessed {
 public:
  // Throws std::runtime_error("use MsgDlg accessor function") unless made by MsgDlg().
  TqelMsgDlg();
  ~TqelMsgDlg();

  // Yes/No question; dismissing it answers No.
  bool IsNo(const QString& message);
  bool IsYes(const QString& message);
  // A question with buttons of its own; returns the index of the button
  // chosen, or -1 when the box was dismissed (the last button is the
  // escape button, so list the harmless answer last).
  int Choose(const QString& message, const QStringList& buttons);
  int ShowError(const QString& message);
  int ShowWarning(const QString& message);
  // Filter in the "Description (*.ext)|*.ext" form. Returns the chosen full
  // path, or an empty text when cancelled.
  QString OpenFileDlg(const QString& title, const QString& filter, const QString& initialDir = {},
                      const QString& defaultExt = {}, bool mustExist = true);
  QString SaveFileDlg(const QString& title, const QString& filter, const QString& defaultExt,
                      bool overwritePrompt, const QString& initialDir = {});
  // One-line input box; false when cancelled.
  bool InputQuery(const QString& caption, const QString& prompt, QString& value);

  // Test seam: when set, every request is answered by the function instead
  // of a dialog. Boxes take an int modal result (mrYes, mrNo, mrOk, or mrNone
  // for a dismissed box), a choice the int index of its button; file dialogs and the input box take
  // a QString (a null QVariant means cancel).
  using Answerer = std::function<QVariant(const TMsgRequest&)>;
  static void SetAnswerer(Answerer answerer);

  // The folder file dialogs start in when the caller gives none: the
  // working folder when the program was started from a terminal, else the
  // home folder (an installed program's folder is not the user's).
  static QString DefaultFolder();
  // The folder of the archive at archivePath, or DefaultFolder() while the
  // archive has no name (or its folder is gone).
  static QString ArchiveFolder(const QString& archivePath);
};

TqelMsgDlg& MsgDlg();
