#pragma once
// Overwriting secrets before their memory is released, so that a locked
// window leaves no site data or password behind in freed heap blocks.

#include <string>

// Overwrites every byte of the string's storage, then empties it.
void WipeString(std::string& text);
