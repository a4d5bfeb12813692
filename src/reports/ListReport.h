#pragma once

#include "ReportContext.h"
#include "ReportLayout.h"
#include "Sql.h"

#include <QList>
#include <QSqlRecord>
#include <functional>

// A list report as data: its title, page orientation, query and columns, and an optional group on
// one field with a heading. One line per row of the query, in the query's order.
namespace Report {

// How a column prints its field.
enum class Formato {
    Texto,   // as stored
    Carimbo, // "dd/mm/yy hh:nn:ss"
    Data,    // "dd/mm/yyyy"
    Status,  // "Ativo", "Suspenso", "Cancelado"
    SimNao,  // "Sim" for a true flag, "Não" otherwise
};

struct ListColumn {
    QString title;
    QString field; // the query's column
    double share = 1;
    Formato formato = Formato::Texto;
    // A calculated value instead of the field (the pending items of a certificate).
    std::function<QString(const QSqlRecord&)> calculado{};
};

struct ListDefinition {
    QString title;
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    QString sql;
    QList<Sql::Param> params;
    QList<ListColumn> columns;
    // Grouping: a heading label + value each time the field's value changes, the column titles
    // under it.
    QString groupField{};
    QString groupLabel{};
};

QString valueOf(const ListColumn& column, const QSqlRecord& record);

// Runs the query and lays the report out. Throws DbError when the query fails.
Document buildList(const ListDefinition& definition, const Header& header, const QSqlDatabase& db);

} // namespace Report
