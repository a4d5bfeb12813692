#include "SelecaoGrade.h"

#include "Controls.h"
#include "SelectionQueries.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QHeaderView>
#include <QSqlRecord>
#include <QTableView>

namespace {

// The hourglass for the time a query runs.
class Ampulheta {
public:
    Ampulheta() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Ampulheta() { QGuiApplication::restoreOverrideCursor(); }
    Ampulheta(const Ampulheta&) = delete;
    Ampulheta& operator=(const Ampulheta&) = delete;
};

} // namespace

QVariant ModeloSelecao::data(const QModelIndex& index, int role) const {
    if (role == Qt::DisplayRole && formatador_) {
        QVariant shown = formatador_(*this, index);
        if (shown.isValid())
            return shown;
    }
    return QSqlQueryModel::data(index, role);
}

QVariant ModeloSelecao::valor(int row, const QString& column) const {
    return record(row).value(column);
}

QTableView* novaGrade(QWidget* parent, const QString& objectName, ModeloSelecao* model) {
    auto* grid = new QTableView(parent);
    grid->setObjectName(objectName);
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setSortingEnabled(false); // ordering is done by the query
    grid->horizontalHeader()->setSectionsClickable(true);
    grid->verticalHeader()->hide();
    Controls::showRows(grid);
    Controls::fitColumns(grid);
    return grid;
}

int carregaGrade(QTableView* grid, ModeloSelecao* model, const QSqlDatabase& db,
                 const ConsultaMontada& consulta, const QList<std::pair<int, QString>>& titulos) {
    {
        Ampulheta ampulheta;
        model->setQuery(consulta.executa(db));
        while (model->canFetchMore())
            model->fetchMore();
    }
    for (int column = 0; column < model->columnCount(); ++column)
        grid->setColumnHidden(column, true);
    for (const auto& [column, titulo] : titulos) {
        model->setHeaderData(column, Qt::Horizontal, titulo);
        grid->setColumnHidden(column, false);
    }
    if (model->rowCount() > 0) {
        int first = titulos.isEmpty() ? 0 : titulos.first().first;
        grid->setCurrentIndex(model->index(0, first));
        grid->selectRow(0);
    }
    return model->rowCount();
}

QString dataExibida(const QVariant& stored) {
    if (stored.isNull())
        return {};
    const QDateTime value = QDateTime::fromString(stored.toString(), Qt::ISODateWithMs);
    return value.isValid() ? value.toString(QStringLiteral("dd/MM/yyyy")) : stored.toString();
}
