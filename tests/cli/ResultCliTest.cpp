// "batch result", run as users run it: the real executable, a real FTP server for --fetch.

#include "Backups.h"
#include "CliFixture.h"
#include "Embaralha.h"
#include "ResultadoRemessa.h"
#include "TabelaRemessa.h"
#include "TestServers.h"

#include <QTemporaryDir>
#include <QThread>

namespace {

class ResultCli : public Cli {
protected:
    // A batch prepared by the companion and delivered (the TR event the delivery records).
    QString preparedAndDelivered() {
        const Outcome prepared = cli({"batch", "prepare", "--partial"});
        QThread::msleep(5);
        EXPECT_EQ(prepared.status, 0) << prepared.err.toStdString();
        numero = QDate::currentDate().toString("yyyyMMdd") +
                 Sql::scalar(db, "SELECT substr(max(NumeroRemessa), 9) FROM CONTROLE").toString();
        Sql::execute(db,
                     "INSERT INTO CONTROLE (DataHoraEvento, NumeroRemessa, TipoRemessa, Evento, Usuario) "
                     "VALUES (:d, :n, 'C', 'TR', 'maria')",
                     {{":d", QDateTime::currentDateTime()}, {":n", numero}});
        QThread::msleep(5); // the companion's events come after it
        return QFileInfo(prepared.out.trimmed()).fileName();
    }
    static QString codigo(const QString& texto) {
        return QString::fromLatin1(EmbaralhaCodigo(Direcao::Codificar, texto.toLatin1()));
    }
    qint64 replicaRows() const {
        qint64 total = 0;
        for (const TabelaRemessa& tabela : TabelasRemessa())
            total += Sql::scalar(db, "SELECT count(*) FROM " + tabela.replica()).toLongLong();
        return total;
    }

    QString numero;
};

TEST_F(ResultCli, AManualCodeIsCheckedConfirmedAndProcessed) {
    certificado("C-1", true);
    const QString arquivo = preparedAndDelivered();

    const Outcome wrong = cli({"batch", "result", "--code", codigo("XX" + numero + "OX")});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_TRUE(wrong.err.contains("Senha Inválida: A senha não é válida. Tente novamente.")) << wrong.err;

    // Without --yes and without a terminal the confirmation is "Não".
    const Outcome unconfirmed = cli({"batch", "result", "--code", codigo("XX" + numero + "OK")});
    EXPECT_EQ(unconfirmed.status, 1);
    EXPECT_TRUE(unconfirmed.err.contains("Confirma Resultado Informado? Remessa Válida")) << unconfirmed.err;
    EXPECT_EQ(lastEvent(), "TR");
    EXPECT_EQ(replicaRows(), 0);

    const Outcome accepted = cli({"batch", "result", "--code", codigo("XX" + numero + "OK"), "--remarks",
                                  "Por telefone\nProtocolo 7", "--yes"});
    ASSERT_EQ(accepted.status, 0) << accepted.err;
    EXPECT_TRUE(accepted.err.contains("Sincronização efetuada com sucesso...")) << accepted.err;
    EXPECT_EQ(lastEvent(), "OK");
    EXPECT_EQ(Sql::scalar(db, "SELECT Obs FROM CONTROLE WHERE Evento = 'OK'").toString(),
              "<Recebimento Manual>  Por telefone Protocolo 7");
    EXPECT_GT(replicaRows(), 0);
    EXPECT_FALSE(QFileInfo::exists(transf() + arquivo));

    // Nothing awaits a result now, and nothing is left to send.
    const Outcome again = cli({"batch", "result", "--code", codigo("XX" + numero + "OK"), "--yes"});
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.contains("não aguarda resultado")) << again.err;
    const Outcome nothing = cli({"batch", "prepare", "--partial"});
    EXPECT_EQ(nothing.status, 1);
    EXPECT_TRUE(nothing.err.contains("Nenhuma tabela nova foi criada!")) << nothing.err;
}

