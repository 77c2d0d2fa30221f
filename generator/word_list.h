#pragma once
// The passphrase words: the EFF large word list (7,776 lowercase words, four
// of them with a hyphen), (c) 2016 Electronic Frontier Foundation, CC-BY-3.0.
// The list is embedded at build time, so no file is read at run time.

#include <cstddef>
#include <span>
#include <string_view>

// Five dice choose one word: 6^5 words.
inline constexpr std::size_t kPassphraseWordCount = 7776;

std::span<const std::string_view> PassphraseWords();
