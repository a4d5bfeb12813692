#pragma once

#include "ImportacaoTxt.h"

class QTextStream;

// The import run for a console: imports every "TX-" file of the directory in order, as the screen
// does, and prints one line per file: its name and "importado", "recusado" or "falhou", the latter
// followed by the names of the error logs kept beside it. Returns 0 when every file was imported,
// 1 when any failed or was refused, 2 when the directory has no import file.
int importaDiretorio(const ImportacaoTxt::Parametros& parametros, const QString& diretorio,
                     QTextStream& saida);
