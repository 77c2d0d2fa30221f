#pragma once
// Hands an address to the desktop's URL handler.

#include <QString>
#include <functional>

// False when the desktop has no program that took the address.
bool ShellOpen(const QString& address);
// Test seams: receive every address instead of the desktop; the first
// always takes it, the second tells whether it did.
void SetShellOpener(std::function<void(const QString&)> opener);
void SetCheckedShellOpener(std::function<bool(const QString&)> opener);
