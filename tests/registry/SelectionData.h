#pragma once

#include "Clock.h"
#include "Database.h"
#include "SampleReference.h"
#include "ScriptedPrompts.h"
#include "Session.h"
#include "Sql.h"
#include "TestHome.h"

#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

// A register with the sample reference data of "OCC1" and a few certificates, companies, products
// and product lines (certificate: class of certificate / class of products; companies; lines):
//
// - CERT-001: VOL / 110 (ar condicionado); Alfa, Shenzhen, Maria; TIPO ACME/X1 imported
// - CERT-002: COMP / 110; Maria (natural person); UNIDADE acme/y2 national
// - CERT-003: SERV / 110; Alfa; TIPO Beta/Z national, a service of class 10
// - ABC'1: COMP / 200 (Brinquedos); Shenzhen; TIPO ACME/X1 imported
// - XYZ-100: COMP / 200; no company; LOTE Marca D'Agua/M1 national
// - lab-7: COMP / 120 (not accredited)
// - SEMCLASSE: NOPE (unknown) / 110
// - AAA-9 (acronym "AAA"): COMP / 110
//
// Companies: Alfa Industria ("Alfa", 11222333000181), Alfa Filial ("Alfinha", 11222333000262),
// Gama Comercio ("Gama", 44555666000177), Shenzhen Co (China), Maria da Silva (CPF 12345678909).
// Products: ACME/X1 imported (EAN "123"), acme/y2, Beta/Z ("789"), Marca D'Agua/M1 ("7890000000001").
class SelectionData : public ::testing::Test {
protected:
    SelectionData()
        : db(home.openDatabase()), clock(QDateTime(QDate(2024, 3, 15), QTime(9, 30))),
          session(Database::ConnectionName, clock, prompts) {
        session.setUser(LoggedUser{QStringLiteral("joao"), QStringLiteral("OCC1"), Permissions::all()});
        loadSampleReference(db, QStringLiteral("OCC1"));
        exec("INSERT INTO CONFIG_LOCAL (SiglaCertificador, NomeOCC) VALUES ('OCC1', 'Organismo de Teste')");

        certificado("OCC1", "CERT-001", "VOL", 110, QDate(2020, 1, 10), QDate(2025, 1, 10));
        certificado("OCC1", "CERT-002", "COMP", 110, QDate(2021, 2, 11), QDate(2026, 2, 11));
        certificado("OCC1", "CERT-003", "SERV", 110, QDate(2022, 3, 12), QDate(2027, 3, 12));
        certificado("OCC1", "ABC'1", "COMP", 200, QDate(2019, 4, 13), QDate(2024, 4, 13));
        certificado("OCC1", "XYZ-100", "COMP", 200, QDate(2018, 5, 14), QDate(2023, 5, 14));
        certificado("OCC1", "lab-7", "COMP", 120, QDate(2017, 6, 15), QDate(2022, 6, 15));
        certificado("OCC1", "SEMCLASSE", "NOPE", 110, QDate(2017, 6, 15), QDate(2022, 6, 15));
        certificado("AAA", "AAA-9", "COMP", 110, QDate(2016, 7, 16), QDate(2021, 7, 16));

        empresa("BR", "11222333000181", "1", "11222333000181", "Alfa Industria", "Alfa", "", "");
        empresa("BR", "11222333000262", "1", "11222333000262", "Alfa Filial", "Alfinha", "", "");
        empresa("BR", "44555666000177", "1", "44555666000177", "Gama Comercio", "Gama", "", "");
        empresa("CN", "Shenzhen Co", "1", "", "Shenzhen Co", "Shenzhen", "", "");
        empresa("BR", "12345678909", "2", "", "", "", "12345678909", "Maria da Silva");

        vinculo("CERT-001", "BR", "11222333000181");
        vinculo("CERT-001", "CN", "Shenzhen Co");
        vinculo("CERT-001", "BR", "12345678909");
        vinculo("CERT-002", "BR", "12345678909");
        vinculo("CERT-003", "BR", "11222333000181");
        vinculo("ABC'1", "CN", "Shenzhen Co");

        produto("ACME", "X1", 1, "123");
        produto("acme", "y2", 0, QString());
        produto("Beta", "Z", 0, "789");
        produto("Marca D'Agua", "M1", 0, "7890000000001");

        linha("TIPO", "CERT-001", "ACME", "X1", 1);
        linha("UNIDADE", "CERT-002", "acme", "y2", 0);
        linha("TIPO", "CERT-003", "Beta", "Z", 0);
        linha("TIPO", "ABC'1", "ACME", "X1", 1);
        linha("LOTE", "XYZ-100", "Marca D'Agua", "M1", 0);
        Sql::execute(
            db,
            "INSERT INTO SERVICO (IdClasseServ, NumCertif, SiglaCertificador, CodigoPais, IdEmpresa, "
            "StatusServico, DthUltAtualiz, UsuResp) VALUES (10, 'CERT-003', 'OCC1', 'BR', "
            "'11222333000181', 'A', :now, 'ana')",
            {{":now", clock.now()}});
    }

