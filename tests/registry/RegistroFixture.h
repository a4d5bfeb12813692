#pragma once

#include "Clock.h"
#include "Database.h"
#include "SampleReference.h"
#include "ScriptedPrompts.h"
#include "Session.h"
#include "Sql.h"
#include "TDMCertif.h"
#include "TestHome.h"

#include "PrintQString.h"
#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

// A fresh database with the sample reference data, the certifier "OCC1" configured, the user "maria"
// logged in, a clock standing at 25/11/2015 14:03:59 and a data module whose justification asker
// answers from `resposta`.
class RegistroFixture : public ::testing::Test {
protected:
    TestHome home;
    QSqlDatabase db;
    ManualClock clock{QDateTime(QDate(2015, 11, 25), QTime(14, 3, 59))};
    ScriptedPrompts prompts;
    Session session{Database::ConnectionName, clock, prompts};
    std::optional<Justificativa> resposta;
    int perguntas = 0;
    TDMCertif dm{session, [this](bool, const QDate&) {
                     ++perguntas;
                     return resposta;
                 }};

    void SetUp() override {
        db = home.openDatabase();
        session.setUser(LoggedUser{QStringLiteral("maria"), QStringLiteral("OCC1"), Permissions::all()});
        ASSERT_SQL(db, QStringLiteral(
                           "INSERT INTO CONFIG_LOCAL (SiglaCertificador, NomeOCC) VALUES ('OCC1', 'Org')"));
        loadSampleReference(db, QStringLiteral("OCC1"));
    }

    // A certificate created as the register does, left open.
    void cria(const QString& numero, const QString& emissao = QStringLiteral("10/11/2015"),
              const QString& validade = QStringLiteral("10/11/2018")) {
        ASSERT_TRUE(dm.Novo());
        dm.registro().NumCertif = numero;
        dm.registro().IdClasseCertif = QStringLiteral("COMP");
        dm.registro().IdClasseProd = 110;
        ASSERT_TRUE(dm.salvaInclusao(emissao, validade).salvo) << prompts.lastText().toStdString();
    }

    QVariant valor(const QString& sql, Sql::Params params = {}) { return Sql::scalar(db, sql, params); }
    int conta(const QString& sql, Sql::Params params = {}) { return valor(sql, params).toInt(); }

    // An approval event as the approval page writes it.
    void aprova(const QString& numero, const QDateTime& quando) {
        Sql::execute(
            db,
            QStringLiteral("INSERT INTO STATUS_C (SiglaCertificador, NumCertif, SeqEvento, Evento, "
                           "HistoricoSis, StatusCertificado, DthStatusCertificado, DthUltAtualiz, UsuResp) "
                           "VALUES ('OCC1', :n, (SELECT IFNULL(MAX(SeqEvento), 0) + 1 FROM STATUS_C), "
                           "'APR', '2', 'A', :d, :d, 'ana')"),
            {{":n", numero}, {":d", quando}});
        Sql::execute(db, QStringLiteral("UPDATE CERTIFIC SET Aprovado = 1 WHERE NumCertif = :n"),
                     {{":n", numero}});
    }

    // A row of the certificate in any of its tables: the certificate's key, and a plain value of its
    // declared type in every other required column.
    void insereLinha(const QString& table, const QString& numero) {
        QSqlQuery info = Sql::exec(db, QStringLiteral("PRAGMA table_info(%1)").arg(table));
        QStringList columns, values;
        while (info.next()) {
            const QString name = info.value(1).toString();
            const QString type = info.value(2).toString().toUpper();
            const bool required = info.value(3).toInt() != 0;
            if (name.compare(QLatin1String("SiglaCertificador"), Qt::CaseInsensitive) == 0) {
                columns << name;
                values << QStringLiteral("'OCC1'");
            } else if (name.compare(QLatin1String("NumCertif"), Qt::CaseInsensitive) == 0) {
                columns << name;
                values << Sql::quoted(numero);
            } else if (required && name != QLatin1String("ID_Signatario")) {
                columns << name;
                values << (type.startsWith(QLatin1String("VARCHAR")) ? QStringLiteral("'X'")
                           : type == QLatin1String("DATETIME") ? QStringLiteral("'2015-11-10T00:00:00.000'")
                           : type == QLatin1String("BOOLEAN")  ? QStringLiteral("0")
                                                               : QStringLiteral("1"));
            }
        }
        Sql::execute(db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                             .arg(table, columns.join(QLatin1Char(',')), values.join(QLatin1Char(','))));
    }
};
