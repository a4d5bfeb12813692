// The whole exchange with the authority, batch after batch: certificates approved by the approval
// routine, prepared, delivered, the authority's verdict placed on a real FTP server, fetched,
// processed; the replicas must then hold exactly what the authority holds.

#include "Aprovacao.h"
#include "BuscaResultado.h"
#include "Formats.h"
#include "FtpClient.h"
#include "ResultFixture.h"
#include "TestServers.h"
#include "TransferenciaRemota.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

class CicloRemessa : public ResultFixture {
protected:
    FtpTestServer server;

    void SetUp() override {
        ResultFixture::SetUp();
        ASSERT_TRUE(server.started()) << server.error().toStdString();
        ASSERT_TRUE(QDir().mkpath(server.pathOf("resultado")));
        ASSERT_TRUE(QDir().mkpath(server.pathOf("envio")));
        Sql::execute(db,
                     "UPDATE CONFIG_LOCAL SET EndKavorelEnvio = :v, EndKavorelResult = :e, LoginFTP = :u, "
                     "SenhaFTP = :s",
                     {{":v", QString("127.0.0.1:%1/envio").arg(server.port())},
                      {":e", QString("127.0.0.1:%1/resultado").arg(server.port())},
                      {":u", FtpTestServer::user()},
                      {":s", FtpTestServer::password()}});
        state.load(db, session.user());
    }

    FtpEndpoint endpoint() const {
        return {"127.0.0.1", server.port(), FtpTestServer::user(), FtpTestServer::password()};
    }

    // Approves every complete certificate not yet approved, as the approval page does.
    void aprovaTodos() {
        clock.advanceSeconds(1);
        Aprovacao::aprova(db, Aprovacao::candidatos(db), "maria", clock.now());
    }
    // A change made on the register withdraws the approval; it is approved again.
    void reaprova(const QString& numero) {
        aprova(numero, false);
        aprovaTodos();
    }

    // The authority places its verdict (with a remarks file) in the result directory by FTP.
    void autoridadeResponde(const QString& arquivo, const QString& veredito, const QByteArray& observacoes) {
        QTemporaryDir work;
        const QString nome = ResultadoRemessa::nomeResultado(arquivo, veredito);
        resultado(work.path(), arquivo, veredito, observacoes);
        FtpClient client(endpoint());
        const FtpResult sent = client.upload(QDir(work.path()).filePath(nome), "resultado", nome);
        ASSERT_TRUE(sent.ok()) << sent.detail.toStdString();
    }

    // Retrieval as "Recebe Resultado Automático" runs it.
    ResultadoRemessa::Desfecho recebe(const QString& arquivo) {
        const FtpAddress address = SeparaEnderecoFTP(state.EndKavorelResult);
        BuscaResultado busca(state.Usuario, state.DirLocalSincr);
        const BuscaResultado::Resultado obtido = busca.busca(
            {address.host, address.port.toInt(), state.LoginFTP, state.SenhaFTP}, address.directory, arquivo);
        EXPECT_EQ(obtido.desfecho, BuscaResultado::Desfecho::Obtido);
        return ResultadoRemessa(session, state).processaAutomatico(arquivo, obtido.caminho);
    }

    // The delivery as "Transfere Arquivo para o Kavorel..." makes it by FTP: the archive arrives
    // whole in the authority's directory and the batch waits for its result.
    void entregaPorFtp(const PreparationResult& preparada) {
        clock.advanceSeconds(60);
        seleciona(preparada.numeroRemessa, "C");
        TransferenciaRemota transferencia(session, state, ModoEntrega::Ftp, state.DirLocalTransf,
                                          preparada.arquivo);
        ASSERT_EQ(transferencia.executa(), TransferenciaRemota::Desfecho::Sucesso)
            << transferencia.log().join('\n').toStdString();
        QFile enviado(QDir(server.pathOf("envio")).filePath(preparada.arquivo));
        QFile local(archivePath(preparada.arquivo));
        ASSERT_TRUE(enviado.open(QIODevice::ReadOnly) && local.open(QIODevice::ReadOnly));
        EXPECT_EQ(enviado.readAll(), local.readAll());
        EXPECT_EQ(ultimoEvento(), "TR");
        clock.advanceSeconds(60);
        seleciona(preparada.numeroRemessa, "C");
    }
    QString preparaEEntregaPorFtp() {
        const PreparationResult preparada = prepara("C", true);
        EXPECT_EQ(preparada.status, PreparationResult::Status::Sucesso) << preparada.mensagem;
        entregaPorFtp(preparada);
        return preparada.arquivo;
    }

