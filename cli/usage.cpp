#include "cli/usage.h"

#include <algorithm>

#include "cli/command_table.h"

namespace cli {

namespace {

constexpr const char* kGeneratorOptions =
    "  --upper --lower --digits\n"
    "                   character classes; with none of them (and no --special)\n"
    "                   uppercase, lowercase and digits are used\n"
    "  --special CHARS  also use these special characters (a character given\n"
    "                   twice is drawn twice as often)\n"
    "  --length N       number of characters, 1 to 1024 (default 16)\n"
    "  --template T     one character per template character: A a letter,\n"
    "                   C c consonant, V v vowel (upper/lower case), 9 digit,\n"
    "                   $ special character (an uppercase letter without\n"
    "                   --special); other characters give nothing\n"
    "  --words N        a passphrase of N words (1 to 20; 6 hold about 77 bits)\n"
    "                   from the EFF large word list of 7,776 words\n"
    "  --separator S    what goes between the words (default a space; no tab or\n"
    "                   line break)\n"
    "  --capitals       each word with a capital first letter\n"
    "  --digit          a random digit after one of the words\n";

constexpr const char* kChangeOptions =
    "\n"
    "Saving:\n"
    "  --backups N  keep N earlier versions of the archive beside it (0 keeps\n"
    "               none; default: the window's Options, else 1)\n"
    "  --useini     take that default from vornix.ini beside the program, as the\n"
    "               window started with -useini does\n"
    "  --force      change an archive that holds other members but no site list\n"
    "               (no member Data): one is added, its password asked for twice\n"
    "               before any other\n"
    "While another program changes the archive, the command waits for it, up to\n"
    "10 seconds, then fails with status 1.\n";

constexpr const char* kGeneralHead =
    "NAME\n"
    "    vornix-cli - read and change Vornix password archives from a terminal\n"
    "\n"
    "SYNOPSIS\n"
    "    vornix-cli COMMAND ARCHIVE [options]\n"
    "    vornix-cli generate [options]\n"
    "    vornix-cli COMMAND --help\n"
    "\n"
    "DESCRIPTION\n"
    "    Works on the same archive files as the Vornix window: a ZIP file whose\n"
    "    member Data holds one line per site. Changes are saved through a new\n"
    "    file that replaces the old one only when it is complete; the file keeps\n"
    "    its permissions, and earlier versions are kept beside it (--backups).\n"
    "    A failed or refused command writes nothing. A command that changes an\n"
    "    archive asks for its passwords first, then locks the archive, reads it\n"
    "    again, changes and saves it; a second command changing the same archive\n"
    "    meanwhile waits for it, up to 10 seconds.\n"
    "\n"
    "COMMANDS\n";

constexpr const char* kGeneralTail =
    "PASSWORDS\n"
    "    On a terminal, passwords are typed without echo; a wrong archive\n"
    "    password may be typed again, three times in all, and an empty one gives\n"
    "    up. When standard input is not a terminal, every password the command\n"
    "    needs is read from the next line of standard input, in this order: the\n"
    "    archive password (only when the archive is encrypted), then the new\n"
    "    password and its confirmation (create and passwd unless --no-password,\n"
    "    and a site list added by --force), then the site password (add without --generate, edit\n"
    "    --ask-password). Each archive password is tried as UTF-8 and, failing\n"
    "    that, as Windows-1252, so archives made on Windows open (a hardened\n"
    "    archive's as UTF-8 only). A changed\n"
    "    archive is saved with the password bytes that opened it, and with the\n"
    "    encryption it had.\n"
    "\n"
    "SITES\n"
    "    SITE matches site names regardless of letter case. A site name cannot\n"
    "    be empty or hold \"=\"; the site name, user name, password and URL cannot\n"
    "    hold a tab or a line break. Leading and trailing blanks are removed.\n"
    "    Put \"--\" before a site name that starts with \"-\".\n"
    "\n"
    "EXIT STATUS\n"
    "    0   success\n"
    "    1   other errors: a missing or unreadable file, no or several matching\n"
    "        sites, passwords that differ, a file that cannot be written, an\n"
    "        archive another program kept changing for 10 seconds\n"
    "    2   wrong or missing archive password; also an encrypted archive whose\n"
    "        data fails after the password passed its first check (a wrong\n"
    "        password or a damaged archive: the message says which check failed),\n"
    "        or one whose password another program changed during the command\n"
    "    3   not an archive the program can read (an empty file is none), a\n"
    "        damaged unencrypted one, a site list too large to be real, or an\n"
    "        archive without a site list that a command would change (--force)\n"
    "    64  wrong command line (the usage follows the message)\n"
    "    65  refused data: a field the archive cannot hold, a malformed CSV file,\n"
    "        a site list too large to save\n"
    "\n"
    "EXAMPLES\n"
    "    vornix-cli create keys.zip\n"
    "    vornix-cli add keys.zip Bank --user joe --generate --length 20\n"
    "    vornix-cli show keys.zip bank --field password\n"
    "    printf 'secret\\n' | vornix-cli list keys.zip\n";

// "    NAME ARGS   what it does", the descriptions in one column.
std::string CommandList() {
  constexpr std::size_t kIndent = 4;
  constexpr std::size_t kSummaryColumn = 33;
  std::string list;
  for (const TCommand& command : Commands()) {
    std::string line(kIndent, ' ');
    line += command.synopsis;
    line.resize(std::max(kSummaryColumn, line.size() + 2), ' ');
    list += line;
    list += command.summary;
    list += '\n';
  }
  return list + '\n';
}

}  // namespace

std::string GeneralUsage() { return kGeneralHead + CommandList() + kGeneralTail; }

std::string CommandUsage(std::string_view name) {
  const TCommand* command = FindCommand(name);
  if (command == nullptr) return GeneralUsage();
  std::string usage(command->usage);
  if (command->generatorOptions) usage += kGeneratorOptions;
  if (command->changesArchive) usage += kChangeOptions;
  if (command->formatNames) usage += "\nFormats (--format F): " + command->formatNames("|") + "\n";
  return usage;
}

}  // namespace cli
