#pragma once
// Random bytes for salts, encryption headers and unguessable names.

#include <cstddef>

// Fills the buffer from the operating system's cryptographic source; throws
// std::runtime_error when the source fails.
void SecureRandomBytes(void* buffer, std::size_t size);
