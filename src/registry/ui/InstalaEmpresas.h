#pragma once

class TFormPrincipal;

// Puts the company table ("TabEmpresa" panel) and the tab "Empresas Envolvidas" into the registry
// screen, and registers the "EMPRESA" and "EMPCERT" duplicate checks with its data module.
void instalaEmpresas(TFormPrincipal& form);
