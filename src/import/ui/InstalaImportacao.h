#pragma once

class TDMCapaSistema;
class TFormPrincipal;

// Makes the register's "Importa dados Arquivo TXT" and its speed button open TfrmImporta for the
// logged-in user, after the configuration check (a configured certifier acronym).
void instalaImportacao(TFormPrincipal& form, TDMCapaSistema& dm);
