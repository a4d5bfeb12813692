#include "TDMTabelasData.h"

#include "DbError.h"

TDMTabelasData::TDMTabelasData(QSqlDatabase db) : db_(std::move(db)) {}

QString TDMTabelasData::nomeTabelaRemessa(const QString& tabela, int tipo) {
    switch (tipo) {
    case 0:
        return tabela + QStringLiteral("_I");
    case 1:
        return tabela + QStringLiteral("_E");
    case 2:
        return tabela + QStringLiteral("_A");
    case 3:
        return tabela;
    case 4:
        return QStringLiteral("REP_") + tabela;
    default:
        throw DbError(QStringLiteral("Tipo de tabela de remessa inválido: %1.").arg(tipo));
    }
}

QString TDMTabelasData::consulta(const TabelaRemessa&, ConsultaRemessa) const {
    throw DbError(QStringLiteral("não implementado"));
}

QString TDMTabelasData::contagem(const TabelaRemessa&, ConsultaRemessa) const {
    throw DbError(QStringLiteral("não implementado"));
}

QStringList TDMTabelasData::colunas(const QString&) const {
    return {};
}

QStringList TDMTabelasData::chavePrimaria(const QString&) const {
    return {};
}

QString TDMTabelasData::CriaTabelaRemessa(const QString&, const QString&, int) const {
    throw DbError(QStringLiteral("não implementado"));
}
