#include "GradeEmpresas.h"
#include "Controls.h"

#include "Empresas.h"
#include "Sql.h"

#include <QHeaderView>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>

namespace {

// Fetches rows until `row` is loaded; the row, or -1 when the result is shorter.
int buscaAte(QSqlQueryModel& model, int row) {
    while (model.rowCount() <= row && model.canFetchMore())
        model.fetchMore();
    return row < model.rowCount() ? row : -1;
}

// A grid walks its rows both ways, so its query may not be forward-only.
void executa(QSqlQueryModel& model, const QSqlDatabase& db, const QString& sql, Sql::Params params = {}) {
    QSqlQuery query(db);
    if (!query.prepare(sql))
        throw Sql::errorOf(query);
    Sql::bind(query, params);
    Sql::exec(query);
    model.setQuery(std::move(query));
    if (model.lastError().isValid())
        throw DbError(model.lastError().text());
}

const QStringList TitulosEmpresa{QStringLiteral("País"), QStringLiteral("CNPJ/CPF"),
                                 QStringLiteral("Razão Social/Nome Pessoa Física"),
                                 QStringLiteral("Nome Fantasia"), QStringLiteral("Papel na Certificação")};

// Shared column layout: 0 CodigoPais, 1 CGC, 2 RazSocialEmp, 3 NomFantasia, then the hidden ones.
QVariant documentoOuNome(const QSqlQueryModel& model, const QModelIndex& index, int tipo, int cpf,
                         int nomePF) {
    const QString tipoPessoa = model.QSqlQueryModel::data(model.index(index.row(), tipo)).toString();
    if (index.column() == 1)
        return documentoEmpresa(tipoPessoa, model.QSqlQueryModel::data(index).toString(),
                                model.QSqlQueryModel::data(model.index(index.row(), cpf)).toString());
    return nomeEmpresa(tipoPessoa, model.QSqlQueryModel::data(index).toString(),
                       model.QSqlQueryModel::data(model.index(index.row(), nomePF)).toString());
}

} // namespace

// ModeloEmpresas: 4 IdEmpresa, 5 TipoPessoa, 6 CPF, 7 NomPessoaFisica.
void ModeloEmpresas::carrega(const QSqlDatabase& db) {
    executa(*this, db,
            QStringLiteral("SELECT CodigoPais, CGC, RazSocialEmp, NomFantasia, IdEmpresa, TipoPessoa, CPF, "
                           "NomPessoaFisica FROM EMPRESA ORDER BY CodigoPais, IdEmpresa"));
    for (int c = 0; c < 4; ++c)
        setHeaderData(c, Qt::Horizontal, TitulosEmpresa[c]);
}

QString ModeloEmpresas::codigoPais(int row) const {
    return QSqlQueryModel::data(index(row, 0)).toString();
}

QString ModeloEmpresas::idEmpresa(int row) const {
    return QSqlQueryModel::data(index(row, 4)).toString();
}

int ModeloEmpresas::localiza(const QSqlDatabase& db, const QString& codigoPais, const QString& idEmpresa) {
    if (!Empresas::carrega(db, codigoPais, idEmpresa))
        return -1;
    // The rows are ordered by key, so the company's row is the number of keys before it.
    const int antes = Sql::scalar(db,
                                  QStringLiteral("SELECT COUNT(*) FROM EMPRESA WHERE CodigoPais < :pais OR "
                                                 "(CodigoPais = :pais AND IdEmpresa < :id)"),
                                  {{":pais", codigoPais}, {":id", idEmpresa}})
                          .toInt();
    return buscaAte(*this, antes);
}

QVariant ModeloEmpresas::data(const QModelIndex& index, int role) const {
    if (role == Qt::DisplayRole && (index.column() == 1 || index.column() == 2))
        return documentoOuNome(*this, index, 5, 6, 7);
    return QSqlQueryModel::data(index, role);
}

// ModeloEmpresasCertificado: 4 PapelEmp, 5 IdEmpresa, 6 TipoPessoa, 7 CPF, 8 NomPessoaFisica,
// 9 StatusEmpresa, 10 DthEntEmpresa.
void ModeloEmpresasCertificado::carrega(const QSqlDatabase& db, const QString& sigla,
                                        const QString& numCertif) {
    sigla_ = sigla;
    numCertif_ = numCertif;
    executa(*this, db,
            QStringLiteral("SELECT ec.CodigoPais, e.CGC, e.RazSocialEmp, e.NomFantasia, p.PapelEmp, "
                           "ec.IdEmpresa, e.TipoPessoa, e.CPF, e.NomPessoaFisica, ec.StatusEmpresa, "
                           "ec.DthEntEmpresa FROM EMP_CERT ec "
                           "LEFT JOIN EMPRESA e ON e.CodigoPais = ec.CodigoPais AND "
                           "e.IdEmpresa = ec.IdEmpresa "
                           "LEFT JOIN PAPEL_EMP p ON p.IdPapelEmp = ec.IdPapelEmp "
                           "WHERE ec.SiglaCertificador = :sigla AND ec.NumCertif = :num "
                           "ORDER BY ec.CodigoPais, ec.IdEmpresa"),
            {{":sigla", sigla}, {":num", numCertif}});
    for (int c = 0; c < 5; ++c)
        setHeaderData(c, Qt::Horizontal, TitulosEmpresa[c]);
}

QString ModeloEmpresasCertificado::codigoPais(int row) const {
    return QSqlQueryModel::data(index(row, 0)).toString();
}

QString ModeloEmpresasCertificado::idEmpresa(int row) const {
    return QSqlQueryModel::data(index(row, 5)).toString();
}

QString ModeloEmpresasCertificado::status(int row) const {
    return QSqlQueryModel::data(index(row, 9)).toString();
}

QDateTime ModeloEmpresasCertificado::dataEntrada(int row) const {
    return QSqlQueryModel::data(index(row, 10)).toDateTime();
}

int ModeloEmpresasCertificado::localiza(const QSqlDatabase& db, const QString& codigoPais,
                                        const QString& idEmpresa) {
    const int antes =
        Sql::scalar(db,
                    QStringLiteral("SELECT COUNT(*) FROM EMP_CERT WHERE SiglaCertificador = :sigla AND "
                                   "NumCertif = :num AND (CodigoPais < :pais OR (CodigoPais = :pais AND "
                                   "IdEmpresa < :id))"),
                    {{":sigla", sigla_}, {":num", numCertif_}, {":pais", codigoPais}, {":id", idEmpresa}})
            .toInt();
    const int row = buscaAte(*this, antes);
    if (row < 0 || codigoPais != this->codigoPais(row) || idEmpresa != this->idEmpresa(row))
        return -1;
    return row;
}

QVariant ModeloEmpresasCertificado::data(const QModelIndex& index, int role) const {
    if (role == Qt::DisplayRole && (index.column() == 1 || index.column() == 2))
        return documentoOuNome(*this, index, 6, 7, 8);
    return QSqlQueryModel::data(index, role);
}

QTableView* novaGradeEmpresas(QWidget* parent, const QString& objectName, QSqlQueryModel* model,
                              int visiveis) {
    auto* grid = new QTableView(parent);
    grid->setObjectName(objectName);
    grid->setModel(model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Controls::showRows(grid);
    Controls::fitColumns(grid);
    QObject::connect(model, &QAbstractItemModel::modelReset, grid, [grid, model, visiveis] {
        for (int c = 0; c < model->columnCount(); ++c)
            grid->setColumnHidden(c, c >= visiveis);
        // Widths follow the rows on screen (the model fetches the rest as the grid scrolls).
        grid->resizeColumnsToContents();
    });
    return grid;
}