    void exec(const char* sql) { Sql::execute(db, QString::fromUtf8(sql)); }

    void certificado(const char* sigla, const char* num, const char* classeC, int classeP, QDate emissao,
                     QDate validade) {
        Sql::execute(
            db,
            "INSERT INTO CERTIFIC (SiglaCertificador, NumCertif, StatusCertificado, IdClasseCertif, "
            "IdClasseProd, DataEmissao, DataValid, DthUltAtualiz, UsuResp) VALUES (:s, :n, 'A', :cc, "
            ":cp, :e, :v, :e, 'ana')",
            {{":s", QString::fromUtf8(sigla)},
             {":n", QString::fromUtf8(num)},
             {":cc", QString::fromUtf8(classeC)},
             {":cp", classeP},
             {":e", Sql::dateValue(emissao)},
             {":v", Sql::dateValue(validade)}});
    }

    void empresa(const char* pais, const char* id, const char* tipo, const char* cgc, const char* razao,
                 const char* fantasia, const char* cpf, const char* pessoa) {
        auto orNull = [](const char* text) { return *text ? QVariant(QString::fromUtf8(text)) : QVariant(); };
        Sql::execute(
            db,
            "INSERT INTO EMPRESA (CodigoPais, IdEmpresa, TipoPessoa, CGC, RazSocialEmp, NomFantasia, CPF, "
            "NomPessoaFisica, EndLogr, EndNum, EndCEP, EndBairro, EndCidade, SiglaUF, Telefone, Fax, "
            "Email, DthUltAtualiz, UsuResp) VALUES (:p, :i, :t, :cgc, :r, :f, :cpf, :pf, 'Rua das Flores', "
            "'100', '01310100', 'Centro', 'São Paulo', 'SP', '11 5555-0000', '11 5555-0001', "
            "'contato@exemplo.com.br', :now, 'ana')",
            {{":p", QString::fromUtf8(pais)},
             {":i", QString::fromUtf8(id)},
             {":t", QString::fromUtf8(tipo)},
             {":cgc", orNull(cgc)},
             {":r", orNull(razao)},
             {":f", orNull(fantasia)},
             {":cpf", orNull(cpf)},
             {":pf", orNull(pessoa)},
             {":now", clock.now()}});
    }

    void vinculo(const char* num, const char* pais, const char* id) {
        Sql::execute(
            db,
            "INSERT INTO EMP_CERT (SiglaCertificador, NumCertif, CodigoPais, IdEmpresa, StatusEmpresa, "
            "IdPapelEmp, DthUltAtualiz, UsuResp) VALUES ('OCC1', :n, :p, :i, 'A', 1, :now, 'ana')",
            {{":n", QString::fromUtf8(num)},
             {":p", QString::fromUtf8(pais)},
             {":i", QString::fromUtf8(id)},
             {":now", clock.now()}});
    }

    void produto(const QString& marca, const QString& modelo, int importado, const QString& ean) {
        Sql::execute(
            db,
            "INSERT INTO PRODUTO (MarcaProd, ModeloProd, Importado, CodEANUPC, DthUltAtualiz, UsuResp) "
            "VALUES (:m, :o, :i, :e, :now, 'ana')",
            {{":m", marca},
             {":o", modelo},
             {":i", importado},
             {":e", ean.isNull() ? QVariant() : QVariant(ean)},
             {":now", clock.now()}});
    }

    // One product line of the certificate in TIPO, LOTE or UNIDADE.
    void linha(const QString& tabela, const char* num, const QString& marca, const QString& modelo,
               int importado) {
        QString sql;
        if (tabela == "TIPO")
            sql = "INSERT INTO TIPO (SiglaCertificador, NumCertif, MarcaProd, ModeloProd, Importado, "
                  "StatusProduto, "
                  "DthUltAtualiz, UsuResp) VALUES ('OCC1', :n, :m, :o, :i, 'A', :now, 'ana')";
        else if (tabela == "LOTE")
            sql =
                "INSERT INTO LOTE (NumLote, SiglaCertificador, NumCertif, MarcaProd, ModeloProd, Importado, "
                "StatusLote, DthUltAtualiz, UsuResp) VALUES ('L1', 'OCC1', :n, :m, :o, :i, 'A', :now, 'ana')";
        else
            sql = "INSERT INTO UNIDADE (NumSerieProd, SiglaCertificador, NumCertif, MarcaProd, ModeloProd, "
                  "Importado, StatusUnidade, DthUltAtualiz, UsuResp) VALUES ('S1', 'OCC1', :n, :m, :o, :i, "
                  "'A', "
                  ":now, 'ana')";
        Sql::execute(db, sql,
                     {{":n", QString::fromUtf8(num)},
                      {":m", marca},
                      {":o", modelo},
                      {":i", importado},
                      {":now", clock.now()}});
    }

    TestHome home;
    QSqlDatabase db;
    ManualClock clock;
    ScriptedPrompts prompts;
    Session session;
};
