#pragma once
// The passphrase words: the EFF large word list (7,776 lowercase words, four
// of them with a hyphen), (c) 2016 Electronic Frontier Foundation, CC-BY-3.0.
// The list is embedded at build time, so no file is read at run time.

#include <cstddef>
#include <span>
#include <string_view>

// The credit the list's licence asks for, where the program names its parts.
inline constexpr const char* kWordListCredit = "Word list \u00A9 2016 EFF, CC BY 3.0";
inline constexpr const char* kWordListCreditLong =
    "Passphrases use the EFF large word list, \u00A9 2016 Electronic Frontier Foundation, "
    "licensed under CC BY 3.0 (https://creativecommons.org/licenses/by/3.0/).";

// Five dice choose one word: 6^5 words.
inline constexpr std::size_t kPassphraseWordCount = 7776;

std::span<const std::string_view> PassphraseWords();