    // One turn of the loop: prepare, deliver, the verdict, its retrieval. Returns the archive.
    QString volta(const QString& veredito, const QByteArray& observacoes) {
        const QString arquivo = preparaEEntregaPorFtp();
        EXPECT_TRUE(QFileInfo::exists(archivePath(arquivo)));
        autoridadeResponde(arquivo, veredito, observacoes);
        const ResultadoRemessa::Desfecho desfecho = recebe(arquivo);
        EXPECT_TRUE(desfecho.ok) << desfecho.log.join('\n').toStdString();
        EXPECT_EQ(desfecho.veredito, veredito);
        clock.advanceSeconds(60);
        return arquivo;
    }

    QString ultimoEvento() const {
        return Sql::scalar(db, "SELECT Evento FROM CONTROLE ORDER BY DataHoraEvento DESC LIMIT 1").toString();
    }

    // The replicas are what the authority holds: every approved certificate, nothing of the other.
    void confereReplicas() { expectReplicasEqualLive("C-3", "33333333000133", "Rascunho"); }
};

TEST_F(CicloRemessa, BatchAfterBatchTheReplicasFollowTheRegister) {
    certificado("C-1", false);
    certificado("C-2", false, "22222222000122", "Outra");
    certificado("C-3", false, "33333333000133", "Rascunho"); // never approved: never sent
    Sql::execute(db, "UPDATE CERTIFIC SET Completo = False WHERE NumCertif = 'C-3'");
    Sql::execute(db, "UPDATE SERVICO SET Observacoes = NULL WHERE NumCertif = 'C-1'");
    insertFull("SIGNATARIOS", {{"SiglaCertificador", "OCC"}});
    aprovaTodos();
    ASSERT_EQ(Sql::scalar(db, "SELECT count(*) FROM CERTIFIC WHERE Aprovado = True").toInt(), 2);

    // First turn: the authority accepts the first batch.
    const QString primeira = volta("OK", "Remessa aceita.\r\nSem observações.\r\n");
    EXPECT_EQ(ultimoEvento(), "OK");
    EXPECT_EQ(obsDoEvento("OK"), " Remessa aceita. Sem observações.");
    EXPECT_FALSE(QFileInfo::exists(archivePath(primeira)));
    confereReplicas();
    EXPECT_EQ(prepara().status, PreparationResult::Status::NadaAEnviar);
    EXPECT_TRUE(prompts.shown().isEmpty());

    // Changes on the register: an alteration, a value set where there was none, a line deleted with
    // its documents and events, a line and a certificate added.
    Sql::execute(db,
                 "UPDATE CERTIFIC SET Observacoes = 'Revisado', DthUltAtualiz = '2024-03-05T09:00:00.000' "
                 "WHERE NumCertif = 'C-1'");
    Sql::execute(db, "UPDATE SERVICO SET Observacoes = 'Agora preenchido' WHERE NumCertif = 'C-1'");
    for (const char* tabela : {"STATUS_DNL", "DOC_NORM_LOTE", "STATUS_L", "LOTE"})
        Sql::execute(db, QString("DELETE FROM %1 WHERE NumCertif = 'C-2'").arg(tabela));
    insertFull("UNIDADE", {{"SiglaCertificador", "OCC"},
                           {"NumCertif", "C-2"},
                           {"NumSerieProd", "S2"},
                           {"MarcaProd", "Outra"},
                           {"ModeloProd", "Modelo"},
                           {"Importado", 0}});
    certificado("C-4", false, "44444444000144", "Quarta");
    reaprova("C-1");
    reaprova("C-2");
    const auto aceitas = replicas();

    // Second turn: rejected. Nothing changes but the event; the archive stays.
    const QString recusada = volta("NO", "Faltam dados do lote.");
    EXPECT_EQ(ultimoEvento(), "NO");
    EXPECT_EQ(obsDoEvento("NO"), " Faltam dados do lote.");
    EXPECT_EQ(replicas(), aceitas);
    EXPECT_TRUE(QFileInfo::exists(archivePath(recusada)));

    // The next batch carries the same differences, and this time it is accepted.
    const QStringList enviadas = entriesOf(archivePath(recusada));
    const PreparationResult novamente = prepara();
    ASSERT_EQ(novamente.status, PreparationResult::Status::Sucesso);
    EXPECT_EQ(entriesOf(archivePath(novamente.arquivo)), enviadas);
    entregaPorFtp(novamente);
    autoridadeResponde(novamente.arquivo, "OK", "Agora sim.");
    ASSERT_TRUE(recebe(novamente.arquivo).ok);
    EXPECT_EQ(ultimoEvento(), "OK");
    confereReplicas();
    EXPECT_EQ(prepara().status, PreparationResult::Status::NadaAEnviar);

    // The batch list tells the story: three finished batches of one day.
    const QList<BatchListRow> lista = BatchControl(session, state).atualizaListaRemessas();
    ASSERT_EQ(lista.size(), 3);
    for (const BatchListRow& row : lista)
        EXPECT_EQ(row.Status, "Finalizada");
    EXPECT_EQ(lista.first().NumeroRemessa, today() + "03");
}

} // namespace
