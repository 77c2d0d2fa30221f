#pragma once
// TfrmMain: the program's main window. It shows the current archive's sites
// (the list box entries with their records) and runs the edit, archive, Help
// and shortcut commands; the archive itself (its file, password, encryption,
// change records and what its file looked like) is held by a TArchiveSession.

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
#include "core/change_date.h"
#include "core/change_records.h"
#include "core/secret_bytes.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QStatusBar;
class QToolButton;
class TArchiveLock;
class TArchiveSession;
struct TEncryptionCheck;
enum class TOutsideChange;
struct TSiteListRead;
class TArchiveWatch;
class TConflictBar;
struct TMergeOutcome;
class TAutoLock;
class TEncryptionLabel;
class TDetailsPane;
class TLockPanel;
class TFindBox;
enum class IconRole;
class TMemoryStream;
class TPathLabel;
class TSiteListBox;
class TZipReader;
class TPasswordSource;
struct TReadFailure;
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

  // The site at a glance (glance_ui.cpp, glance_commands.cpp): the details
  // pane, the one-time code, the password report.
  void mmiDetailsClick();
  void mmiCopyTotpClick();
  void mmiPasswordReportClick();
  // Where the details pane and the report take each site's last change.
  void SetChangeDates(TChangeDateFn dates);

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
  // The title names the archive and shows its modified and locked states.
  void UpdateTitle();
  // The find box, the copy commands and the list's menu (find_ui.cpp).
  void BuildFindAndCopy();
  void BuildNoMatchNote();
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
    TSecretBytes data;
    TEncryption encryption = TEncryption::None;
    bool found = false;       // the archive has a member "Data"
    bool hasMembers = false;  // the archive has any member at all
    // The change records that describe `data`, and the DOS time of "Data".
    std::optional<TChangeRecords> records;
    std::uint32_t dataTime = 0;
  };
  void OpenCurrentArchive();
  void ReadArchive(const QString& path);
  std::unique_ptr<TqelPwList> ReadOtherArchive(const QString& path);
  // One read with the window's reader and buffer, which exist only while it
  // runs; a failure abandons it (AbandonRead).
  using TSiteListReadFn = std::function<TSiteListRead(TZipReader&, TMemoryStream&)>;
  TMemberRead ReadDataMember(const QString& path, const TSiteListReadFn& read);
  // The window's own archive, through the session, shown once it opens.
  TMemberRead ReadOwnMember(const QString& path, const std::string& firstPassword);
  // Another archive, or another version of this one: nothing of it is kept.
  TMemberRead ReadOtherMember(const QString& path, const std::string& firstPassword);
  void ShowRead(const QString& path, const TMemberRead& read, const TEncryptionCheck& check);
  // The open-password prompt after a failed attempt; nothing abandons.
  std::optional<TSecretBytes> ArchiveItemFailure();
  void AbandonRead(const QString& path, const TReadFailure& failure);
  // False when the user cancelled the save at the outside-change question
  // or at the question about saving without a password.
  bool WriteArchive(const QString& path);
  // Before sites are saved without a password, once per archive in a
  // session: false when nothing is to be saved.
  bool ConfirmPlainSave(const QString& path);
  // The caller holds the archive's lock, which follows the saved file.
  // Returns what the save could not do (a backup), to be shown once the
  // lock is let go.
  // Nothing when the policy refused a file changed meanwhile.
  std::optional<std::vector<std::string>> WriteLocked(TArchiveLock& lock, TOutsideChange policy);
  void CollectSites();
  void AddToReopen(const QString& path);
  // The file on disk now has encryption (read or just written).
  void ShowEncryption(TEncryption encryption);
  TEncryption WriteEncryption() const;
  // Archives whose weaker encryption the window has warned of.
  QStringList FDowngradesTold;

  // Changes made to the archive file by other programs (outside_change.cpp).
  // The answers to the outside-change question, in button order.
  enum OutsideChoice { kOutsideMerge, kOutsideOverwrite, kOutsideCancel };
  int AskAboutOutsideChange(const QString& path);
  bool MergeDiskVersion(const QString& path);
  // Reads with the window's password first, a wrong one asked for as usual;
  // an abandoned read leaves the archive alone and gives nothing.
  std::optional<TMemberRead> ReadKeepingArchive(const QString& path, bool own);
  void ArchiveTouched();
  void ReReadArchive();
  void RefillKeepingSelection();

  // Other versions of the archive merged in: File > Merge from archive...
  // and the offer to merge a sync service's conflict copy (vault_merge.cpp).
  void mmiMergeArchiveClick();
  void BuildConflictBar();
  void OfferConflictCopies();
  void MergeConflictCopy(const QString& name);
  // Merges the archive at path into the window's sites; false when its
  // read was abandoned.
  bool MergeVersionFrom(const QString& path, bool tellAlways);
  void TellMergeOutcome(const QString& path, const TMergeOutcome& outcome, bool tellAlways);
  TConflictBar* pnlConflictCopy = nullptr;
  // Conflict copies offered once already.
  QStringList FOfferedCopies;

  // Locking (lock_command.cpp).
  void BuildLock();
  bool CanLock() const;
  QString LockBlocker() const;
  void LockNow();
  void Unlock(const QString& password);
  void ShowLocked(bool locked);
  void UpdateLockCommand();

  // The site at a glance (glance_ui.cpp) and saving by itself (lock_save.cpp).
  void BuildGlance();
  void ApplyGlanceSettings();
  void RefreshDetails();
  bool SaveBeforeAutoLock();
  void SaveChangeSoon();

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
  TEncryptionLabel* lblEncryption = nullptr;
  QAction* mmiLock = nullptr;
  TLockPanel* pnlLocked = nullptr;
  QLabel* lblLockWaiting = nullptr;
  TAutoLock* FAutoLock = nullptr;
  bool FLocked = false;
  // The commands the lock disabled, enabled again by the unlock.
  QList<QPointer<QAction>> FLockedCommands;
  // The controls the lock hid, shown again by the unlock; the others (a
  // bar with nothing to offer) stay hidden.
  QList<QPointer<QWidget>> FLockedWidgets;
  TFindBox* edtFind = nullptr;
  QLabel* lblNoMatch = nullptr;
  // The entry selected when the window was locked, selected again after
  // the unlock (an index: the site's name is not kept while locked).
  int FLockedIndex = -1;
  QMenu* pmnSiteList = nullptr;
  QAction* mmiDetails = nullptr;
  TDetailsPane* pnlDetails = nullptr;
  TChangeDateFn FChangeDates = NoChangeDates();

  // Archive state: the archive itself, the path as shown, the site list
  // while it is read or saved, and the password as the dialogs handle it.
  std::unique_ptr<TArchiveSession> FSession;
  QString FArchivePath;
  std::unique_ptr<TqelPwList> FSites;
  // The last password entered. Every change of it that is to be the
  // archive's password reaches FSession, which saves with it.
  QString FArchivePW;
  // Archives this window may save without a password: the person said so.
  QStringList FPlainSaveAllowed;
  // The last save was cancelled at the outside-change question.
  bool FSaveCancelled = false;
  TArchiveWatch* FWatch = nullptr;
  int FPWTries = 0;
  std::unique_ptr<TZipReader> FReader;
  std::unique_ptr<TMemoryStream> FDataStream;
  // An abandoned read leaves the current archive alone (Import, Merge,
  // re-reading after an outside change) instead of starting a new one.
  bool FReadingOther = false;
  bool FReadAbandoned = false;
  PasswordPrompt FOpenPasswordPrompt;

  bool FShown = false;
  bool FDestroyed = false;
};
