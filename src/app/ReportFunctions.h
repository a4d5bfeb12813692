#pragma once

class TFrmCapaSistema;

// The reports' part of the main window: after each login, the status bar says how many active
// certificates expire within the next days (the register, the user page and the batch screen open
// their own reports).
void installReports(TFrmCapaSistema& window);
