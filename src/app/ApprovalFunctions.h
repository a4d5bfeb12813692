#pragma once

class TFrmCapaSistema;

// Plugs the page "AprovaCertificados" (approval of certificates for sending) into the main window.
void installApprovalPage(TFrmCapaSistema& window);
