#pragma once

class TDMCapaSistema;
class TFrmCapaSistema;

// Plugs the login (with the administrator's first password), the password change, the user page
// and the two configuration pages into the main window.
void installSettingsFunctions(TFrmCapaSistema& window, TDMCapaSistema& dm);
