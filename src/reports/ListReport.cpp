#include "ListReport.h"

#include <QSqlQuery>

namespace Report {

QString valueOf(const ListColumn& column, const QSqlRecord& record) {
    if (column.calculado)
        return column.calculado(record);
    const QVariant value = record.value(column.field);
    switch (column.formato) {
    case Formato::Texto:
        return value.toString();
    case Formato::Carimbo:
        return ReportText::carimbo(value);
    case Formato::Data:
        return ReportText::data(value);
    case Formato::Status:
        return ReportText::status(value.toString());
    case Formato::SimNao:
        return ReportText::simNao(value.toInt() != 0);
    }
    return value.toString();
}

Document buildList(const ListDefinition& definition, const Header& header, const QSqlDatabase& db) {
    QList<Column> columns;
    for (const ListColumn& c : definition.columns)
        columns.append({c.title, c.share});

    QSqlQuery query = Sql::prepare(db, definition.sql);
    query.setForwardOnly(true);
    for (const Sql::Param& p : definition.params)
        Sql::bind(query, {p});
    Sql::exec(query);

    Layout layout(header, definition.orientation);
    const bool grouped = !definition.groupField.isEmpty();
    if (!grouped)
        layout.setColumnTitles(columns);
    QString group;
    bool first = true;
    while (query.next()) {
        const QSqlRecord record = query.record();
        if (grouped) {
            const QString value = record.value(definition.groupField).toString();
            if (first || value != group) {
                group = value;
                layout.clearColumnTitles();
                if (!first)
                    layout.gap(3);
                layout.heading(definition.groupLabel + QLatin1Char(' ') + value);
                layout.setColumnTitles(columns);
            }
        }
        first = false;
        QStringList values;
        for (const ListColumn& c : definition.columns)
            values.append(valueOf(c, record));
        layout.row(columns, values);
    }
    if (grouped && first) {
        // An empty history still shows its heading and column titles.
        layout.heading(definition.groupLabel);
        layout.setColumnTitles(columns);
    }
    return layout.finish(definition.title);
}

} // namespace Report