// The synchronisation rewrites the replicas: a copy first, and without one the batch keeps waiting.
TEST_F(ResultCli, TheSynchronisationIsPrecededByACopyAndStopsWithoutOne) {
    certificado("C-1", true);
    preparedAndDelivered();
    const QStringList accept{"batch", "result", "--code", codigo("XX" + numero + "OK"), "--yes"};
    blockCopies();
    const Outcome stopped = cli(accept);
    EXPECT_EQ(stopped.status, 1);
    EXPECT_TRUE(stopped.err.contains("A operação não foi iniciada")) << stopped.err;
    EXPECT_EQ(lastEvent(), "TR");
    EXPECT_EQ(replicaRows(), 0);

    blockCopies(false);
    const Outcome accepted = cli(accept);
    ASSERT_EQ(accepted.status, 0) << accepted.err;
    EXPECT_GT(replicaRows(), 0);
    const QList<Backups::Copy> copies = Backups::list(Backups::settingsFor(home.path() + "CapaCertific.db"));
    ASSERT_FALSE(copies.isEmpty());
    EXPECT_EQ(copies[0].reason, Backups::Sincronizacao);
}

TEST_F(ResultCli, TheResultIsFetchedFromTheServer) {
    FtpTestServer server;
    ASSERT_TRUE(server.started());
    Sql::execute(db, "UPDATE CONFIG_LOCAL SET EndKavorelResult = :e, LoginFTP = :u, SenhaFTP = :s",
                 {{":e", QString("127.0.0.1:%1/resultado").arg(server.port())},
                  {":u", FtpTestServer::user()},
                  {":s", FtpTestServer::password()}});
    QDir().mkpath(server.pathOf("resultado"));
    certificado("C-1", true);
    const QString arquivo = preparedAndDelivered();

    const Outcome none = cli({"batch", "result", "--fetch"});
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(
        none.err.contains("Resultado não recebido: não há ainda resultado disponível no Kavorel para esta "
                          "remessa."))
        << none.err;
    EXPECT_EQ(lastEvent(), "TR");

    QTemporaryDir work;
    const QString nome = ResultadoRemessa::nomeResultado(arquivo, "NO");
    QFile txt(work.filePath(ResultadoRemessa::nomeObservacoes(nome)));
    ASSERT_TRUE(txt.open(QIODevice::WriteOnly));
    txt.write("Faltou o lote.\n");
    txt.close();
    ASSERT_EQ(QProcess::execute("zip", {"-q", "-j", server.pathOf("resultado/" + nome), txt.fileName()}), 0);

    const Outcome rejected = cli({"batch", "result", "--fetch"});
    ASSERT_EQ(rejected.status, 0) << rejected.err;
    EXPECT_TRUE(rejected.err.contains("Arquivo: " + nome)) << rejected.err;
    EXPECT_TRUE(rejected.err.contains("Resultado recebido com sucesso: remessa foi invalidada pelo Kavorel e "
                                      "exigirá nova remessa.\nFaltou o lote."))
        << rejected.err;
    EXPECT_EQ(lastEvent(), "NO");
    EXPECT_EQ(Sql::scalar(db, "SELECT Obs FROM CONTROLE WHERE Evento = 'NO'").toString(), " Faltou o lote.");
    EXPECT_EQ(replicaRows(), 0);
    EXPECT_TRUE(QFileInfo::exists(transf() + arquivo));
}

TEST_F(ResultCli, TheModeMustBeChosen) {
    for (const QStringList& arguments :
         {QStringList{"batch", "result"}, QStringList{"batch", "result", "--fetch", "--code", "X"},
          QStringList{"batch", "result", "--fetch", "--remarks", "x"}}) {
        const Outcome run = cli(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(' ').toStdString() << run.err.toStdString();
    }
    const Outcome nothing = cli({"batch", "result", "--fetch"});
    EXPECT_EQ(nothing.status, 1);
    EXPECT_TRUE(nothing.err.contains("Nenhuma remessa registrada.")) << nothing.err;
}

} // namespace
