#include "Comprovantes.h"

#include "ReportLayout.h"

using namespace Report;

namespace Comprovantes {

namespace {

const QString Titulo = QStringLiteral("Comprovante de Transferência de Arquivo");

struct Linha {
    QString rotulo;
    QString valor;
};

Document comprovante(const ReportContext& context, const QStringList& linhasTitulo,
                     const QList<Linha>& linhas, const QString& tituloNotas, const QStringList& notas) {
    Layout layout(Header{Titulo, linhasTitulo, context.usuario, context.agora.date()}, QPageLayout::Portrait);
    const QList<Column> columns{{QString(), 2}, {QString(), 5}};
    layout.gap(4);
    for (const Linha& l : linhas) {
        layout.row(columns, {l.rotulo, l.valor}, FontRole::Normal);
        layout.gap(1);
    }
    layout.gap(3);
    layout.paragraph(tituloNotas, FontRole::Bold);
    layout.rule();
    for (const QString& nota : notas)
        layout.paragraph(nota);
    return layout.finish(Titulo);
}

QList<Linha> inicio(const Remessa& remessa) {
    // The certifier line reads "OCC:" on all three receipts.
    return {{QStringLiteral("OCC:"), remessa.certificador},
            {QStringLiteral("Número da Remessa:"), remessa.numeroRemessa}};
}

QList<Linha> momento(const ReportContext& context) {
    return {{QStringLiteral("Data:"), context.agora.toString(QStringLiteral("dd/MM/yyyy"))},
            {QStringLiteral("Hora:"), context.agora.toString(QStringLiteral("hh:mm:ss"))}};
}

} // namespace

QString textoResultado(const QString& codigo) {
    return codigo == QLatin1String("OK")
               ? QStringLiteral("Remessa foi considerada válida e a base de dados foi atualizada")
               : QStringLiteral("Remessa foi invalidada pelo Kavorel e exigirá nova remessa");
}

Document transferencia(const ReportContext& context, const Remessa& remessa, const QString& arquivo,
                       const QStringList& observacoes) {
    return comprovante(context, {},
                       inicio(remessa) + QList<Linha>{{QStringLiteral("Arquivo Transferido:"), arquivo}} +
                           momento(context),
                       QStringLiteral("Observações"), observacoes);
}

Document gravacao(const ReportContext& context, const Remessa& remessa, const QString& destino) {
    return comprovante(context, {QStringLiteral("(arquivo gravado para envio)")},
                       inicio(remessa) + QList<Linha>{{QStringLiteral("Arquivo Transferido:"), destino}} +
                           momento(context),
                       QStringLiteral("Observações"),
                       {QStringLiteral("Usuário Responsável : ") + context.usuario,
                        QStringLiteral("Gravação de arquivo realizada com sucesso.")});
}

Document resultado(const ReportContext& context, const Remessa& remessa, const QString& arquivoResultado,
                   const QString& codigoResultado, const QStringList& relatorio) {
    return comprovante(
        context, {},
        inicio(remessa) +
            QList<Linha>{{QStringLiteral("Arquivo Recebido do Kavorel:"), arquivoResultado},
                         {QStringLiteral("Resultado da Remessa:"), textoResultado(codigoResultado)}} +
            momento(context),
        QStringLiteral("Relatório Recebido do Kavorel:"), relatorio);
}

Report::Document daEntrega(const ReportContext& context, const ComprovanteEntrega& entrega) {
    const Remessa remessa{entrega.cabecalho, entrega.numeroRemessa};
    return entrega.gravacao ? gravacao(context, remessa, entrega.arquivo)
                            : transferencia(context, remessa, entrega.arquivo, entrega.linhas);
}

} // namespace Comprovantes
