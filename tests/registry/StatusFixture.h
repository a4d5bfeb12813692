#pragma once

#include "RegistroFixture.h"

#include <QSqlRecord>

// The register's fixture with the rows a status change works on: companies, their links to a
// certificate and their product lines and services, written directly. The justification asker
// records what it was asked and answers from `resposta`.
class StatusFixture : public RegistroFixture {
protected:
    bool perguntouData = false;
    QDate emissaoInformada;

    void SetUp() override {
        RegistroFixture::SetUp();
        dm.setJustificationAsker([this](bool askDate, const QDate& emissao) {
            ++perguntas;
            perguntouData = askDate;
            emissaoInformada = emissao;
            return resposta;
        });
    }

    // The user types this justification and status date.
    void responde(const QString& texto, const QDate& data = QDate(2015, 11, 20)) {
        resposta = Justificativa{texto, data};
    }

public:
    void empresa(const QString& pais, const QString& id, const QString& tipo, const QString& nome) {
        Sql::execute(
            db,
            QStringLiteral("INSERT INTO EMPRESA (CodigoPais, IdEmpresa, TipoPessoa, CGC, CPF, RazSocialEmp, "
                           "NomPessoaFisica, DthUltAtualiz, UsuResp) VALUES (:pais, :id, :tipo, :cgc, :cpf, "
                           ":razao, :pf, :dth, 'ana')"),
            {{":pais", pais},
             {":id", id},
             {":tipo", tipo},
             {":cgc", tipo == "1" && pais == "BR" ? QVariant(id) : QVariant(QMetaType(QMetaType::QString))},
             {":cpf", tipo == "2" ? QVariant(id) : QVariant(QMetaType(QMetaType::QString))},
             {":razao", tipo == "1" ? QVariant(nome) : QVariant(QMetaType(QMetaType::QString))},
             {":pf", tipo == "2" ? QVariant(nome) : QVariant(QMetaType(QMetaType::QString))},
             {":dth", clock.now()}});
    }

    void vincula(const QString& num, const QString& pais, const QString& id, const QString& status = "A") {
        Sql::execute(
            db,
            QStringLiteral("INSERT INTO EMP_CERT (SiglaCertificador, NumCertif, CodigoPais, IdEmpresa, "
                           "StatusEmpresa, IdPapelEmp, DthEntEmpresa, DthStatusEmpresa, DthUltAtualiz, "
                           "UsuResp) VALUES ('OCC1', :num, :pais, :id, :status, 1, :d, :d, :d, 'ana')"),
            {{":num", num}, {":pais", pais}, {":id", id}, {":status", status}, {":d", entrada()}});
    }

    // A line of TIPO, LOTE or UNIDADE (`numero` is the lot or serial number, empty for a type).
    void linha(const QString& tabela, const QString& num, const QString& marca, const QString& modelo,
               const QString& pais, const QString& id, const QString& status = "A",
               const QString& numero = {}) {
        const QString statusCol = tabela == "TIPO"   ? QStringLiteral("StatusProduto")
                                  : tabela == "LOTE" ? QStringLiteral("StatusLote")
                                                     : QStringLiteral("StatusUnidade");
        const QString numCol = tabela == "LOTE"      ? QStringLiteral("NumLote, ")
                               : tabela == "UNIDADE" ? QStringLiteral("NumSerieProd, ")
                                                     : QString();
        const QString numVal = numCol.isEmpty() ? QString() : QStringLiteral(":numero, ");
        QSqlQuery q = Sql::prepare(
            db, QStringLiteral(
                    "INSERT INTO %1 (%2SiglaCertificador, NumCertif, MarcaProd, ModeloProd, Importado, %3, "
                    "Dth%3, DthEntCertif, CodigoPais, IdEmpresa, DthUltAtualiz, UsuResp) VALUES "
                    "(%4'OCC1', :num, :marca, :modelo, 0, :status, :d, :d, :pais, :id, :d, 'ana')")
                    .arg(tabela, numCol, statusCol, numVal));
        if (!numCol.isEmpty())
            q.bindValue(":numero", numero);
        q.bindValue(":num", num);
        q.bindValue(":marca", marca);
        q.bindValue(":modelo", modelo);
        q.bindValue(":status", status);
        q.bindValue(":d", entrada());
        q.bindValue(":pais", pais);
        q.bindValue(":id", id);
        Sql::exec(q);
    }

    void servico(const QString& num, int classe, const QString& pais, const QString& id,
                 const QString& status = "A") {
        Sql::execute(db,
                     QStringLiteral(
                         "INSERT INTO SERVICO (IdClasseServ, SiglaCertificador, NumCertif, CodigoPais, "
                         "IdEmpresa, StatusServico, DthStatusServico, DthEntCertif, DthUltAtualiz, UsuResp) "
                         "VALUES (:classe, 'OCC1', :num, :pais, :id, :status, :d, :d, :d, 'ana')"),
                     {{":classe", classe},
                      {":num", num},
                      {":pais", pais},
                      {":id", id},
                      {":status", status},
                      {":d", entrada()}});
    }

    static QDateTime entrada() { return QDateTime(QDate(2015, 11, 12), QTime(0, 0)); }
    static QDateTime dataDigitada() { return QDateTime(QDate(2015, 11, 20), QTime(0, 0)); }

    // Every row of every table, to tell that an operation left the database exactly as it was.
    QString retrato() {
        QStringList tabelas;
        QSqlQuery t =
            Sql::exec(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name "
                                         "NOT LIKE 'sqlite_%' ORDER BY name"));
        while (t.next())
            tabelas << t.value(0).toString();
        QString texto;
        for (const QString& tabela : tabelas) {
            QSqlQuery q = Sql::exec(db, QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(tabela));
            while (q.next()) {
                texto += tabela + QLatin1Char(':');
                for (int i = 0; i < q.record().count(); ++i)
                    texto += q.value(i).toString() + QLatin1Char('|');
                texto += QLatin1Char('\n');
            }
        }
        return texto;
    }

    // Makes every insert into (or update of) `tabela` fail, as a full disk or a broken table would.
    void falhaEm(const QString& tabela, const QString& quando = QStringLiteral("INSERT")) {
        Sql::execute(db, QStringLiteral("CREATE TRIGGER falha_%1_%2 BEFORE %2 ON %1 BEGIN "
                                        "SELECT RAISE(ABORT, 'falha simulada'); END")
                             .arg(tabela, quando));
    }

    bool aprovado(const QString& num) {
        return valor(QStringLiteral("SELECT Aprovado FROM CERTIFIC WHERE NumCertif = :n"), {{":n", num}})
            .toBool();
    }
};
