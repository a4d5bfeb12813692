#pragma once

#include "EntregaArquivo.h"
#include "ReportContext.h"
#include "ReportDocument.h"

#include <QString>
#include <QStringList>

// The three receipts the batch screens print after a delivery or after fetching a result. They have
// no query: the screen passes what it knows of the batch.
namespace Comprovantes {

// What every receipt names: the certifier line (SiglaCertificador + " - " + NomeOCC) and the batch.
struct Remessa {
    QString certificador;
    QString numeroRemessa;
};

// TFrmRelTransf, after an FTP or e-mail delivery: the archive's name (e-mail: with its directory
// in front) and the lines of the screen's result memo under "Observações".
Report::Document transferencia(const ReportContext& context, const Remessa& remessa, const QString& arquivo,
                               const QStringList& observacoes);
// TFrmRelGravacao, after recording the archive on removable media or in a directory: the destination
// directory followed by the archive's name.
Report::Document gravacao(const ReportContext& context, const Remessa& remessa, const QString& destino);
// TFrmRelResult, after fetching a result: the result archive's name, the verdict taken from its
// code ("OK" or anything else) and the lines of the screen's result memo.
Report::Document resultado(const ReportContext& context, const Remessa& remessa,
                           const QString& arquivoResultado, const QString& codigoResultado,
                           const QStringList& relatorio);

// The receipt of a recorded delivery, as the delivery screens describe it: the recording receipt
// for media, the transfer receipt otherwise.
Report::Document daEntrega(const ReportContext& context, const ComprovanteEntrega& entrega);

// "Remessa foi considerada válida e a base de dados foi atualizada" for "OK", "Remessa foi
// invalidada pelo Kavorel e exigirá nova remessa" for any other code.
QString textoResultado(const QString& codigo);

} // namespace Comprovantes
