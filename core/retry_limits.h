#pragma once
// How often a person is asked again for a password that did not open an
// archive: the window's open-password dialog and a terminal prompt alike.

inline constexpr int kRetryPrompts = 3;
