#pragma once

class TFrmCapaSistema;

// Plugs the reference-table versions screen ("Atualização de Tabelas Kavorel...") into the main
// window.
void installVersions(TFrmCapaSistema& window);
