#pragma once

#include "Clock.h"
#include "Database.h"
#include "PrintQString.h"
#include "ReportContext.h"
#include "ReportDocument.h"
#include "SampleReference.h"
#include "ScriptedPrompts.h"
#include "Session.h"
#include "Sql.h"
#include "TestHome.h"

#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A register for the reports, with the sample reference data of "OCC1" ("Organismo de Teste -
// Certificação"), the user "joão" and the clock at 15/03/2024 09:30:
//
// - CERT-001: VOL / 110, active, complete and approved; Alfa Indústria (CNPJ, maker, full address)
//   with a type line ACME/X1 (imported) and a lot L-77 of Beta/Z; Maria da Silva (CPF) with a unit
//   S-9 of Beta/Z; a service of class 20 with Alfa, suspended while Alfa's link is active; a
//   general document 1004; events: inclusion, a user's note, approval.
// - CERT-002: COMP / 110, suspended, incomplete: only a type line, no company, no document.
// - VAZIO-1: COMP / 200, incomplete, nothing at all. "AAA" has a VAZIO-1 with everything.
// - PRONTO-1 (changed 10/03/2024) and PRONTO-2 (changed 01/03/2024): COMP / 110, complete, not
//   approved. SEMCLASSE (class of product 999) and AAA's AAA-9: complete, not approved.
class ReportsFixture : public ::testing::Test {
protected:
    ReportsFixture()
        : db(home.openDatabase()), clock(QDateTime(QDate(2024, 3, 15), QTime(9, 30))),
          session(Database::ConnectionName, clock, prompts) {
        session.setUser(LoggedUser{QStringLiteral("joão"), QStringLiteral("OCC1"), Permissions::all()});
        loadSampleReference(db, QStringLiteral("OCC1"));
        exec("INSERT INTO CONFIG_LOCAL (SiglaCertificador, NomeOCC) VALUES ('OCC1', 'Organismo de Teste - "
             "Certificação')");
        certificado("OCC1", "CERT-001", "VOL", 110, "A", true, true, QDate(2024, 1, 2));
        certificado("OCC1", "CERT-002", "COMP", 110, "S", false, false, QDate(2024, 1, 3));
        certificado("OCC1", "VAZIO-1", "COMP", 200, "A", false, false, QDate(2024, 1, 4));
        certificado("OCC1", "PRONTO-1", "COMP", 110, "A", true, false, QDate(2024, 3, 10));
        certificado("OCC1", "PRONTO-2", "COMP", 110, "A", true, false, QDate(2024, 3, 1));
        certificado("OCC1", "SEMCLASSE", "COMP", 999, "A", true, false, QDate(2024, 3, 2));
        certificado("AAA", "AAA-9", "COMP", 110, "A", true, false, QDate(2024, 3, 3));
        certificado("AAA", "VAZIO-1", "COMP", 110, "A", true, false, QDate(2024, 3, 3));

        Sql::execute(
            db,
            "INSERT INTO EMPRESA (CodigoPais, IdEmpresa, TipoPessoa, CGC, RazSocialEmp, NomFantasia, "
            "EndLogr, EndNum, EndCompl, EndCEP, EndBairro, EndCidade, SiglaUF, Telefone, Fax, Email, "
            "DthUltAtualiz, UsuResp) VALUES ('BR', '11222333000181', '1', '11222333000181', "
            "'Alfa Indústria', 'Alfa', 'Rua das Flores', '100', 'sala 2', '01310100', 'Centro', "
            "'São Paulo', 'SP', '11 5555-0000', '11 5555-0001', 'contato@alfa.com.br', :now, 'ana')",
            {{":now", clock.now()}});
        Sql::execute(db,
                     "INSERT INTO EMPRESA (CodigoPais, IdEmpresa, TipoPessoa, CPF, NomPessoaFisica, EndNum, "
                     "DthUltAtualiz, UsuResp) VALUES ('BR', '12345678909', '2', '12345678909', "
                     "'Maria da Silva', '12', :now, 'ana')",
                     {{":now", clock.now()}});
        vinculo("OCC1", "CERT-001", "11222333000181", "A", 1);
        vinculo("OCC1", "CERT-001", "12345678909", "A", 3);
        vinculo("AAA", "VAZIO-1", "11222333000181", "A", 1);
        produto("ACME", "X1", 1, "7891234567895", "Condicionador split 12000 BTU");
        produto("Beta", "Z", 0, "", "");

        exec("INSERT INTO TIPO (SiglaCertificador, NumCertif, MarcaProd, ModeloProd, Importado, "
             "StatusProduto, "
             "DthEntCertif, CodigoPais, IdEmpresa, DthUltAtualiz, UsuResp) VALUES ('OCC1', 'CERT-001', "
             "'ACME', "
             "'X1', 1, 'A', '2024-01-05T00:00:00.000', 'BR', '11222333000181', '2024-01-05T00:00:00.000', "
             "'ana')");
        exec("INSERT INTO LOTE (NumLote, SiglaCertificador, NumCertif, MarcaProd, ModeloProd, Importado, "
             "StatusLote, QuantLote, DataFabrLote, DataValLote, NumProfInvoice, DthEntCertif, CodigoPais, "
             "IdEmpresa, DthUltAtualiz, UsuResp) VALUES ('L-77', 'OCC1', 'CERT-001', 'Beta', 'Z', 0, 'C', "
             "'500', "
             "'2023-12-01T00:00:00.000', '2026-12-01T00:00:00.000', 'PI-9', '2024-01-06T00:00:00.000', 'BR', "
             "'11222333000181', '2024-01-06T00:00:00.000', 'ana')");
        exec("INSERT INTO UNIDADE (NumSerieProd, SiglaCertificador, NumCertif, MarcaProd, ModeloProd, "
             "Importado, "
             "StatusUnidade, LocalInstalacao, EndBairro, EndCidade, EndCEP, SiglaUF, Observacoes, "
             "DthEntCertif, "
             "CodigoPais, IdEmpresa, DthUltAtualiz, UsuResp) VALUES ('S-9', 'OCC1', 'CERT-001', 'Beta', 'Z', "
             "0, "
             "'S', 'Galpão 3', 'Industrial', 'Campinas', '13000000', 'SP', 'Unidade de teste', "
             "'2024-01-07T00:00:00.000', 'BR', '12345678909', '2024-01-07T00:00:00.000', 'ana')");
        exec("INSERT INTO SERVICO (IdClasseServ, NumCertif, SiglaCertificador, CodigoPais, IdEmpresa, "
             "StatusServico, Observacoes, DthEntCertif, DthUltAtualiz, UsuResp) VALUES (20, 'CERT-001', "
             "'OCC1', "
             "'BR', '11222333000181', 'S', 'Equipe própria', '2024-01-08T00:00:00.000', "
             "'2024-01-08T00:00:00.000', 'ana')");
        exec("INSERT INTO DOC_NORM_CERT_PRODUTO (SiglaCertificador, NumCertif, IdClasseCertif, IdClasseProd, "
             "IdDocNorm, DthEntDNCP, Status_DNCP, DthUltAtualiz, UsuResp) VALUES ('OCC1', 'CERT-001', 'VOL', "
             "110, "
             "1004, '2024-01-09T00:00:00.000', 'A', '2024-01-09T00:00:00.000', 'ana')");
        exec(
            "INSERT INTO STATUS_C (SiglaCertificador, NumCertif, SeqEvento, Evento, Justificativa, "
            "HistoricoSis, "
            "StatusCertificado, DthStatusCertificado, DthUltAtualiz, UsuResp) VALUES ('OCC1', 'CERT-001', 1, "
            "'INC', 'Historico gerado pelo sistema', '2', 'A', '2024-01-02T00:00:00.000', "
            "'2024-01-02T10:00:00.000', 'ana'), ('OCC1', 'CERT-001', 2, 'ALT', 'Nota do usuário', '1', 'A', "
            "'2024-01-10T00:00:00.000', '2024-01-10T10:00:00.000', 'ana'), ('OCC1', 'CERT-001', 3, 'APR', "
            "'Historico gerado pelo sistema', '2', 'A', '2024-01-11T00:00:00.000', "
            "'2024-01-11T10:00:00.000', "
            "'ana')");
        // AAA's VAZIO-1 has everything OCC1's lacks.
        exec("INSERT INTO TIPO (SiglaCertificador, NumCertif, MarcaProd, ModeloProd, Importado, "
             "StatusProduto, "
             "DthUltAtualiz, UsuResp) VALUES ('AAA', 'VAZIO-1', 'ACME', 'X1', 1, 'A', "
             "'2024-01-05T00:00:00.000', 'ana')");
        exec("INSERT INTO DOC_NORM_CERT_PRODUTO (SiglaCertificador, NumCertif, IdClasseCertif, IdClasseProd, "
             "IdDocNorm, DthEntDNCP, Status_DNCP, DthUltAtualiz, UsuResp) VALUES ('AAA', 'VAZIO-1', 'COMP', "
             "110, "
             "1001, '2024-01-09T00:00:00.000', 'A', '2024-01-09T00:00:00.000', 'ana')");
        // CERT-002: a type line only.
        exec("INSERT INTO TIPO (SiglaCertificador, NumCertif, MarcaProd, ModeloProd, Importado, "
             "StatusProduto, "
             "DthUltAtualiz, UsuResp) VALUES ('OCC1', 'CERT-002', 'Beta', 'Z', 0, 'A', "
             "'2024-01-05T00:00:00.000', 'ana')");
    }

