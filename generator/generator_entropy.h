#pragma once
// The exact entropy of what the generator makes, from its options: the
// Shannon entropy of the draw, log2(choices) when every outcome is equally
// likely. A pattern estimate would undervalue random characters and
// overvalue nothing here, since the generator's choices are known.

#include "generator/generator_engine.h"
#include "generator/passphrase.h"

double GeneratedEntropyBits(const TGenOptions& options);
// The words count is taken as GeneratePassphrase brings it into range.
double PassphraseEntropyBits(const TPassphraseOptions& options);
