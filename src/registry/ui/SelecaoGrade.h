#pragma once

#include <QList>
#include <QSqlQueryModel>
#include <QString>
#include <functional>

class QSqlDatabase;
class QTableView;
class QWidget;
struct ConsultaMontada;

// Grid pieces shared by the selection dialogs.

// A query model whose displayed texts may be computed from the whole row (display forms of dates,
// CNPJ/CPF, "Sim"/"Não").
class ModeloSelecao : public QSqlQueryModel {
    Q_OBJECT
public:
    using Formatador = std::function<QVariant(const QSqlQueryModel& model, const QModelIndex& index)>;

    explicit ModeloSelecao(QObject* parent = nullptr) : QSqlQueryModel(parent) {}

    // Returns the text shown for a cell, or an invalid value to show the stored one.
    void setFormatador(Formatador formatador) { formatador_ = std::move(formatador); }

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant valor(int row, const QString& column) const; // the stored value

private:
    Formatador formatador_;
};

// A read-only grid selecting whole rows, with clickable column titles.
QTableView* novaGrade(QWidget* parent, const QString& objectName, ModeloSelecao* model);

// Runs the statement into the model under the hourglass, reads every row, titles the shown columns
// (`titulos` by column of the statement; columns without a title are hidden), puts the cursor on
// the first row and returns the number of rows. Throws DbError.
int carregaGrade(QTableView* grid, ModeloSelecao* model, const QSqlDatabase& db,
                 const ConsultaMontada& consulta, const QList<std::pair<int, QString>>& titulos);

// A stored date-time as "dd/MM/yyyy"; empty for NULL.
QString dataExibida(const QVariant& stored);
