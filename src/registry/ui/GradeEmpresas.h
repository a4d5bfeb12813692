#pragma once

#include <QSqlDatabase>
#include <QSqlQueryModel>

class QTableView;
class QWidget;

// The grids of companies: query models that fetch rows as the grid scrolls and show the CNPJ/CPF
// and the name of each company by its kind.

// "Tabela de Empresas": every company, by key. Columns "País", "CNPJ/CPF",
// "Razão Social/Nome Pessoa Física", "Nome Fantasia"; the key columns follow, hidden.
class ModeloEmpresas : public QSqlQueryModel {
    Q_OBJECT
public:
    using QSqlQueryModel::QSqlQueryModel;

    void carrega(const QSqlDatabase& db);
    QString codigoPais(int row) const;
    QString idEmpresa(int row) const;
    // The row of the company, fetching rows up to it; -1 when there is none with that key.
    int localiza(const QSqlDatabase& db, const QString& codigoPais, const QString& idEmpresa);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};

// "Empresas Envolvidas": the companies of one certificate. Columns "País", "CNPJ/CPF",
// "Razão Social/Nome Pessoa Física", "Nome Fantasia", "Papel na Certificação"; the key, the
// status and the entry date follow, hidden.
class ModeloEmpresasCertificado : public QSqlQueryModel {
    Q_OBJECT
public:
    using QSqlQueryModel::QSqlQueryModel;

    void carrega(const QSqlDatabase& db, const QString& sigla, const QString& numCertif);
    QString codigoPais(int row) const;
    QString idEmpresa(int row) const;
    QString status(int row) const;
    QDateTime dataEntrada(int row) const;
    int localiza(const QSqlDatabase& db, const QString& codigoPais, const QString& idEmpresa);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    QString sigla_;
    QString numCertif_;
};

// A read-only grid selecting whole rows; only the first `visiveis` columns are shown.
QTableView* novaGradeEmpresas(QWidget* parent, const QString& objectName, QSqlQueryModel* model,
                              int visiveis);
