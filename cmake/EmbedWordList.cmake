# Writes OUTPUT, a C++ source that defines the passphrase word list, from a
# Diceware-style list (lines "11111<TAB>abacus": the second column is the
# word). Run as a script: cmake -DINPUT=... -DOUTPUT=... -P EmbedWordList.cmake
if(NOT EXISTS "${INPUT}")
  message(FATAL_ERROR "The passphrase word list ${INPUT} is missing: install the Debian package "
                      "diceware, or set VORNIX_WORD_LIST to the EFF large word list")
endif()
file(STRINGS "${INPUT}" lines)
set(body "")
set(count 0)
foreach(line IN LISTS lines)
  if(NOT line MATCHES "^[1-6]+\t([a-z][a-z-]*)$")
    message(FATAL_ERROR "${INPUT}: a line is not \"DICE<TAB>word\": \"${line}\"")
  endif()
  string(APPEND body "    \"${CMAKE_MATCH_1}\",\n")
  math(EXPR count "${count} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT} at build time; do not edit.\n"
  "#include \"generator/word_list.h\"\n\n"
  "#include <array>\n\n"
  "namespace {\n\n"
  "constexpr std::array<std::string_view, ${count}> kWords = {\n${body}};\n"
  "static_assert(kWords.size() == kPassphraseWordCount, \"not the EFF large word list\");\n\n"
  "}  // namespace\n\n"
  "std::span<const std::string_view> PassphraseWords() { return kWords; }\n")
# Unchanged output keeps its time stamp, so nothing is rebuilt for nothing.
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