    void exec(const char* sql) { Sql::execute(db, QString::fromUtf8(sql)); }

    void certificado(const char* sigla, const char* num, const char* classeC, int classeP, const char* status,
                     bool completo, bool aprovado, QDate alterado, QDate validade = QDate(2027, 1, 1)) {
        Sql::execute(
            db,
            "INSERT INTO CERTIFIC (SiglaCertificador, NumCertif, StatusCertificado, IdClasseCertif, "
            "IdClasseProd, DataEmissao, DataValid, LabEnsaio, NumRelEnsaio, Signatarios, Completo, "
            "Aprovado, DthUltAtualiz, UsuResp) VALUES (:s, :n, :st, :cc, :cp, :e, :v, 'Laboratório Ômega', "
            "'RE-2024/7', 'José Antônio', :c, :a, :u, 'ana')",
            {{":s", QString::fromUtf8(sigla)},
             {":n", QString::fromUtf8(num)},
             {":st", QString::fromUtf8(status)},
             {":cc", QString::fromUtf8(classeC)},
             {":cp", classeP},
             {":e", Sql::dateValue(QDate(2024, 1, 2))},
             {":v", Sql::dateValue(validade)},
             {":c", completo},
             {":a", aprovado},
             {":u", QDateTime(alterado, QTime(8, 15, 30))}});
    }

