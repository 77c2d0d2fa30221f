#pragma once
// A test seam in the safe save: when set, called with the full path of the
// temporary file right after it was created, before anything is written to
// it. Tests use it to interfere with the save as another program would.

#include <functional>
#include <string>

std::function<void(const std::string& tempPath)>& SafeSaveTempCreatedHook();
