#pragma once

class TFrmCapaSistema;

// Plugs the batch control "Controle de Remessas" into the main window's "Gerar Remessa " and its
// speed button: created when opened, shown modally, released when closed. The batch state it
// shares with the preparation lives as long as the window's function does.
void installExchange(TFrmCapaSistema& window);
