#pragma once

class Prompts;
class TDMCapaSistema;

// The configuration check run at start-up and before an import: makes sure the work directory
// exists (an error box when it cannot be created, which does not change the result), warns of a
// configured local directory the exchange may not use (neither does that), and checks that the
// certifier's acronym is configured (an information box and false when it is not). Throws DbError
// when the configuration cannot be read.
bool VerificaConfiguracao(TDMCapaSistema& dm, Prompts& prompts);
