#pragma once

#include "Clock.h"
#include "Cp1252.h"
#include "Database.h"
#include "ImportacaoTxt.h"
#include "LogImportacao.h"
#include "SampleReference.h"
#include "ScriptedPrompts.h"
#include "Sql.h"
#include "TestHome.h"

#include "PrintQString.h"
#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Text placed at 1-based columns of one line, blanks between.
inline QString colunas(std::initializer_list<std::pair<int, QString>> campos) {
    QString linha;
    for (const auto& [coluna, texto] : campos) {
        if (linha.size() < coluna - 1)
            linha += QString(coluna - 1 - linha.size(), QLatin1Char(' '));
        linha = linha.left(coluna - 1) + texto;
    }
    return linha;
}

// Records of an import file, written as the file documentation lays them out.
namespace Txt {

inline const QString Cnpj = QStringLiteral("11222333000181");
inline const QString Cpf = QStringLiteral("52998224725");

inline QStringList certific(const QString& num, const QString& status = "A",
                            const QString& emissao = "10/11/2015", const QString& validade = "10/11/2018",
                            const QString& dthStatus = "10/11/2015", const QString& sigla = "OCC1") {
    return {"[CERTIFIC]",
            colunas({{1, sigla},
                     {9, num},
                     {39, status},
                     {40, "110"},
                     {50, "COMP"},
                     {60, emissao},
                     {70, validade},
                     {80, dthStatus}}),
            "Laboratório Central",
            "REL-77",
            "Fulano de Tal",
            ""};
}

inline QStringList statusC(const QString& num, const QString& evento = "ALT", const QString& status = "A",
                           const QString& data = "20/11/2015", const QString& historico = "2") {
    return {"[STATUS_C]",
            colunas({{1, "OCC1"}, {9, num}, {39, evento}, {42, historico}, {43, status}, {44, data}}),
            "Alteração pedida pelo cliente"};
}

inline QStringList empresa(const QString& cgc = Cnpj, const QString& id = Cnpj,
                           const QString& razao = "Indústria Ótima Ltda", const QString& pais = "BR",
                           const QString& tipo = "1", const QString& cpf = "") {
    return {"[EMPRESA]", colunas({{1, pais}, {5, cgc}, {35, "Ótima"}, {75, "Rua das Flores"}, {195, "SP"}}),
            id, razao, colunas({{1, "contato@otima.com.br"}, {51, tipo}, {52, cpf}})};
}

inline QStringList empCert(const QString& num, const QString& id = Cnpj, const QString& pais = "BR",
                           const QString& status = "A") {
    return {"[EMP_CERT]",
            colunas({{1, "OCC1"},
                     {9, num},
                     {39, pais},
                     {43, status},
                     {44, "1"},
                     {54, "10/11/2015"},
                     {64, "10/11/2015"}}),
            id};
}

inline QStringList produto(const QString& marca = "Marca", const QString& modelo = "Modelo X",
                           const QString& importado = "0") {
    return {"[PRODUTO]", marca, modelo, colunas({{1, importado}, {11, "7890000000001"}}),
            "Descrição do produto"};
}

inline QStringList tipo(const QString& num, const QString& marca = "Marca",
                        const QString& modelo = "Modelo X", const QString& id = Cnpj,
                        const QString& status = "A", const QString& dthStatus = "10/11/2015") {
    return {"[TIPO]",
            colunas({{1, num},
                     {31, "OCC1"},
                     {39, "0"},
                     {49, "BR"},
                     {53, "10/11/2015"},
                     {63, status},
                     {64, dthStatus}}),
            marca, modelo, id};
}

inline QStringList statusT(const QString& num, const QString& marca = "Marca",
                           const QString& modelo = "Modelo X") {
    return {
        "[STATUS_T]",
        colunas({{1, "OCC1"}, {9, num}, {39, "0"}, {49, "ALT"}, {52, "2"}, {53, "A"}, {54, "20/11/2015"}}),
        marca, modelo, "Mudança de data"};
}

inline QStringList docNormTipo(const QString& num, const QString& marca = "Marca",
                               const QString& modelo = "Modelo X") {
    return {"[DOC_NORM_TIPO]",
            colunas({{1, num},
                     {31, "OCC1"},
                     {39, "0"},
                     {49, "COMP"},
                     {59, "110"},
                     {69, "1"},
                     {79, "10/11/2015"},
                     {89, "A"},
                     {90, "10/11/2015"}}),
            marca, modelo};
}

inline QStringList lote(const QString& numLote, const QString& num, const QString& validade = "") {
    return {"[LOTE]",
            colunas({{1, numLote},
                     {21, "OCC1"},
                     {29, num},
                     {59, "0"},
                     {69, "BR"},
                     {73, "10/11/2015"},
                     {83, "A"},
                     {84, "10/11/2015"},
                     {94, "100"},
                     {124, "01/11/2015"},
                     {134, validade}}),
            "Marca", "Modelo X", Cnpj};
}

inline QStringList unidade(const QString& serie, const QString& num, const QString& local = "Galpão 1") {
    return {"[UNIDADE]",
            colunas({{1, serie},
                     {21, num},
                     {51, "OCC1"},
                     {59, "0"},
                     {69, "BR"},
                     {73, "10/11/2015"},
                     {83, "A"},
                     {84, "10/11/2015"}}),
            "Marca",
            "Modelo X",
            Cnpj,
            local,
            ""};
}

inline QStringList statusU(const QString& serie, const QString& num) {
    return {"[STATUS_U]",
            colunas({{1, serie},
                     {21, num},
                     {51, "OCC1"},
                     {59, "0"},
                     {69, "ALT"},
                     {72, "2"},
                     {73, "A"},
                     {74, "20/11/2015"}}),
            "Marca", "Modelo X", "Troca do local"};
}

// A certificate with everything it needs to be complete.
inline QStringList completo(const QString& num) {
    return certific(num) + empCert(num) + tipo(num) + docNormTipo(num);
}

} // namespace Txt

