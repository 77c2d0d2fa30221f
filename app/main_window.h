#pragma once
// TfrmMain: the program's main window. It owns the current archive's working
// data (the list box entries with their records, the site list last read or
// written, the archive password and path) and runs the edit, archive, Help
// and shortcut commands.

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/crypto/zip_encryption.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QStatusBar;
class QToolButton;
class TArchiveWatch;
class TAutoLock;
class TLockPanel;
class TFindBox;
enum class IconRole;
class TMemoryStream;
class TPathLabel;
class TSiteListBox;
class TZipReader;
class TqelPwList;
class TqelPwRec;

class TfrmMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit TfrmMain(QWidget* parent = nullptr);
  ~TfrmMain() override;

  // The current archive's full path (the status bar shows it, shortened in
  // the middle when it does not fit).
  QString ArchivePath() const;
  void SetArchivePath(const QString& path);
  // The modified state is the enabled state of the Save command.
  bool IsModified() const;
  void SetModified(bool flag);
  // The password the archive is written with (and the last one entered).
  const QString& ArchivePassword() const { return FArchivePW; }

  // List box operations used by the archive commands.
  void ClearSiteList();
  void FillSiteList();

  // Edit commands.
  void mmiAddClick();
  void mmiModifyClick();
  void mmiDeleteClick();
  void lbxSiteListKeyPress(QChar key);
  void mmiGenPWClick();
  void mmiExitClick();
  // The selected site's user name, password or URL (copy_commands.cpp).
  void mmiCopyUserClick();
  void mmiCopyPWClick();
  void mmiOpenURLClick();

  // Archive commands.
  void mmiFileNewClick();
  void mmiFileOpenClick();
  void ReopenClick(QAction* entry);
  void mmiFileSaveClick();
  void mmiFileSaveAsClick();
  void mmiFileCloseClick();
  void mmiNewPWClick();
  void mmiImportClick();
  // Sites from and to the files of other password keepers.
  void mmiImportCsvClick();
  void mmiExportCsvClick();
  // Opens the first argument that names an existing file.
  void OpenCommandLineArchive(const QStringList& arguments);

  // Help commands and the desktop launcher.
  void ShellOpen(const QString& address);
  void mmiVerChkClick();
  void mmiWebClick();
  void mmiEmailClick();
  void mmiAboutClick();
  void mmiShortcutClick();

  // Locking the window and the options (lock_command.cpp).
  void mmiLockClick();
  void mmiOptionsClick();
  bool IsLocked() const { return FLocked; }
  // Seam for tests: the automatic lock, to give it a clock and check it.
  TAutoLock& AutoLock() { return *FAutoLock; }

  // Seam for tests and benchmarks: asks for an archive's password instead of
  // the open-password dialog. Same contract as ExecuteOpenPW.
  using PasswordPrompt = std::function<int(QString& password)>;
  void SetOpenPasswordPrompt(PasswordPrompt prompt);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Building the controls (main_window_ui.cpp).
  void BuildMenus();
  QAction* AddCommand(QMenu* menu, const char* name, const QString& caption,
                      void (TfrmMain::*handler)());
  void BuildToolbar();
  QToolButton* AddSpeedButton(const char* name, int left, const QString& hint, IconRole icon,
                              void (TfrmMain::*handler)());
  void AddSeparator(const char* name, int left);
  void BuildListAndStatusBar();
  // The find box, the copy commands and the list's menu (find_ui.cpp).
  void BuildFindAndCopy();
  void FindAccept();
  void ShowSiteMenu(const QPoint& pos);
  TqelPwRec* SelectedRecord() const;
  void RunCommand(void (TfrmMain::*handler)());
  std::function<void(QAction*)> ReopenHandler();

  // Form events.
  void FormCreate();
  void FormShow();
  void FormDestroy();

  // Archive reading and writing (archive_commands.cpp, archive_io.cpp).
  struct TMemberRead {
    std::string data;
    TEncryption encryption = TEncryption::None;
    bool found = false;       // the archive has a member "Data"
    bool hasMembers = false;  // the archive has any member at all
  };
  void OpenCurrentArchive();
  void ReadArchive(const QString& path);
  std::unique_ptr<TqelPwList> ReadOtherArchive(const QString& path);
  TMemberRead ReadDataMember(const QString& path, const std::string& firstPassword);
  void ArchiveItemFailure();
  void RetryExtract(const std::string& password);
  void AbandonRead();
  // False when the user cancelled the save at the outside-change question.
  bool WriteArchive(const QString& path);
  // Returns what the save could not do (a backup), to be shown once the
  // lock is let go.
  std::vector<std::string> WriteLocked(const QString& path);
  void CollectSites();
  void AddToReopen(const QString& path);
  void ShowEncryption(TEncryption encryption);
  TEncryption WriteEncryption() const;

  // Changes made to the archive file by other programs (outside_change.cpp).
  // The answers to the outside-change question, in button order.
  enum OutsideChoice { kOutsideMerge, kOutsideOverwrite, kOutsideCancel };
  int AskAboutOutsideChange(const QString& path);
  bool MergeDiskVersion(const QString& path);
  std::optional<TMemberRead> ReadKeepingArchive(const QString& path);
  void ArchiveTouched();
  void ReReadArchive();
  void RefillKeepingSelection();

  // Locking (lock_command.cpp).
  void BuildLock();
  bool CanLock() const;
  QString LockBlocker() const;
  void LockNow();
  void Unlock(const QString& password);
  std::optional<TMemberRead> ReadForUnlock(const QString& path, const QString& password);
  void ShowLocked(bool locked);
  void UpdateLockCommand();

  // Controls (owned by the window through Qt parenthood).
  QMenu* mmiFile = nullptr;
  QMenu* mmiEdit = nullptr;
  QMenu* mmiTools = nullptr;
  QMenu* mmiHelp = nullptr;
  QMenu* mmiReopen = nullptr;
  QAction* mmiFileSave = nullptr;
  QFrame* pnlToolbar = nullptr;
  QToolButton* spbFileSave = nullptr;
  TSiteListBox* lbxSiteList = nullptr;
  QStatusBar* StatusBar = nullptr;
  TPathLabel* lblStatusText = nullptr;
  QLabel* lblEncryption = nullptr;
  QAction* mmiLock = nullptr;
  TLockPanel* pnlLocked = nullptr;
  QLabel* lblLockWaiting = nullptr;
  TAutoLock* FAutoLock = nullptr;
  bool FLocked = false;
  // The commands the lock disabled, enabled again by the unlock.
  QList<QPointer<QAction>> FLockedCommands;
  TFindBox* edtFind = nullptr;
  QMenu* pmnSiteList = nullptr;

  // Archive state.
  QString FArchivePath;
  std::unique_ptr<TqelPwList> FSites;
  QString FArchivePW;
  // What the next save writes when there is a password: Traditional or
  // Aes256.
  TEncryption FEncryption = TEncryption::Traditional;
  // A new password was set: its save removes the backups that keep the old.
  bool FPasswordChanged = false;
  // The last save was cancelled at the outside-change question.
  bool FSaveCancelled = false;
  TArchiveWatch* FWatch = nullptr;
  int FPWTries = 0;
  std::unique_ptr<TZipReader> FReader;
  std::unique_ptr<TMemoryStream> FDataStream;
  // The Windows-1252 form of the password just entered, still to be tried
  // before the next prompt (archives from the original platform).
  std::optional<std::string> FLegacyPassword;
  // An abandoned read leaves the current archive alone (Import, Merge,
  // re-reading after an outside change) instead of starting a new one.
  bool FReadingOther = false;
  bool FReadAbandoned = false;
  PasswordPrompt FOpenPasswordPrompt;

  bool FShown = false;
  bool FDestroyed = false;
};
