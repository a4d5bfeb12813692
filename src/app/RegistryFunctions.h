#pragma once

class TDMCapaSistema;
class TFrmCapaSistema;

// Plugs the registry screen TFormPrincipal into the main window's "Manutenção da Base de Dados...":
// created when opened, shown modally, released when closed. Its data module lives as long as the
// window's function does.
void installRegistry(TFrmCapaSistema& window, TDMCapaSistema& dm);
