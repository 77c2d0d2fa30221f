#include "cli/usage.h"

#include <utility>

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
    "                   --special); other characters give nothing\n";

constexpr std::pair<std::string_view, std::string_view> kCommands[] = {
    {"list",
     "Usage: vornix-cli list ARCHIVE\n"
     "\n"
     "Writes the site names, one per line, in the archive's sorted order.\n"},
    {"show",
     "Usage: vornix-cli show ARCHIVE SITE [--field site|user|password|url|notes]\n"
     "\n"
     "Shows every site named SITE (letter case does not matter): its name, user\n"
     "name, password, URL and notes, the notes with real line breaks. Several\n"
     "sites are separated by an empty line.\n"
     "\n"
     "  --field F   write only that field of each site, with no label, followed\n"
     "              by a line break (for scripts)\n"},
    {"dump",
     "Usage: vornix-cli dump ARCHIVE\n"
     "\n"
     "Writes the archive's member Data, decrypted and inflated, exactly as stored:\n"
     "one site line per site, each ending in CR LF.\n"},
    {"add",
     "Usage: vornix-cli add ARCHIVE SITE [--user U] [--url L] [--notes N]\n"
     "                      [--generate [generator options]]\n"
     "\n"
     "Adds a site and saves the archive. The site's password is asked for like\n"
     "the archive password (after it), unless --generate makes one.\n"
     "\n"
     "  --user U      user name\n"
     "  --url L       the site's address\n"
     "  --notes N     notes; may hold line breaks\n"
     "  --generate    generate the password; the generator options are:\n"},
    {"edit",
     "Usage: vornix-cli edit ARCHIVE SITE [--rename NEW] [--user U] [--url L]\n"
     "                       [--notes N] [--ask-password | --generate [options]]\n"
     "                       [--which N]\n"
     "\n"
     "Changes the given fields of the site named SITE and saves the archive;\n"
     "fields not given stay as they are. At least one change is needed.\n"
     "\n"
     "  --rename NEW    new site name\n"
     "  --user U        new user name\n"
     "  --url L         new URL\n"
     "  --notes N       new notes; may hold line breaks\n"
     "  --ask-password  ask for the new password (like the archive password)\n"
     "  --which N       when several sites have that name, change the N-th of\n"
     "                  them (as listed in the error that names them)\n"
     "  --generate      generate a new password; the generator options are:\n"},
    {"rm",
     "Usage: vornix-cli rm ARCHIVE SITE [--which N]\n"
     "\n"
     "Removes the site named SITE and saves the archive.\n"
     "\n"
     "  --which N   when several sites have that name, remove the N-th of them\n"},
    {"generate",
     "Usage: vornix-cli generate [generator options]\n"
     "\n"
     "Writes one password made from the operating system's cryptographic\n"
     "random source.\n"
     "\n"
     "Options:\n"},
    {"passwd",
     "Usage: vornix-cli passwd ARCHIVE\n"
     "\n"
     "Asks for a new archive password twice and saves the archive with it. An\n"
     "empty new password saves the archive unencrypted, after a warning.\n"},
    {"export",
     "Usage: vornix-cli export ARCHIVE --csv FILE|-\n"
     "\n"
     "Writes the sites as CSV (RFC 4180) to FILE, or to standard output for \"-\".\n"
     "The first record is the header site,user,password,url,notes; notes keep\n"
     "their line breaks (LF) inside quoted fields. FILE must not exist yet; it\n"
     "is created readable by its owner only, since it holds the passwords in\n"
     "clear text.\n"},
    {"import",
     "Usage: vornix-cli import ARCHIVE --csv FILE\n"
     "\n"
     "Adds the sites of a CSV file (as written by export: the header\n"
     "site,user,password,url,notes in any letter case, then one record per\n"
     "site) to the archive and saves it. Sites the archive already holds\n"
     "unchanged are not added twice. A record the archive cannot hold refuses\n"
     "the whole import.\n"},
    {"create",
     "Usage: vornix-cli create ARCHIVE\n"
     "\n"
     "Creates a new, empty archive (the name must end in .zip and the file must\n"
     "not exist). The password is asked for twice; an empty one makes an\n"
     "unencrypted archive, after a warning.\n"},
};

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
    "    its permissions. A failed or refused command writes nothing.\n"
    "\n"
    "COMMANDS\n"
    "    list ARCHIVE                 the site names, one per line\n"
    "    show ARCHIVE SITE            one site's fields (--field F: that field only)\n"
    "    dump ARCHIVE                 the member Data as stored\n"
    "    add ARCHIVE SITE             add a site (--user --url --notes --generate)\n"
    "    edit ARCHIVE SITE            change a site's fields\n"
    "    rm ARCHIVE SITE              remove a site\n"
    "    generate                     make a password\n"
    "    passwd ARCHIVE               set a new archive password\n"
    "    export ARCHIVE --csv FILE|-  write the sites as CSV\n"
    "    import ARCHIVE --csv FILE    add the sites of a CSV file\n"
    "    create ARCHIVE               make a new, empty archive\n"
    "\n"
    "PASSWORDS\n"
    "    On a terminal, passwords are typed without echo; a wrong archive\n"
    "    password may be typed again, three times in all, and an empty one gives\n"
    "    up. When standard input is not a terminal, every password the command\n"
    "    needs is read from the next line of standard input, in this order: the\n"
    "    archive password (only when the archive is encrypted), then the site\n"
    "    password (add without --generate, edit --ask-password), then the new\n"
    "    password and its confirmation (create, passwd). Each archive password\n"
    "    is tried as UTF-8 and, failing that, as Windows-1252, so archives made\n"
    "    on Windows open. A changed archive is saved with the password bytes\n"
    "    that opened it.\n"
    "\n"
    "SITES\n"
    "    SITE matches site names regardless of letter case. A site name cannot\n"
    "    be empty or hold \"=\"; the site name, user name, password and URL cannot\n"
    "    hold a tab or a line break. Leading and trailing blanks are removed.\n"
    "    Put \"--\" before a site name that starts with \"-\".\n"
    "\n"
    "EXIT STATUS\n"
    "    0   success\n"
    "    1   other errors: missing file, no or several matching sites, passwords\n"
    "        that differ, a file that cannot be written\n"
    "    2   wrong or missing archive password; also an encrypted archive whose\n"
    "        data fails after the password passed its first check (a wrong\n"
    "        password or a damaged archive: the message says which check failed)\n"
    "    3   not an archive the program can read, or a damaged unencrypted one\n"
    "    64  wrong command line (the usage follows the message)\n"
    "    65  refused data: a field the archive cannot hold, a malformed CSV file\n"
    "\n"
    "EXAMPLES\n"
    "    vornix-cli create keys.zip\n"
    "    vornix-cli add keys.zip Bank --user joe --generate --length 20\n"
    "    vornix-cli show keys.zip bank --field password\n"
    "    printf 'secret\\n' | vornix-cli list keys.zip\n";

bool NeedsGeneratorOptions(std::string_view command) {
  return command == "add" || command == "edit" || command == "generate";
}

}  // namespace

std::string GeneralUsage() { return kGeneralHead; }

bool IsKnownCommand(std::string_view command) {
  for (const auto& [name, text] : kCommands) {
    if (name == command) return true;
  }
  return false;
}

std::string CommandUsage(std::string_view command) {
  for (const auto& [name, text] : kCommands) {
    if (name != command) continue;
    std::string usage(text);
    if (NeedsGeneratorOptions(command)) usage += kGeneratorOptions;
    return usage;
  }
  return GeneralUsage();
}

}  // namespace cli
