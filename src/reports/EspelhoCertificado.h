#pragma once

#include "ReportContext.h"
#include "ReportDocument.h"
#include "SelecaoCertificados.h"

#include <QString>

// The mirror ("espelho") of the selected certificates: everything the register holds about each,
// every certificate on its own page; with the event log in "Espelho com Log".
namespace Espelho {

enum class Variante { SemLog, ComLog };

// Throws DbError when a query fails.
Report::Document espelho(const ReportContext& context, const SelecaoCertificados& selecao, Variante variante);

// The address of a company as the mirror prints it, from its non-empty parts.
struct Endereco {
    QString EndLogr{}, EndNum{}, EndCompl{}, EndBairro{}, EndCEP{}, EndCidade{}, SiglaUF{}, Telefone{}, Fax{},
        Email{};
};
QString textoEndereco(const Endereco& e);
// The installation place of a unit, with its district, city, state and postcode.
QString textoInstalacao(const QString& local, const QString& bairro, const QString& cidade, const QString& uf,
                        const QString& cep);
// "Inclusão", "Alteração", "Cancelamento", "Suspensão", "Reativação", "Aprovação de Envio"; empty
// for any other code.
QString descricaoEvento(const QString& evento);

} // namespace Espelho
