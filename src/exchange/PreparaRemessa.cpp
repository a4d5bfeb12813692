#include "PreparaRemessa.h"

#include "BatchControl.h"
#include "SharedBatchState.h"

qint64 PreviewResult::total() const {
    qint64 sum = 0;
    for (const PreviewRow& row : tabelas)
        sum += row.inclusoes + row.alteracoes + row.exclusoes;
    return sum;
}

PreparaRemessa::PreparaRemessa(Session& session, SharedBatchState& state)
    : session_(session), state_(state) {}

QString PreparaRemessa::textoConfirmacaoCompleta() {
    return QStringLiteral(
        "Uma remessa completa deve ser preparada sob a supervisão do Kavorel.Deseja realmente "
        "continuar com a preparação ?");
}

QString PreparaRemessa::tituloConfirmacaoCompleta() {
    return QStringLiteral("Preparação de uma Remessa Completa");
}

int PreparaRemessa::numeroDePassos(const QString& tipoRemessa) {
    const int tabelas = int(TabelasRemessa().size());
    return tipoRemessa == BatchTypes::Completa ? tabelas : 3 * tabelas;
}

QString PreparaRemessa::problemaDiretorio() const {
    return QStringLiteral("Diretório Local de Transferência de Remessas não foi encontrado.");
}

PreparationResult PreparaRemessa::run(const QString&, const QString&, bool, const std::atomic_bool&,
                                      const PreparationProgressFn&) {
    PreparationResult result;
    result.status = PreparationResult::Status::Erro;
    result.EdResultado = QStringLiteral("Ocorreu um Erro na Preparação.");
    return result;
}

PreviewResult PreparaRemessa::previa(const QString&, const std::atomic_bool&, const PreparationProgressFn&) {
    PreviewResult result;
    result.erro = QStringLiteral("Ocorreu um Erro na Preparação.");
    return result;
}
