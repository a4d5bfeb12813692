#include "SincronizaReplicas.h"
#include "DamagedParadox.h"
#include "ResultFixture.h"
#include "TabelaRemessa.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

class Sincronizacao : public ResultFixture {
protected:
    ResultadoRemessa::Desfecho aceita(const QString& arquivo) {
        ResultadoRemessa resultado(session, state);
        return resultado.processaManual(arquivo, ResultadoRemessa::Aceita, {});
    }
};

TEST_F(Sincronizacao, AnAcceptedFirstBatchBringsEveryReplicaLevelWithTheLiveTables) {
    certificado("C-1", true);
    certificado("C-2", true, "22222222000122", "Outra");
    insertFull("SIGNATARIOS", {{"SiglaCertificador", "OCC"}});
    const QString arquivo = preparaEEntrega();

    std::vector<SincronizacaoProgresso> vistos;
    ResultadoRemessa resultado(session, state);
    const ResultadoRemessa::Desfecho desfecho = resultado.processaManual(
        arquivo, "OK", {"linha"}, [&](const SincronizacaoProgresso& p) { vistos.push_back(p); });
    ASSERT_TRUE(desfecho.ok) << desfecho.log.join("\n");
    EXPECT_EQ(desfecho.LbSincroniza, "Sincronização efetuada com sucesso...");
    expectReplicasEqualLive();
    EXPECT_EQ(eventos("OK"), 1);
    // Only after the commit does the archive go; the work directory is gone too.
    EXPECT_FALSE(QFileInfo::exists(archivePath(arquivo)));
    EXPECT_TRUE(QDir(sincr()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    // Progress came table by table, in batch order.
    ASSERT_FALSE(vistos.empty());
    EXPECT_EQ(vistos.front().tabela, 1);
    EXPECT_EQ(vistos.back().tabela, 29);

    // The next partial batch finds nothing.
    EXPECT_EQ(prepara().status, PreparationResult::Status::NadaAEnviar);
}

TEST_F(Sincronizacao, ChangesDeletionsAndInclusionsReachTheReplicas) {
    certificado("C-1", true);
    certificado("C-2", true, "22222222000122", "Outra");
    ASSERT_TRUE(aceita(preparaEEntrega()).ok);

    // An alteration replaces the whole row (a column the comparison ignores included), a value
    // set from NULL, a deleted line, a new certificate.
    Sql::execute(db, "UPDATE CERTIFIC SET Observacoes = 'nova', DthUltAtualiz = '2024-01-01T00:00:00.000' "
                     "WHERE NumCertif = 'C-1'");
    Sql::execute(db, "UPDATE REP_SERVICO SET Observacoes = NULL WHERE NumCertif = 'C-2'");
    Sql::execute(db, "UPDATE SERVICO SET Observacoes = NULL WHERE NumCertif = 'C-2'");
    Sql::execute(db, "UPDATE SERVICO SET Observacoes = 'agora tem' WHERE NumCertif = 'C-2'");
    Sql::execute(db, "DELETE FROM STATUS_C WHERE NumCertif = 'C-2'");
    Sql::execute(db, "DELETE FROM DOC_NORM_LOTE WHERE NumCertif = 'C-1'");
    certificado("C-3", true, "33333333000133", "Terceira");
    const PreparationResult second = prepara();
    ASSERT_EQ(second.status, PreparationResult::Status::Sucesso);
    entrega(second.numeroRemessa, "C");
    ASSERT_TRUE(aceita(second.arquivo).ok);
    expectReplicasEqualLive();
    EXPECT_EQ(prepara().status, PreparationResult::Status::NadaAEnviar);
}

TEST_F(Sincronizacao, ARejectedBatchLeavesReplicasAndArchiveAndTheNextBatchCarriesTheSame) {
    certificado("C-1", true);
    const QString arquivo = preparaEEntrega();
    const QStringList enviados = entriesOf(archivePath(arquivo));

    ResultadoRemessa resultado(session, state);
    const ResultadoRemessa::Desfecho desfecho = resultado.processaManual(arquivo, "NO", {"faltou", "algo"});
    ASSERT_TRUE(desfecho.ok);
    EXPECT_EQ(desfecho.LbSincroniza, "Não há sincronização a fazer. A remessa foi invalidada.");
    EXPECT_EQ(linhasReplicas(), 0);
    EXPECT_TRUE(QFileInfo::exists(archivePath(arquivo)));
    EXPECT_EQ(eventos("NO"), 1);
    EXPECT_EQ(obsDoEvento("NO"), "<Recebimento Manual>  faltou algo");

    clock.advanceSeconds(60);
    const PreparationResult again = prepara();
    ASSERT_EQ(again.status, PreparationResult::Status::Sucesso);
    EXPECT_EQ(entriesOf(archivePath(again.arquivo)), enviados);
}

TEST_F(Sincronizacao, AFailureWhileApplyingATableCommitsNothingAndTheRetrySucceeds) {
    certificado("C-1", true);
    const QString arquivo = preparaEEntrega();
    Sql::execute(
        db,
        "CREATE TRIGGER falha BEFORE INSERT ON REP_STATUS_C BEGIN SELECT RAISE(ABORT, 'disco cheio'); END");

    ResultadoRemessa resultado(session, state);
    ResultadoRemessa::Desfecho desfecho = resultado.processaAutomatico(arquivo, sincr() + "nada-OK.ZIP");
    EXPECT_FALSE(desfecho.ok);
    EXPECT_EQ(desfecho.falha, SincronizaReplicas::Falha::Aplicacao);
    EXPECT_EQ(desfecho.mensagem, "Ocorreu um Erro2 na Sincronização.\nEntre em contato com o suporte.");
    EXPECT_TRUE(desfecho.log.join("\n").contains("Status_C_I.DB")) << desfecho.log.join("\n");
    // Tables applied before Status_C were rolled back with it.
    EXPECT_EQ(linhasReplicas(), 0);
    EXPECT_EQ(eventos("OK"), 0);
    EXPECT_TRUE(QFileInfo::exists(archivePath(arquivo)));

    Sql::execute(db, "DROP TRIGGER falha");
    desfecho = resultado.processaManual(arquivo, "OK", {});
    ASSERT_TRUE(desfecho.ok) << desfecho.log.join("\n");
    expectReplicasEqualLive();
    EXPECT_FALSE(QFileInfo::exists(archivePath(arquivo)));
}

// The batch's tables are read back from an archive that travelled: a table whose header does not
// agree with its file is refused by name, and the tables applied before it are rolled back.
TEST_F(Sincronizacao, ADamagedTableInTheArchiveIsRefusedAndCommitsNothing) {
    certificado("C-1", true);
    const QString arquivo = preparaEEntrega();
    const QString dir = unpack(archivePath(arquivo));
    ASSERT_TRUE(QFileInfo::exists(dir + "Status_C_I.DB"));
    DamagedParadox::forgeHugeRecordCount(dir + "Status_C_I.DB");
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(dir).entryList(QDir::Files)) {
        QFile file(dir + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        files.insert(name, file.readAll());
    }
    fazZip(archivePath(arquivo), files);

    ResultadoRemessa resultado(session, state);
    const ResultadoRemessa::Desfecho desfecho = resultado.processaAutomatico(arquivo, sincr() + "r-OK.ZIP");

    EXPECT_FALSE(desfecho.ok);
    EXPECT_EQ(desfecho.falha, SincronizaReplicas::Falha::Aplicacao);
    const QString log = desfecho.log.join("\n");
    EXPECT_TRUE(log.contains("Status_C_I.DB: o arquivo não é uma tabela Paradox válida: o cabeçalho indica "
                             "2147483632 registros"))
        << log;
    EXPECT_EQ(linhasReplicas(), 0);
    EXPECT_EQ(eventos("OK"), 0);
    EXPECT_TRUE(QFileInfo::exists(archivePath(arquivo)));
}

TEST_F(Sincronizacao, AFailedOkEventRollsTheWholeSynchronisationBack) {
    certificado("C-1", true);
    const QString arquivo = preparaEEntrega();
    Sql::execute(db, "CREATE TRIGGER falha BEFORE INSERT ON CONTROLE WHEN NEW.Evento = 'OK' "
                     "BEGIN SELECT RAISE(ABORT, 'sem espaço'); END");

    ResultadoRemessa resultado(session, state);
    ResultadoRemessa::Desfecho desfecho = resultado.processaAutomatico(arquivo, sincr() + "x-OK.ZIP");
    EXPECT_FALSE(desfecho.ok);
    EXPECT_EQ(desfecho.mensagem, "Ocorreu um Erro3 na Sincronização.\nEntre em contato com o suporte.");
    EXPECT_TRUE(desfecho.log.join("\n").contains("sem espaço"));
    EXPECT_EQ(linhasReplicas(), 0);
    EXPECT_TRUE(QFileInfo::exists(archivePath(arquivo)));

    // The manual screen words every failure alike.
    desfecho = resultado.processaManual(arquivo, "OK", {});
    EXPECT_EQ(desfecho.mensagem, "Ocorreu um Erro na Sincronização.\nEntre em contato com o suporte.");

    Sql::execute(db, "DROP TRIGGER falha");
    ASSERT_TRUE(resultado.processaManual(arquivo, "OK", {}).ok);
    expectReplicasEqualLive();
}

TEST_F(Sincronizacao, LeftoverTableFilesInTheSynchronisationDirectoryAreNeverApplied) {
    certificado("C-1", true);
    const QString arquivo = preparaEEntrega();
    // A stale unpack of another batch: an inclusion of a certificate that was never sent and an
    // exclusion of one that was.
    const QString outro = unpack(archivePath(arquivo));
    for (const char* name : {"Certific_I.DB", "Status_C_I.DB"})
        ASSERT_TRUE(QFile::copy(outro + name, sincr() + QString(name).replace("_I", "_E")));
    ASSERT_TRUE(QFile::copy(outro + "Servico_I.DB", sincr() + "Servico_A.DB"));

    ASSERT_TRUE(aceita(arquivo).ok);
    expectReplicasEqualLive();
    // The leftovers are not the synchronisation's own files: they stay as they were.
    EXPECT_TRUE(QFileInfo::exists(sincr() + "Certific_E.DB"));
}

TEST_F(Sincronizacao, OnlyTheTablesTheArchiveListsAreAppliedAndOnlyUnderPlainNames) {
    certificado("C-1", true);
    const QString arquivo = preparaEEntrega();
    const QString dir = unpack(archivePath(arquivo));
    QFile certific(dir + "Certific_I.DB");
    ASSERT_TRUE(certific.open(QIODevice::ReadOnly));
    const QByteArray bytes = certific.readAll();

    struct Caso {
        const char* nome;
        QMap<QString, QByteArray> arquivos;
        SincronizaReplicas::Falha falha;
        const char* mensagem;
    };
    const QList<Caso> casos{
        {"entry in a directory",
         {{"sub/Certific_I.DB", bytes}},
         SincronizaReplicas::Falha::Descompactacao,
         "Ocorreu um Erro na Sincronização.\nEntre em contato com o suporte."},
        {"no table at all",
         {{"LEIAME.TXT", "x"}},
         SincronizaReplicas::Falha::SemTabelas,
         "Ocorreu um Erro1 na Sincronização.\nEntre em contato com o suporte."},
        {"not a zip",
         {},
         SincronizaReplicas::Falha::Descompactacao,
         "Ocorreu um Erro na Sincronização.\nEntre em contato com o suporte."},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nome);
        if (caso.arquivos.isEmpty()) {
            QFile lixo(archivePath(arquivo));
            ASSERT_TRUE(lixo.open(QIODevice::WriteOnly | QIODevice::Truncate));
            lixo.write("não é um zip");
        } else {
            // zip -j would drop the directory: store it with the directory.
            QTemporaryDir work;
            for (auto it = caso.arquivos.cbegin(); it != caso.arquivos.cend(); ++it) {
                QDir().mkpath(QFileInfo(work.filePath(it.key())).absolutePath());
                QFile f(work.filePath(it.key()));
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                f.write(it.value());
            }
            QFile::remove(archivePath(arquivo));
            QProcess zip;
            zip.setWorkingDirectory(work.path());
            zip.start("zip", QStringList{"-q", "-r", archivePath(arquivo)} << caso.arquivos.keys());
            ASSERT_TRUE(zip.waitForFinished());
            ASSERT_EQ(zip.exitCode(), 0);
        }
        prompts.clear();
        ResultadoRemessa resultado(session, state);
        const ResultadoRemessa::Desfecho desfecho =
            resultado.processaAutomatico(arquivo, sincr() + "r-OK.ZIP");
        EXPECT_FALSE(desfecho.ok);
        EXPECT_EQ(desfecho.falha, caso.falha);
        EXPECT_EQ(desfecho.mensagem, caso.mensagem);
        EXPECT_EQ(linhasReplicas(), 0);
        EXPECT_EQ(eventos("OK"), 0);
        EXPECT_TRUE(QFileInfo::exists(archivePath(arquivo)));
        EXPECT_TRUE(
            QDir(sincr()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    }
}

TEST_F(Sincronizacao, AMissingArchiveIsAnUnpackingFailure) {
    certificado("C-1", true);
    const QString arquivo = preparaEEntrega();
    ASSERT_TRUE(QFile::remove(archivePath(arquivo)));
    ResultadoRemessa resultado(session, state);
    const ResultadoRemessa::Desfecho desfecho = resultado.processaAutomatico(arquivo, sincr() + "r-OK.ZIP");
    EXPECT_EQ(desfecho.falha, SincronizaReplicas::Falha::Descompactacao);
    EXPECT_EQ(desfecho.mensagem, "Ocorreu um Erro na Sincronização.\nEntre em contato com o suporte.");
    EXPECT_EQ(eventos("OK"), 0);
}

TEST_F(Sincronizacao, APartialBatchWithOnlyExclusionsRemovesThoseRowsAndNothingElse) {
    certificado("C-1", true);
    certificado("C-2", true, "22222222000122", "Outra");
    ASSERT_TRUE(aceita(preparaEEntrega()).ok);
    const auto antes = replicas();

    Sql::execute(db, "DELETE FROM STATUS_S WHERE NumCertif = 'C-2'");
    const PreparationResult second = prepara();
    ASSERT_EQ(second.status, PreparationResult::Status::Sucesso);
    EXPECT_EQ(entriesOf(archivePath(second.arquivo)), (QStringList{"Sistema.db", "Status_S_E.DB"}));
    entrega(second.numeroRemessa, "C");
    ASSERT_TRUE(aceita(second.arquivo).ok);

    const auto depois = replicas();
    for (auto it = antes.cbegin(); it != antes.cend(); ++it)
        if (it.key() != "Status_S") {
            EXPECT_EQ(depois.value(it.key()), it.value()) << it.key().toStdString();
        }
    EXPECT_EQ(depois.value("Status_S").size(), antes.value("Status_S").size() - 1);
    expectReplicasEqualLive();
}

TEST_F(Sincronizacao, AShorterExclusionKeyLetsAReplicaRowSurviveBesideANewOne) {
    // Status_T is excluded by (SiglaCertificador, NumCertif, SeqEvento): an event moved to another
    // product keeps its shorter key, so no exclusion is sent and the replica keeps the old row
    // beside the new one, as the authority does.
    certificado("C-1", true);
    insertFull("PRODUTO", {{"MarcaProd", "Nova"}, {"ModeloProd", "Modelo"}, {"Importado", 0}});
    insertFull("TIPO", {{"SiglaCertificador", "OCC"},
                        {"NumCertif", "C-1"},
                        {"MarcaProd", "Nova"},
                        {"ModeloProd", "Modelo"},
                        {"Importado", 0}});
    ASSERT_TRUE(aceita(preparaEEntrega()).ok);
    Sql::execute(db, "UPDATE STATUS_T SET MarcaProd = 'Nova' WHERE NumCertif = 'C-1'");
    const PreparationResult second = prepara();
    ASSERT_EQ(second.status, PreparationResult::Status::Sucesso);
    entrega(second.numeroRemessa, "C");
    ASSERT_TRUE(aceita(second.arquivo).ok);
    EXPECT_EQ(Sql::scalar(db, "SELECT count(*) FROM REP_STATUS_T").toInt(), 2);
    EXPECT_EQ(Sql::scalar(db, "SELECT count(*) FROM STATUS_T").toInt(), 1);
}

TEST_F(Sincronizacao, ACompleteBatchReloadsExactlyTheReplicasItNames) {
    certificado("C-1", true);
    insertFull("SIGNATARIOS", {{"SiglaCertificador", "OCC"}});
    ASSERT_TRUE(aceita(preparaEEntrega()).ok);
    // A stale replica row the complete batch replaces, and a replica whose live table is empty
    // (no "_I" file): it keeps what it had.
    insertFull("REP_STATUS_C", {{"SiglaCertificador", "OCC"}, {"NumCertif", "C-1"}, {"SeqEvento", 99}});
    Sql::execute(db, "DELETE FROM SIGNATARIOS");
    const auto signatarios = sqlRows("SELECT * FROM REP_SIGNATARIOS");
    ASSERT_EQ(signatarios.size(), 1);

    const QString arquivo = preparaEEntrega("T");
    EXPECT_TRUE(arquivo.startsWith("OT-"));
    ASSERT_TRUE(aceita(arquivo).ok);
    EXPECT_EQ(sqlRows("SELECT * FROM REP_STATUS_C"), sqlRows("SELECT * FROM STATUS_C"));
    EXPECT_EQ(sqlRows("SELECT * FROM REP_SIGNATARIOS"), signatarios);
    EXPECT_FALSE(QFileInfo::exists(archivePath(arquivo)));
}

TEST_F(Sincronizacao, ALongTableReportsItsRowsAsItGoes) {
    certificado("C-1", true);
    for (int i = 2; i <= 1100; ++i)
        insertFull("UNIDADE", {{"SiglaCertificador", "OCC"},
                               {"NumCertif", "C-1"},
                               {"NumSerieProd", QString("S%1").arg(i)},
                               {"MarcaProd", "Marca"},
                               {"ModeloProd", "Modelo"},
                               {"Importado", 0}});
    const QString arquivo = preparaEEntrega();
    QList<qint64> linhasUnidade;
    ResultadoRemessa resultado(session, state);
    ASSERT_TRUE(resultado
                    .processaManual(arquivo, "OK", {},
                                    [&](const SincronizacaoProgresso& p) {
                                        if (p.Nome == "Unidade")
                                            linhasUnidade << p.linhas;
                                    })
                    .ok);
    // The screen lets pending events run from these reports, so it keeps painting inside a table.
    EXPECT_EQ(linhasUnidade, (QList<qint64>{0, 512, 1024}));
    EXPECT_EQ(Sql::scalar(db, "SELECT count(*) FROM REP_UNIDADE").toInt(), 1100);
}

} // namespace
