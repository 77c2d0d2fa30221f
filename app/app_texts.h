#pragma once
// Texts the main window shows in more than one place.

inline constexpr char kSaveQuestion[] = "The current archive has been modified.  Save changes?";
inline constexpr char kArchiveFilter[] = "Vornix files (*.zip)|*.zip";
