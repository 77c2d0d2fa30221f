#pragma once
// Hands an address to the desktop's URL handler; failures are not reported.

#include <QString>
#include <functional>

void ShellOpen(const QString& address);
// Test seam: receives every address instead of the desktop.
void SetShellOpener(std::function<void(const QString&)> opener);
