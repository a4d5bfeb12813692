#pragma once

#include "DocumentosNormativos.h"
#include "RegistroFixture.h"
#include "TDMDocNorm.h"

// A certificate "C-1" (class COMP, products 110, emitted 10/11/2015) open in the register, with a
// company, and helpers that write its lines as the line editors leave them.
class DocNormFixture : public RegistroFixture {
protected:
    static inline const QString Numero = QStringLiteral("C-1");
    static inline const QString Cnpj = QStringLiteral("11222333000181");

    void SetUp() override {
        RegistroFixture::SetUp();
        cria(Numero);
        Sql::execute(
            db,
            QStringLiteral("INSERT INTO EMPRESA (CodigoPais, IdEmpresa, TipoPessoa, CGC, RazSocialEmp, "
                           "DthUltAtualiz, UsuResp) VALUES ('BR', :id, '1', :id, 'FRIO LTDA', :d, 'ana')"),
            {{":id", Cnpj}, {":d", clock.now()}});
        Sql::execute(
            db,
            QStringLiteral("INSERT INTO EMP_CERT (SiglaCertificador, NumCertif, CodigoPais, IdEmpresa, "
                           "StatusEmpresa, IdPapelEmp) VALUES ('OCC1', :n, 'BR', :id, 'A', 1)"),
            {{":n", Numero}, {":id", Cnpj}});
    }

    void produto(const QString& marca, const QString& modelo) {
        Sql::execute(
            db,
            QStringLiteral("INSERT OR IGNORE INTO PRODUTO (MarcaProd, ModeloProd, Importado, DthUltAtualiz, "
                           "UsuResp) VALUES (:m, :o, 0, :d, 'ana')"),
            {{":m", marca}, {":o", modelo}, {":d", clock.now()}});
    }
    void tipo(const QString& marca, const QString& modelo, const QString& status = QStringLiteral("A")) {
        produto(marca, modelo);
        Sql::execute(db,
                     QStringLiteral(
                         "INSERT INTO TIPO (SiglaCertificador, NumCertif, MarcaProd, ModeloProd, Importado, "
                         "StatusProduto, DthUltAtualiz, UsuResp) VALUES ('OCC1', :n, :m, :o, 0, :s, :d, "
                         "'ana')"),
                     {{":n", Numero}, {":m", marca}, {":o", modelo}, {":s", status}, {":d", clock.now()}});
    }
    void lote(const QString& marca, const QString& modelo, const QString& numLote) {
        produto(marca, modelo);
        Sql::execute(
            db,
            QStringLiteral("INSERT INTO LOTE (NumLote, SiglaCertificador, NumCertif, MarcaProd, ModeloProd, "
                           "Importado, StatusLote) VALUES (:l, 'OCC1', :n, :m, :o, 0, 'S')"),
            {{":l", numLote}, {":n", Numero}, {":m", marca}, {":o", modelo}});
    }
    void unidade(const QString& marca, const QString& modelo, const QString& serie) {
        produto(marca, modelo);
        Sql::execute(
            db,
            QStringLiteral("INSERT INTO UNIDADE (NumSerieProd, SiglaCertificador, NumCertif, MarcaProd, "
                           "ModeloProd, Importado, StatusUnidade, DthUltAtualiz, UsuResp) VALUES (:s, "
                           "'OCC1', :n, :m, :o, 0, 'A', :d, 'ana')"),
            {{":s", serie}, {":n", Numero}, {":m", marca}, {":o", modelo}, {":d", clock.now()}});
    }
    void servico(int classe) {
        Sql::execute(
            db,
            QStringLiteral("INSERT INTO SERVICO (IdClasseServ, SiglaCertificador, NumCertif, CodigoPais, "
                           "IdEmpresa, StatusServico, DthUltAtualiz, UsuResp) VALUES (:c, 'OCC1', :n, 'BR', "
                           ":id, 'A', :d, 'ana')"),
            {{":c", classe}, {":n", Numero}, {":id", Cnpj}, {":d", clock.now()}});
    }

    ItemDocNorm item(EscopoDocNorm escopo) const {
        ItemDocNorm i;
        i.escopo = escopo;
        i.SiglaCertificador = QStringLiteral("OCC1");
        i.NumCertif = Numero;
        i.IdClasseCertif = QStringLiteral("COMP");
        i.DataEmissao = QDate(2015, 11, 10);
        i.IdClasseProd = 110;
        return i;
    }
    ItemDocNorm itemTipo(const QString& marca, const QString& modelo) const {
        ItemDocNorm i = item(EscopoDocNorm::Tipo);
        i.MarcaProd = marca;
        i.ModeloProd = modelo;
        return i;
    }

    static QList<int> ids(const QList<CandidatoDocNorm>& list) {
        QList<int> out;
        for (const CandidatoDocNorm& c : list)
            out << c.IdDocNorm;
        return out;
    }
    static CandidatoDocNorm candidato(const QList<CandidatoDocNorm>& list, int id) {
        for (const CandidatoDocNorm& c : list)
            if (c.IdDocNorm == id)
                return c;
        ADD_FAILURE() << "no candidate " << id;
        return {};
    }
    int aprovado() {
        return conta(QStringLiteral("SELECT Aprovado FROM CERTIFIC WHERE NumCertif = :n"), {{":n", Numero}});
    }
    int completo() {
        return conta(QStringLiteral("SELECT Completo FROM CERTIFIC WHERE NumCertif = :n"), {{":n", Numero}});
    }
    // Approved by the approval page; reopened so the register knows it.
    void aprovaAberto() {
        aprova(Numero, clock.now());
        ASSERT_TRUE(dm.CarregaCertificado(QStringLiteral("OCC1"), Numero));
    }
};
