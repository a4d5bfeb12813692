#pragma once

#include "TabelaRemessa.h"

#include <QSqlDatabase>
#include <QString>

// The batch data module: the exchanged tables, their generated statements and the creation of the
// batch's Paradox tables. The statements compare each live table with its replica by joining on
// the whole key (one index probe per row, never a scan per row); values are compared null-safely,
// so a change to or from NULL is an alteration.
class TDMTabelasData {
public:
    // How the partial batch's statements find their rows: by comparing every row of the scope
    // (Completa), or only the rows of the keys the change journal holds (Rastreada), which yields
    // the same rows when the journal is complete.
    enum class Comparacao { Completa, Rastreada };

    explicit TDMTabelasData(QSqlDatabase db, Comparacao comparacao = Comparacao::Completa);

    // The descriptors in batch order (the same list every call).
    static const QList<TabelaRemessa>& MontaTabelasRemessa() { return TabelasRemessa(); }

    // The statement of one kind for one table, with the live table's columns in its own order
    // (E returns the replica's rows, column for column). Column names are checked against the
    // database's catalogue. Throws DbError for an unknown column.
    QString consulta(const TabelaRemessa& tabela, ConsultaRemessa tipo) const;
    // SELECT count(*) over the same rows (for the preview).
    QString contagem(const TabelaRemessa& tabela, ConsultaRemessa tipo) const;

    // The live table's column names in table order.
    QStringList colunas(const QString& tabela) const;
    // Its primary key columns (the database's own key, in key order).
    QStringList chavePrimaria(const QString& tabela) const;

    // Kinds of CriaTabelaRemessa: 0 "_I", 1 "_E", 2 "_A", 3 the name itself, 4 "REP_" + name.
    static QString nomeTabelaRemessa(const QString& tabela, int tipo);

    // Creates the empty Paradox table <directory>/<name by kind>.DB with the live table's columns
    // (same order, names, types and sizes; autoincrement becomes a plain integer) and returns the
    // table name. An existing file is an error (stale rows must never go out). Throws DbError.
    QString CriaTabelaRemessa(const QString& directory, const QString& tabela, int tipo) const;

private:
    // "<table> <alias>", or with the tracked comparison the journal's keys joined to it first.
    QString origem(const TabelaRemessa& tabela, ConsultaRemessa tipo, const QString& nome,
                   const QString& alias) const;

    QSqlDatabase db_;
    Comparacao comparacao_;
};