// A fresh database with the certifier "OCC1" configured and the sample reference tables (countries,
// company roles, classes), the clock at 25/11/2015 14:03:59, and an import directory.
class ImportFixture : public ::testing::Test {
protected:
    TestHome home;
    QSqlDatabase db;
    ManualClock clock{QDateTime(QDate(2015, 11, 25), QTime(14, 3, 59))};
    ScriptedPrompts prompts;
    QTemporaryDir pasta;

    void SetUp() override {
        db = home.openDatabase();
        ASSERT_SQL(db, QStringLiteral(
                           "INSERT INTO CONFIG_LOCAL (SiglaCertificador, NomeOCC) VALUES ('OCC1', 'Org')"));
        loadSampleReference(db, QStringLiteral("OCC1"));
    }

    QString dir() const { return pasta.path(); }

    // Writes a file of the lines in Windows-1252 with CR LF.
    void escreve(const QString& nome, const QStringList& linhas) {
        QFile f(QDir(dir()).filePath(nome));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Cp1252::encodeLossy(linhas.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    }

    void escreveBytes(const QString& nome, const QByteArray& bytes) {
        QFile f(QDir(dir()).filePath(nome));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    ImportacaoTxt::Parametros parametros(bool podeAprovar = true) {
        ImportacaoTxt::Parametros p;
        p.db = db;
        p.clock = &clock;
        p.prompts = &prompts;
        p.usuario = QStringLiteral("maria");
        p.podeAprovar = podeAprovar;
        return p;
    }

    QList<ResultadoArquivo> importa(const QStringList& arquivos, bool podeAprovar = true) {
        ImportacaoTxt run(parametros(podeAprovar));
        return run.importa(dir(), arquivos);
    }

    ResultadoArquivo importaUm(const QString& nome, const QStringList& linhas) {
        escreve(nome, linhas);
        const auto r = importa({nome});
        return r.isEmpty() ? ResultadoArquivo{} : r.first();
    }

    QString leArquivo(const QString& nome) const { return LogImportacao::le(QDir(dir()).filePath(nome)); }
    QStringList linhasDe(const QString& nome) const {
        QStringList l = leArquivo(nome).split(QStringLiteral("\r\n"));
        if (!l.isEmpty() && l.last().isEmpty())
            l.removeLast();
        return l;
    }

    int conta(const QString& tabela) {
        return Sql::scalar(db, QStringLiteral("SELECT count(*) FROM ") + tabela).toInt();
    }
    QVariant valor(const QString& sql, Sql::Params params = {}) { return Sql::scalar(db, sql, params); }
    // Every row of a statement, columns joined by "|".
    QStringList linhasSql(const QString& sql) {
        QStringList rows;
        QSqlQuery q = Sql::exec(db, sql);
        while (q.next()) {
            QStringList cols;
            for (int i = 0; i < q.record().count(); ++i)
                cols << (q.value(i).isNull() ? QStringLiteral("NULL") : q.value(i).toString());
            rows << cols.join(QLatin1Char('|'));
        }
        return rows;
    }
};

inline const QString Nome1 = QStringLiteral("TX-OCC12015112501.txt");
inline const QString Nome2 = QStringLiteral("TX-OCC12015112502.txt");
