#pragma once

#include "EventsFixture.h"
#include "SampleReference.h"
#include "TDMCertif.h"

#include "PrintQString.h"
#include <QComboBox>
#include <memory>
#include <optional>

// The register over the sample reference data, with a justification answered from a plan:
// each entry is the text to type, or nothing to cancel.
class EmpresasFixture : public EventsFixture {
protected:
    EmpresasFixture() {
        loadSampleReference(db, "OCC1");
        dm = std::make_unique<TDMCertif>(session, [this](bool, const QDate&) -> std::optional<Justificativa> {
            ++justificativasPedidas;
            if (justificativas.isEmpty())
                return std::nullopt;
            const QString text = justificativas.takeFirst();
            if (text.isNull())
                return std::nullopt;
            return Justificativa{text, {}};
        });
    }

    // A certificate with both classes, emitted 05/01/2015.
    void certificado(const QString& num, bool aprovado = false) {
        Sql::execute(
            db,
            "INSERT INTO CERTIFIC (SiglaCertificador, NumCertif, StatusCertificado, IdClasseProd, "
            "IdClasseCertif, DataEmissao, Completo, Aprovado, DthStatusCertificado, DthUltAtualiz, UsuResp) "
            "VALUES ('OCC1', :num, 'A', 110, 'COMP', :emissao, 0, :aprovado, :emissao, :emissao, 'ana')",
            {{":num", num}, {":emissao", Sql::dateValue(QDate(2015, 1, 5))}, {":aprovado", aprovado}});
    }

    // The APR event of an approval at the given moment.
    void aprovacao(const QString& num, const QDateTime& when) {
        Eventos::insere(db, EventTable::STATUS_C, event({"OCC1", num}, "APR", when));
        Sql::execute(db, "UPDATE CERTIFIC SET Aprovado = 1 WHERE NumCertif = :num", {{":num", num}});
    }

    void empresa(const QString& pais, const QString& id, const QString& tipo, const QString& cgc,
                 const QString& razao, const QString& cpf = {}, const QString& nomePF = {}) {
        Sql::execute(
            db,
            "INSERT INTO EMPRESA (CodigoPais, IdEmpresa, TipoPessoa, CGC, RazSocialEmp, CPF, "
            "NomPessoaFisica, EndCEP, DthUltAtualiz, UsuResp) VALUES (:pais, :id, :tipo, :cgc, :razao, "
            ":cpf, :nomePF, '01310100', :dth, 'ana')",
            {{":pais", pais},
             {":id", id},
             {":tipo", tipo},
             {":cgc", cgc.isEmpty() ? QVariant() : QVariant(cgc)},
             {":razao", razao.isEmpty() ? QVariant() : QVariant(razao)},
             {":cpf", cpf.isEmpty() ? QVariant() : QVariant(cpf)},
             {":nomePF", nomePF.isEmpty() ? QVariant() : QVariant(nomePF)},
             {":dth", clock.now()}});
    }

    void vinculo(const QString& num, const QString& pais, const QString& id) {
        Sql::execute(
            db,
            "INSERT INTO EMP_CERT (SiglaCertificador, NumCertif, CodigoPais, IdEmpresa, StatusEmpresa, "
            "IdPapelEmp, DthEntEmpresa, DthStatusEmpresa, DthUltAtualiz, UsuResp) VALUES ('OCC1', :num, "
            ":pais, :id, 'A', 1, :dt, :dt, :dt, 'ana')",
            {{":num", num}, {":pais", pais}, {":id", id}, {":dt", Sql::dateValue(QDate(2015, 2, 1))}});
    }

    // A type line of the certificate naming the company (or none).
    void linhaTipo(const QString& num, const QString& pais, const QString& id) {
        Sql::execute(
            db,
            "INSERT INTO TIPO (NumCertif, SiglaCertificador, MarcaProd, ModeloProd, Importado, "
            "StatusProduto, DthUltAtualiz, UsuResp, CodigoPais, IdEmpresa) VALUES (:num, 'OCC1', 'M', "
            "'X1', 0, 'A', :dt, 'ana', :pais, :id)",
            {{":num", num},
             {":dt", clock.now()},
             {":pais", pais.isEmpty() ? QVariant() : QVariant(pais)},
             {":id", id.isEmpty() ? QVariant() : QVariant(id)}});
    }

    // A normative document linked to the certificate: with a line and a company it is complete.
    void documento(const QString& num) {
        Sql::execute(db,
                     "INSERT INTO DOC_NORM_CERT_PRODUTO (SiglaCertificador, NumCertif, IdClasseCertif, "
                     "IdClasseProd, IdDocNorm, Status_DNCP) VALUES ('OCC1', :num, 'COMP', 110, 1, 'A')",
                     {{":num", num}});
    }

    QVariant campo(const QString& sql) { return Sql::scalar(db, sql); }

    static void escolhe(QComboBox* combo, const QString& text) {
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        combo->setCurrentIndex(index);
    }

    std::unique_ptr<TDMCertif> dm;
    QStringList justificativas; // a null string cancels
    int justificativasPedidas = 0;
};
