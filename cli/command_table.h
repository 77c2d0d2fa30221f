#pragma once
// The commands of vornix-cli, each described once: its name, the lines the
// general usage gives it, its own usage text, its options and what runs it.
// Adding a command is adding one entry to the table.

#include <string>
#include <string_view>
#include <vector>

#include "cli/arg_parser.h"

namespace cli {

struct TCliContext;

struct TCommand {
  std::string_view name{};
  // The command's line in the general usage: its form and what it does.
  std::string_view synopsis{};
  std::string_view summary{};
  // What "COMMAND --help" prints (the generator options follow it when the
  // command takes them).
  std::string_view usage{};
  std::vector<TOptionDef> options{};
  // Takes the generator's options (--upper, --length, ...) besides its own.
  bool generatorOptions = false;
  // Changes an existing archive: takes --backups and --force.
  bool changesArchive = false;
  int (*run)(TCliContext&) = nullptr;
  // The names --format takes, listed at the end of the usage text.
  std::string (*formatNames)(std::string_view separator) = nullptr;

  // Its own options and, when it takes them, the generator's and the
  // changing commands'.
  std::vector<TOptionDef> AllOptions() const;
};

// In the order the general usage lists them.
const std::vector<TCommand>& Commands();
// nullptr for a name that is no command.
const TCommand* FindCommand(std::string_view name);

}  // namespace cli
