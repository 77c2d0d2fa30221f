#include "cli/command_table.h"

#include "cli/command_archive.h"
#include "cli/command_context.h"
#include "cli/gen_options.h"
#include "interchange/site_formats.h"

namespace cli {

std::vector<TOptionDef> TCommand::AllOptions() const {
  std::vector<TOptionDef> all = options;
  if (generatorOptions) {
    for (TOptionDef& def : GeneratorOptionDefs()) all.push_back(std::move(def));
  }
  if (changesArchive) {
    for (TOptionDef& def : ChangeOptionDefs()) all.push_back(std::move(def));
  }
  return all;
}

const std::vector<TCommand>& Commands() {
  static const std::vector<TCommand> commands = {
      {.name = "list",
       .synopsis = "list ARCHIVE",
       .summary = "the site names, one per line",
       .usage = "Usage: vornix-cli list ARCHIVE\n"
                "\n"
                "Writes the site names, one per line, in the archive's sorted order.\n",
       .run = RunList},
      {.name = "show",
       .synopsis = "show ARCHIVE SITE",
       .summary = "one site's fields (--field F: that field only)",
       .usage = "Usage: vornix-cli show ARCHIVE SITE [--field site|user|password|url|notes]\n"
                "\n"
                "Shows every site named SITE (letter case does not matter): its name, user\n"
                "name, password, URL and notes, the notes with real line breaks. Several\n"
                "sites are separated by an empty line.\n"
                "\n"
                "  --field F   write only that field of each site, with no label, followed\n"
                "              by a line break (for scripts)\n",
       .options = {{"field", true}},
       .run = RunShow},
      {.name = "totp",
       .synopsis = "totp ARCHIVE SITE",
       .summary = "the site's current one-time code",
       .usage = "Usage: vornix-cli totp ARCHIVE SITE [--seconds] [--which N]\n"
                "\n"
                "Writes the current time-based one-time code (RFC 6238) of the site named\n"
                "SITE. The site's notes hold it on a line of its own: an otpauth://totp/\n"
                "URI, or \"TOTP: \" followed by such a URI or a Base32 secret (SHA-1,\n"
                "6 digits, 30 seconds).\n"
                "\n"
                "  --seconds   also write the seconds the code stays valid: \"123456 17\"\n"
                "  --which N   when several sites have that name, use the N-th of them\n",
       .options = {{"seconds", false}, {"which", true}},
       .run = RunTotp},
      {.name = "report",
       .synopsis = "report ARCHIVE",
       .summary = "sites with empty, weak, reused or old passwords",
       .usage = "Usage: vornix-cli report ARCHIVE [--show-passwords]\n"
                "\n"
                "Lists the sites whose password is empty, weak, used by other sites too\n"
                "(in groups of sites that share one), or unchanged for more than a year\n"
                "where the archive records when it changed; each site with the date of\n"
                "its last change, or \"unknown\". Passwords are not shown.\n"
                "\n"
                "  --show-passwords   show each listed site's password too\n",
       .options = {{"show-passwords", false}},
       .run = RunReport},
      {.name = "dump",
       .synopsis = "dump ARCHIVE",
       .summary = "the member Data as stored",
       .usage = "Usage: vornix-cli dump ARCHIVE\n"
                "\n"
                "Writes the archive's member Data, decrypted and inflated, exactly as stored:\n"
                "one site line per site, each ending in CR LF.\n",
       .run = RunDump},
      {.name = "info",
       .synopsis = "info ARCHIVE",
       .summary = "encryption, number of sites and members",
       .usage = "Usage: vornix-cli info ARCHIVE\n"
                "\n"
                "Describes the archive: how its site list is encrypted (none, traditional,\n"
                "AES-128, AES-192, AES-256 or AES-256 hardened), how many sites it holds,\n"
                "and its members in their stored order, one per line:\n"
                "\n"
                "  Encryption: AES-256\n"
                "  Sites: 12\n"
                "  Members: 2\n"
                "    Data\n"
                "    notes.txt\n"
                "\n"
                "The password is asked for only when the site list is encrypted.\n",
       .run = RunInfo},
      {.name = "zip-password",
       .synopsis = "zip-password ARCHIVE",
       .summary = "the key that opens a hardened archive in other ZIP tools",
       .usage = "Usage: vornix-cli zip-password ARCHIVE\n"
                "\n"
                "Asks for the password of a hardened archive and writes the ZIP password\n"
                "its members are encrypted with: 64 hex digits derived from the password\n"
                "with Argon2id. 7-Zip, bsdtar and WinZip open every member with it\n"
                "(7z x -pKEY keys.zip); they do not open them with the password itself.\n"
                "Anyone who has the key reads the archive: keep it as secret as the\n"
                "password.\n",
       .run = RunZipPassword},
      {.name = "add",
       .synopsis = "add ARCHIVE SITE",
       .summary = "add a site (--user --url --notes --generate)",
       .usage = "Usage: vornix-cli add ARCHIVE SITE [--user U] [--url L] [--notes N]\n"
                "                      [--generate [generator options]] [--backups N]\n"
                "                      [--force]\n"
                "\n"
                "Adds a site and saves the archive. The site's password is asked for like\n"
                "the archive password (after it), unless --generate makes one.\n"
                "\n"
                "  --user U      user name\n"
                "  --url L       the site's address\n"
                "  --notes N     notes; may hold line breaks\n"
                "  --generate    generate the password; the generator options are:\n",
       .options = {{"user", true}, {"url", true}, {"notes", true}, {"generate", false}},
       .generatorOptions = true,
       .changesArchive = true,
       .run = RunAdd},
      {.name = "edit",
       .synopsis = "edit ARCHIVE SITE",
       .summary = "change a site's fields",
       .usage = "Usage: vornix-cli edit ARCHIVE SITE [--rename NEW] [--user U] [--url L]\n"
                "                       [--notes N] [--ask-password | --generate [options]]\n"
                "                       [--which N] [--backups N] [--force]\n"
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
                "  --generate      generate a new password; the generator options are:\n",
       .options = {{"rename", true},
                   {"user", true},
                   {"url", true},
                   {"notes", true},
                   {"ask-password", false},
                   {"generate", false},
                   {"which", true}},
       .generatorOptions = true,
       .changesArchive = true,
       .run = RunEdit},
      {.name = "rm",
       .synopsis = "rm ARCHIVE SITE",
       .summary = "remove a site",
       .usage = "Usage: vornix-cli rm ARCHIVE SITE [--which N] [--backups N] [--force]\n"
                "\n"
                "Removes the site named SITE and saves the archive.\n"
                "\n"
                "  --which N   when several sites have that name, remove the N-th of them\n",
       .options = {{"which", true}},
       .changesArchive = true,
       .run = RunRemove},
      {.name = "generate",
       .synopsis = "generate",
       .summary = "make a password",
       .usage = "Usage: vornix-cli generate [generator options]\n"
                "\n"
                "Writes one password made from the operating system's cryptographic\n"
                "random source.\n"
                "\n"
                "Options:\n",
       .generatorOptions = true,
       .run = RunGenerate},
      {.name = "strength",
       .synopsis = "strength",
       .summary = "how long a password takes to guess",
       .usage = "Usage: vornix-cli strength [--encryption E]\n"
                "\n"
                "Reads a password (typed without echo on a terminal, else the first line\n"
                "of standard input) and writes its estimated strength in bits (below 33 it\n"
                "is weak), then, for each encryption, the expected time for one current\n"
                "GPU to guess it. The traditional encryption can be broken without the\n"
                "password (a known-plaintext attack), whatever the password.\n"
                "\n"
                "  --encryption E  only this one: traditional, aes128, aes192, aes256,\n"
                "                  \"aes256 hardened\" or none\n",
       .options = {{"encryption", true}},
       .run = RunStrength},
      {.name = "passwd",
       .synopsis = "passwd ARCHIVE",
       .summary = "set a new archive password",
       .usage = "Usage: vornix-cli passwd ARCHIVE [--encryption aes256|hardened|traditional]\n"
                "                         [--no-password] [--backups N] [--force]\n"
                "\n"
                "Asks for a new archive password twice and saves the archive with it. An\n"
                "empty new password is refused: anyone who gets the file would read every\n"
                "password. --no-password asks for none and saves the archive unencrypted.\n"
                "Only the site list (the member Data) is encrypted anew: other members\n"
                "keep their own encryption and password. Once the archive is saved, its\n"
                "backups are removed, since they would keep the old password alive.\n"
                "\n"
                "  --encryption E  encrypt the site list with E from now on (it stays as it\n"
                "                  is when not given):\n"
                "                  traditional  opens in every ZIP tool\n"
                "                  aes256       7-Zip, WinZip and bsdtar; much stronger\n"
                "                  hardened     AES-256 with a key derived by Argon2id\n"
                "                               (256 MiB): far slower to guess; other\n"
                "                               tools need the key of zip-password\n",
       .options = {{"encryption", true}, {"no-password", false}},
       .changesArchive = true,
       .run = RunPasswd},
      {.name = "export",
       .synopsis = "export ARCHIVE --csv FILE|-",
       .summary = "write the sites as CSV or for another keeper",
       .usage = "Usage: vornix-cli export ARCHIVE --csv FILE|- [--format F]\n"
                "\n"
                "Writes the sites as CSV (RFC 4180) to FILE, or to standard output for \"-\".\n"
                "The first record is the header site,user,password,url,notes; notes keep\n"
                "their line breaks (LF) inside quoted fields. FILE must not exist yet; it\n"
                "is created readable by its owner only, since it holds the passwords in\n"
                "clear text. Fields are written as they are, even those a spreadsheet\n"
                "would take for a formula. For another keeper, a name's prefix \"A/B/\"\n"
                "becomes the folder or group path and the notes' TOTP line (\"TOTP: ...\"\n"
                "or an otpauth:// URI) the entry's own one-time password.\n"
                "\n"
                "  --format F  vornix       the CSV above (the default)\n"
                "              keepass-xml  KeePass 2 XML: keepassxc-cli import -p FILE new.kdbx\n"
                "                           makes a new KeePassXC database of it\n"
                "              bitwarden    Bitwarden's CSV\n",
       .options = {{"csv", true}, {"format", true}},
       .run = RunExport,
       .formatNames = interchange::ExportFormatNames},
      {.name = "import",
       .synopsis = "import ARCHIVE --csv FILE",
       .summary = "add the sites of another keeper's export",
       .usage = "Usage: vornix-cli import ARCHIVE --csv FILE [--format F] [--fix]\n"
                "       [--ignore-columns] [--backups N] [--force]\n"
                "\n"
                "Adds the sites of an export file to the archive and saves it. The format\n"
                "is recognised from the file: export's own CSV (site,user,password,url,\n"
                "notes), the CSV export of KeePassXC, Bitwarden, Chrome and Chromium,\n"
                "Firefox, LastPass, Proton Pass, 1Password or Dashlane (its header must\n"
                "match the format's columns), KeePass 2 XML or Bitwarden's unencrypted\n"
                "JSON. A group or folder goes before the site name (\"Banking/Bank\"), a\n"
                "TOTP secret into the notes as a line \"TOTP: ...\", and what a site has\n"
                "no field for (custom fields, e-mail, tags) into the notes as \"name:\n"
                "value\" lines. A record without a name is named after the host of its URL.\n"
                "Passwords and notes are stored exactly as given; blanks at the ends of a\n"
                "name, user name or URL are removed and reported. A CSV file must be UTF-8,\n"
                "or Windows-1252 throughout (reported). Sites the archive already holds\n"
                "unchanged are not added twice. A record the archive cannot hold (\"=\" in\n"
                "the site name, a tab or line break in a one-line field, the password's\n"
                "ends included) refuses the whole import, unless --fix is given.\n"
                "\n"
                "  --format F        read the file as F (one of the formats below)\n"
                "  --fix             replace what a site cannot hold by blanks and report\n"
                "                    each change\n"
                "  --ignore-columns  import a CSV file even though some of its columns\n"
                "                    are read by no format, leaving them out\n",
       .options = {{"csv", true}, {"format", true}, {"fix", false}, {"ignore-columns", false}},
       .changesArchive = true,
       .run = RunImport,
       .formatNames = interchange::ImportFormatNames},
      {.name = "merge",
       .synopsis = "merge ARCHIVE [OTHER...]",
       .summary = "fold other versions or conflict copies into the archive",
       .usage = "Usage: vornix-cli merge ARCHIVE [OTHER...] [--backups N] [--force]\n"
                "\n"
                "Merges the OTHER archives into ARCHIVE and saves it, printing each site\n"
                "added, updated or deleted and each conflict. Sites either side added are\n"
                "kept, of a site both hold the newer version wins, a site deleted on one\n"
                "side goes unless it was edited later on the other, and a site edited on\n"
                "both sides keeps the newer edit and is named as a conflict. Deletions are\n"
                "known only in AES-256 archives, which record their changes.\n"
                "\n"
                "Without OTHER, merges the conflict copies that file-syncing services left\n"
                "beside ARCHIVE (keys.sync-conflict-...zip, \"keys (conflicted copy ...).zip\",\n"
                "keys_conflict-...zip) and moves each one merged into the backups, the\n"
                "newest first; conflict copies of the backups are removed. The archive's\n"
                "password is tried first, and another one asked for when it does not\n"
                "open a copy. A copy that cannot be read is left where it is and named;\n"
                "the exit status is then 1.\n",
       .changesArchive = true,
       .run = RunMerge},
      {.name = "create",
       .synopsis = "create ARCHIVE",
       .summary = "make a new, empty archive",
       .usage = "Usage: vornix-cli create ARCHIVE [--encryption aes256|hardened|traditional]\n"
                "                         [--no-password]\n"
                "\n"
                "Creates a new, empty archive (the name must end in .zip and the file must\n"
                "not exist, or be empty). The password is asked for twice; an empty one is\n"
                "refused. --no-password asks for none and makes an unencrypted archive.\n"
                "\n"
                "  --encryption E  how the site list is encrypted:\n"
                "                  traditional  opens in every ZIP tool (the default)\n"
                "                  aes256       7-Zip, WinZip and bsdtar; much stronger\n"
                "                  hardened     AES-256 with a key derived by Argon2id\n"
                "                               (256 MiB): far slower to guess; other\n"
                "                               tools need the key of zip-password\n",
       .options = {{"encryption", true}, {"no-password", false}},
       .run = RunCreate},
  };
  return commands;
}

const TCommand* FindCommand(std::string_view name) {
  for (const TCommand& command : Commands()) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

}  // namespace cli
