#pragma once
// Texts the main window shows in more than one place.

inline constexpr char kSaveQuestion[] = "The current archive has been modified.  Save changes?";
inline constexpr char kArchiveFilter[] = "Vornix files (*.zip)|*.zip";

// The question before sites are saved into an archive without a password,
// and its answers in order.
inline constexpr char kPlainSaveQuestion[] =
    "The archive %1 has no password: anyone who gets the file reads every password in it.";
inline constexpr char kSetPasswordAnswer[] = "Set password";
inline constexpr char kSavePlainAnswer[] = "Save without password";
inline constexpr char kCancelAnswer[] = "Cancel";
enum TPlainSaveAnswer { kPlainSetPassword = 0, kPlainSave = 1, kPlainCancel = 2 };
