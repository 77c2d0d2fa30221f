// generate: one password from the generator engine.
#include "cli/cli_error.h"
#include "cli/command_context.h"
#include "cli/gen_options.h"

namespace cli {

int RunGenerate(TCliContext& ctx) {
  RequirePositionals(ctx, {});
  ctx.out << GenerateWith(GeneratorOptionsFrom(ctx.command, ctx.args)) << '\n';
  return kExitOk;
}

}  // namespace cli
