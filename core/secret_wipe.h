#pragma once
// Overwriting secrets before their memory is released, so that a locked
// window leaves no site data or password behind in freed heap blocks.

#include <cstddef>
#include <string>

// Overwrites every byte of the string's storage, then empties it.
void WipeString(std::string& text);

// Overwrites the stack below the caller's frame. Calls that have returned
// leave what they handled there: their locals, and the vector registers the
// dynamic linker saves when it binds a library function on its first call.
void WipeUnusedStack();

// Gives the string room for at least capacity bytes, keeping its value; the
// buffer that growing releases is wiped first, so no copy of it is left.
void ReserveWiping(std::string& text, std::size_t capacity);