    void vinculo(const char* sigla, const char* num, const char* id, const char* status, int papel) {
        Sql::execute(
            db,
            "INSERT INTO EMP_CERT (SiglaCertificador, NumCertif, CodigoPais, IdEmpresa, StatusEmpresa, "
            "IdPapelEmp, DthEntEmpresa, DthUltAtualiz, UsuResp) VALUES (:s, :n, 'BR', :i, :st, :p, :d, "
            ":d, 'ana')",
            {{":s", QString::fromUtf8(sigla)},
             {":n", QString::fromUtf8(num)},
             {":i", QString::fromUtf8(id)},
             {":st", QString::fromUtf8(status)},
             {":p", papel},
             {":d", Sql::dateValue(QDate(2024, 1, 4))}});
    }

    void produto(const QString& marca, const QString& modelo, int importado, const QString& ean,
                 const QString& descricao) {
        Sql::execute(
            db,
            "INSERT INTO PRODUTO (MarcaProd, ModeloProd, Importado, CodEANUPC, DescrProd, DthUltAtualiz, "
            "UsuResp) VALUES (:m, :o, :i, :e, :d, :now, 'ana')",
            {{":m", marca},
             {":o", modelo},
             {":i", importado},
             {":e", ean.isEmpty() ? QVariant() : QVariant(ean)},
             {":d", descricao.isEmpty() ? QVariant() : QVariant(descricao)},
             {":now", clock.now()}});
    }

    ReportContext context() const { return ReportContext::of(session); }

    TestHome home;
    QSqlDatabase db;
    ManualClock clock;
    ScriptedPrompts prompts;
    Session session;
};

// The text of a PDF as pdftotext reads it, page by page (pages split at form feeds).
inline QStringList pdfPages(const QString& file) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                          QStringLiteral("UTF-8"), file, QStringLiteral("-")});
    p.waitForFinished(30000);
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// Writes the document as PDF and reads its pages back.
inline QStringList renderedPages(const Report::Document& document) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("relatorio.pdf"));
    QString error;
    EXPECT_TRUE(Report::writePdf(document, file, &error)) << error;
    return pdfPages(file);
}

// Texts appear in the given order in the text.
inline ::testing::AssertionResult inOrder(const QString& text, const QStringList& parts) {
    qsizetype from = 0;
    for (const QString& part : parts) {
        const qsizetype at = text.indexOf(part, from);
        if (at < 0)
            return ::testing::AssertionFailure()
                   << "\"" << part.toStdString() << "\" not found (in order) in:\n"
                   << text.toStdString();
        from = at + part.size();
    }
    return ::testing::AssertionSuccess();
}
