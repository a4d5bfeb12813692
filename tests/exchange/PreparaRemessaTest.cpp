#include "Embaralha.h"
#include "ChangeJournal.h"
#include "ExchangeFixture.h"
#include "TDMTabelasData.h"
#include "TabelaRemessa.h"

#include <QElapsedTimer>
#include <QFileInfo>

namespace {

QStringList allTables(const QString& suffix) {
    QStringList names;
    for (const TabelaRemessa& tabela : TabelasRemessa())
        names << tabela.Nome + suffix + QStringLiteral(".DB");
    return names;
}

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}

class Preparacao : public ExchangeFixture {
protected:
    QString archive(const QString& numero, const QString& prefixo = QStringLiteral("OC-")) const {
        return transf() + prefixo + QStringLiteral("OCC") + numero + QStringLiteral(".zip");
    }
    int controleRows() const {
        return Sql::scalar(db, QStringLiteral("SELECT count(*) FROM CONTROLE")).toInt();
    }

    // Each table of the unpacked batch holds exactly what the statement returns from the live database.
    void expectTableHolds(const QString& dir, const QString& file, const QString& sql) {
        ASSERT_TRUE(QFileInfo::exists(dir + file)) << file;
        EXPECT_EQ(paradoxRows(dir + file), sqlRows(sql)) << file;
    }
};

TEST_F(Preparacao, FirstBatchCarriesEveryApprovedRowAsAnInclusion) {
    certificado(QStringLiteral("C-1"), true);
    insertFull(QStringLiteral("SIGNATARIOS"), {{"SiglaCertificador", "OCC"}});

    const PreparationResult result = prepara();
    ASSERT_EQ(result.status, PreparationResult::Status::Sucesso) << result.mensagem;
    EXPECT_EQ(result.EdResultado, "Preparação Ocorrida com Sucesso.");
    EXPECT_EQ(result.numeroRemessa, today() + "01");
    EXPECT_EQ(result.arquivo, "OC-OCC" + today() + "01.zip");
    EXPECT_EQ(result.tabelasCriadas, 29);
    EXPECT_EQ(state.NumeroRemessa, today() + "01");
    EXPECT_EQ(state.TipoRemessa, "C");
    // The work files went into the archive; only the archive stays.
    EXPECT_EQ(transferFiles(), QStringList{result.arquivo});

    EXPECT_EQ(entriesOf(archive(today() + "01")), sorted(allTables("_I") << "Sistema.db"));
    const QString dir = unpack(archive(today() + "01"));
    for (const TabelaRemessa& tabela : TabelasRemessa()) {
        expectTableHolds(dir, tabela.Nome + "_I.DB", "SELECT * FROM " + tabela.tabela());
        EXPECT_EQ(ParadoxTable::open(dir + tabela.Nome + "_I.DB").fields(),
                  expectedFieldsOf(db, tabela.tabela()))
            << tabela.Nome;
    }

    const ParadoxTable sistema = ParadoxTable::open(dir + "Sistema.db");
    EXPECT_EQ(sistema.fields(), QList<ParadoxField>{ParadoxField::alpha("Versao", 50)});
    const QList<ParadoxRow> versao = sistema.readAll();
    ASSERT_EQ(versao.size(), 1);
    EXPECT_EQ(versao[0][0].toString(), QString::fromLatin1(EmbaralhaTexto(Direcao::Codificar, "2.4.8")));
    EXPECT_EQ(EmbaralhaTexto(Direcao::Decodificar, versao[0][0].toString().toLatin1()), QByteArray("2.4.8"));

    BatchControl control(session, state);
    const QList<BatchEventRow> events = control.eventos(today() + "01");
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(events[0].Evento, "PR");
    EXPECT_EQ(events[0].Usuario, "maria");
    EXPECT_EQ(events[0].DataHoraEvento, clock.now());
    EXPECT_TRUE(events[0].Obs.isEmpty());
    EXPECT_EQ(Sql::scalar(db, "SELECT TipoRemessa FROM CONTROLE").toString(), "C");
}

TEST_F(Preparacao, SecondBatchOfTheDayCarriesOnlyTheChange) {
    certificado(QStringLiteral("C-1"), true);
    ASSERT_TRUE(prepara().ok());
    evento(today() + "01", "TR");
    evento(today() + "01", "OK");
    nivelaReplicas();
    Sql::execute(db, "UPDATE TIPO SET StatusProduto = 'S', DthStatusProduto = :d", {{":d", clock.now()}});

    const PreparationResult result = prepara();
    ASSERT_TRUE(result.ok()) << result.mensagem;
    EXPECT_EQ(result.numeroRemessa, today() + "02");
    EXPECT_EQ(result.tabelasCriadas, 1);
    EXPECT_EQ(entriesOf(archive(today() + "02")), (QStringList{"Sistema.db", "Tipo_A.DB"}));
    // The accepted batch's archive, which the result had not deleted here, is gone.
    EXPECT_FALSE(QFileInfo::exists(archive(today() + "01")));
    const QString dir = unpack(archive(today() + "02"));
    expectTableHolds(dir, "Tipo_A.DB", "SELECT * FROM TIPO");
}

TEST_F(Preparacao, AfterTheNinthBatchOfTheDayComesTheTenth) {
    certificado(QStringLiteral("C-1"), true);
    evento(today() + "09", "PR", "C", 60);
    evento(today() + "09", "NO", "C", 30);
    const PreparationResult result = prepara();
    ASSERT_TRUE(result.ok()) << result.mensagem;
    EXPECT_EQ(result.numeroRemessa, today() + "10");
    EXPECT_TRUE(QFileInfo::exists(archive(today() + "10")));
}

TEST_F(Preparacao, ABatchOfAnEarlierDateStartsTheDayAtOne) {
    certificado(QStringLiteral("C-1"), true);
    evento("2024030437", "PR", "C", 90000);
    evento("2024030437", "OK", "C", 80000);
    const PreparationResult result = prepara();
    ASSERT_TRUE(result.ok()) << result.mensagem;
    EXPECT_EQ(result.numeroRemessa, today() + "01");
}

TEST_F(Preparacao, TheHundredthBatchOfADateIsRefusedBeforeAnythingIsTouched) {
    certificado(QStringLiteral("C-1"), true);
    evento(today() + "99", "PR", "C", 60);
    evento(today() + "99", "OK", "C", 30);
    QFile leftover(transf() + "Velha_I.DB");
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();

    const PreparationResult result = prepara();
    EXPECT_EQ(result.status, PreparationResult::Status::Recusada);
    EXPECT_TRUE(result.mensagem.contains("99 remessas")) << result.mensagem;
    EXPECT_EQ(controleRows(), 2);
    EXPECT_EQ(transferFiles(), QStringList{"Velha_I.DB"});
}

TEST_F(Preparacao, NothingChangedSendsNothing) {
    certificado(QStringLiteral("C-1"), true);
    nivelaReplicas();
    const PreparationResult result = prepara();
    EXPECT_EQ(result.status, PreparationResult::Status::NadaAEnviar);
    EXPECT_EQ(result.mensagem, "Nenhuma tabela nova foi criada!");
    EXPECT_EQ(result.titulo, "Preparação de Remessas");
    EXPECT_EQ(result.tabelasCriadas, 0);
    EXPECT_TRUE(result.numeroRemessa.isEmpty());
    EXPECT_EQ(controleRows(), 0);
    // The version file alone does not count; it stays until the next preparation.
    EXPECT_EQ(transferFiles(), QStringList{"Sistema.db"});
}

TEST_F(Preparacao, AnUnapprovedCertificateContributesNothingUntilApproved) {
    certificado(QStringLiteral("C-1"), true);
    nivelaReplicas();
    certificado(QStringLiteral("C-2"), false, "98765432000110", "Outra");
    EXPECT_EQ(prepara().status, PreparationResult::Status::NadaAEnviar);

    aprova(QStringLiteral("C-2"));
    const PreparationResult result = prepara();
    ASSERT_TRUE(result.ok()) << result.mensagem;
    // Everything of C-2, its company and product too; the settings tables are level.
    QStringList expected = allTables("_I");
    for (const char* level : {"CONFIG_LOCAL_I.DB", "SIGNATARIOS_I.DB", "USU_LOCAL_I.DB"})
        expected.removeAll(QString::fromUtf8(level));
    EXPECT_EQ(entriesOf(archive(result.numeroRemessa)), sorted(expected << "Sistema.db"));
    const QString dir = unpack(archive(result.numeroRemessa));
    expectTableHolds(dir, "Certific_I.DB", "SELECT * FROM CERTIFIC WHERE NumCertif = 'C-2'");
    expectTableHolds(dir, "Empresa_I.DB", "SELECT * FROM EMPRESA WHERE IdEmpresa = '98765432000110'");
    expectTableHolds(dir, "Produto_I.DB", "SELECT * FROM PRODUTO WHERE MarcaProd = 'Outra'");
    expectTableHolds(dir, "status_dnu_I.DB", "SELECT * FROM STATUS_DNU WHERE NumCertif = 'C-2'");
}

TEST_F(Preparacao, ChangesToAndFromNullAreAlterations) {
    certificado(QStringLiteral("C-1"), true);
    Sql::execute(db, "UPDATE CONFIG_LOCAL SET EndSMTPHost = NULL");
    nivelaReplicas();
    // A setting typed for the first time, and an optional field cleared.
    Sql::execute(db, "UPDATE CONFIG_LOCAL SET EndSMTPHost = 'smtp.occ.org'");
    Sql::execute(db, "UPDATE EMPRESA SET Fax = NULL");

    const PreparationResult result = prepara();
    ASSERT_TRUE(result.ok()) << result.mensagem;
    EXPECT_EQ(entriesOf(archive(result.numeroRemessa)),
              (QStringList{"CONFIG_LOCAL_A.DB", "Empresa_A.DB", "Sistema.db"}));
    const QString dir = unpack(archive(result.numeroRemessa));
    expectTableHolds(dir, "CONFIG_LOCAL_A.DB", "SELECT * FROM CONFIG_LOCAL");
    expectTableHolds(dir, "Empresa_A.DB", "SELECT * FROM EMPRESA");
}

TEST_F(Preparacao, ADeletedCertificateSendsOnlyItsExclusion) {
    certificado(QStringLiteral("C-1"), true);
    certificado(QStringLiteral("C-2"), true, "98765432000110", "Outra");
    nivelaReplicas();
    for (const TabelaRemessa& tabela : TabelasRemessa())
        if (tabela.escopo == EscopoRemessa::Certificado || tabela.escopo == EscopoRemessa::Certific)
            Sql::execute(db, QStringLiteral("DELETE FROM %1 WHERE NumCertif = 'C-2'").arg(tabela.tabela()));

    const PreparationResult result = prepara();
    ASSERT_TRUE(result.ok()) << result.mensagem;
    EXPECT_EQ(entriesOf(archive(result.numeroRemessa)), (QStringList{"Certific_E.DB", "Sistema.db"}));
    const QString dir = unpack(archive(result.numeroRemessa));
    expectTableHolds(dir, "Certific_E.DB", "SELECT * FROM REP_CERTIFIC WHERE NumCertif = 'C-2'");
}

TEST_F(Preparacao, ExclusionsOfAnApprovedCertificatesLinesUseTheirExclusionKey) {
    certificado(QStringLiteral("C-1"), true);
    nivelaReplicas();
    Sql::execute(db, "DELETE FROM STATUS_L");
    Sql::execute(db, "DELETE FROM LOTE");
    // The lot's event moves to another product: same lot, certificate and event number, so by its
    // shorter exclusion key it is not gone (it goes as an inclusion under its new key).
    insertFull("PRODUTO", {{"MarcaProd", "Nova"}, {"ModeloProd", "Modelo"}, {"Importado", 0}});
    insertFull("STATUS_L", {{"NumLote", "L1"},
                            {"SiglaCertificador", "OCC"},
                            {"NumCertif", "C-1"},
                            {"MarcaProd", "Nova"},
                            {"ModeloProd", "Modelo"},
                            {"Importado", 0},
                            {"SeqEvento", 1}});

    const PreparationResult result = prepara();
    ASSERT_TRUE(result.ok()) << result.mensagem;
    EXPECT_EQ(entriesOf(archive(result.numeroRemessa)),
              (QStringList{"Lote_E.DB", "Sistema.db", "Status_L_I.DB"}));
    const QString dir = unpack(archive(result.numeroRemessa));
    expectTableHolds(dir, "Lote_E.DB", "SELECT * FROM REP_LOTE");
    expectTableHolds(dir, "Status_L_I.DB", "SELECT * FROM STATUS_L");
}

TEST_F(Preparacao, AProductUsedOnlyByLotsOrUnitsIsNeverExcluded) {
    certificado(QStringLiteral("C-1"), true);
    // A second product, used by a lot and a unit only.
    insertFull("PRODUTO", {{"MarcaProd", "SoLote"}, {"ModeloProd", "M"}, {"Importado", 1}});
    const Row line{{"SiglaCertificador", "OCC"}, {"NumCertif", "C-1"}, {"MarcaProd", "SoLote"},
                   {"ModeloProd", "M"},          {"Importado", 1},     {"NumLote", "L9"},
                   {"NumSerieProd", "S9"}};
    insertFull("LOTE", line);
    insertFull("UNIDADE", line);
    nivelaReplicas();
    Sql::execute(db, "DELETE FROM LOTE WHERE MarcaProd = 'SoLote'");
    Sql::execute(db, "DELETE FROM UNIDADE WHERE MarcaProd = 'SoLote'");
    Sql::execute(db, "DELETE FROM PRODUTO WHERE MarcaProd = 'SoLote'");

    const PreparationResult result = prepara();
    ASSERT_TRUE(result.ok()) << result.mensagem;
    EXPECT_EQ(entriesOf(archive(result.numeroRemessa)),
              (QStringList{"Lote_E.DB", "Sistema.db", "Unidade_E.DB"}));

    // A product of a type line is excluded once it is gone.
    evento(result.numeroRemessa, "NO", "C", -1);
    clock.advanceSeconds(10);
    Sql::execute(db, "DELETE FROM REP_LOTE WHERE MarcaProd = 'SoLote'");
    Sql::execute(db, "DELETE FROM REP_UNIDADE WHERE MarcaProd = 'SoLote'");
    for (const char* table : {"STATUS_T", "DOC_NORM_TIPO", "STATUS_DNT", "TIPO", "PRODUTO"})
        Sql::execute(
            db, QStringLiteral("DELETE FROM %1 WHERE MarcaProd = 'Marca'").arg(QString::fromUtf8(table)));
    Sql::execute(db, "DELETE FROM LOTE WHERE MarcaProd = 'Marca'");
    Sql::execute(db, "DELETE FROM UNIDADE WHERE MarcaProd = 'Marca'");
    Sql::execute(db, "DELETE FROM REP_PRODUTO WHERE MarcaProd = 'SoLote'");
    const PreparationResult second = prepara();
    ASSERT_TRUE(second.ok()) << second.mensagem;
    EXPECT_TRUE(entriesOf(archive(second.numeroRemessa)).contains("Produto_E.DB"));
    const QString dir = unpack(archive(second.numeroRemessa));
    expectTableHolds(dir, "Produto_E.DB", "SELECT * FROM REP_PRODUTO WHERE MarcaProd = 'Marca'");
}

TEST_F(Preparacao, ACompleteBatchHasOnlyInclusionsAndNoVersionFile) {
    certificado(QStringLiteral("C-1"), true);
    certificado(QStringLiteral("C-2"), false, "98765432000110", "Outra");
    insertFull(QStringLiteral("SIGNATARIOS"), {{"SiglaCertificador", "OCC"}});
    nivelaReplicas(); // the replicas do not matter

    const PreparationResult refused = prepara("T", false);
    EXPECT_EQ(refused.status, PreparationResult::Status::Recusada);
    EXPECT_EQ(refused.mensagem, PreparaRemessa::textoConfirmacaoCompleta());
    EXPECT_EQ(controleRows(), 0);

    int steps = 0;
    int last = 0;
    const PreparationResult result = prepara("T", true, [&](const PreparationProgress& p) {
        steps += p.passoConcluido ? 1 : 0;
        last = p.passo;
        EXPECT_EQ(p.maximo, PreparaRemessa::numeroDePassos("T"));
    });
    ASSERT_TRUE(result.ok()) << result.mensagem;
    EXPECT_EQ(result.arquivo, "OT-OCC" + today() + "01.zip");
    EXPECT_EQ(steps, PreparaRemessa::numeroDePassos("T"));
    EXPECT_EQ(last, steps);
    EXPECT_EQ(entriesOf(archive(today() + "01", "OT-")), sorted(allTables("_I")));
    const QString dir = unpack(archive(today() + "01", "OT-"));
    expectTableHolds(dir, "Certific_I.DB", "SELECT * FROM CERTIFIC WHERE Aprovado = 1");
    expectTableHolds(dir, "Tipo_I.DB", "SELECT * FROM TIPO WHERE NumCertif = 'C-1'");
    expectTableHolds(dir, "USU_LOCAL_I.DB", "SELECT * FROM USU_LOCAL");
    EXPECT_EQ(Sql::scalar(db, "SELECT TipoRemessa FROM CONTROLE").toString(), "T");
}

TEST_F(Preparacao, StepsReportedEqualTheMaximum) {
    certificado(QStringLiteral("C-1"), true);
    int steps = 0;
    QStringList operations;
    QStringList labels;
    const PreparationResult result = prepara("C", false, [&](const PreparationProgress& p) {
        EXPECT_EQ(p.maximo, 87);
        if (p.passoConcluido) {
            ++steps;
            EXPECT_EQ(p.passo, steps);
        }
        if (!operations.contains(p.operacao))
            operations << p.operacao;
        if (!labels.contains(p.Rotulo))
            labels << p.Rotulo;
    });
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(steps, 87);
    EXPECT_EQ(operations, (QStringList{"Inclusão", "Alteração", "Deleção"}));
    EXPECT_TRUE(labels.contains("Verificando tabela de Cetificados"));
    EXPECT_TRUE(labels.contains("Verificando tabela de Status Doc Norma. Unidade"));
}

TEST_F(Preparacao, InterruptionLeavesNoArchiveAndNoEvent) {
    certificado(QStringLiteral("C-1"), true);
    const PreparationResult result = prepara("C", false, [&](const PreparationProgress& p) {
        if (p.tabela == 5 && p.passoConcluido)
            interromper = true;
    });
    EXPECT_EQ(result.status, PreparationResult::Status::Interrompida);
    EXPECT_EQ(result.EdResultado, "Preparação Interrompida pelo Usuário.");
    EXPECT_EQ(controleRows(), 0);
    // The tables written so far and the version file stay until the next preparation.
    QStringList files = transferFiles();
    EXPECT_FALSE(files.filter(".zip").size() > 0) << files.join(",").toStdString();
    EXPECT_TRUE(files.contains("Sistema.db"));
    EXPECT_TRUE(files.contains("Empresa_I.DB"));
    EXPECT_FALSE(files.contains("Servico_I.DB"));

    // The next preparation starts clean and from the same number.
    interromper = false;
    const PreparationResult next = prepara();
    ASSERT_TRUE(next.ok()) << next.mensagem;
    EXPECT_EQ(next.numeroRemessa, today() + "01");
    EXPECT_EQ(transferFiles(), QStringList{next.arquivo});
}

TEST_F(Preparacao, InterruptionWhileATableIsWrittenAnswersPromptly) {
    certificado(QStringLiteral("C-1"), true);
    // Enough events of one certificate that writing them takes a while.
    Sql::execute(db, "BEGIN");
    QSqlQuery insert(db);
    insert.prepare("INSERT INTO STATUS_C (SiglaCertificador, NumCertif, SeqEvento, Evento, Justificativa) "
                   "VALUES ('OCC', 'C-1', ?, 'ALT', ?)");
    for (int i = 2; i < 30000; ++i) {
        insert.bindValue(0, i);
        insert.bindValue(1, QString(200, QChar(u'a' + i % 26)));
        ASSERT_TRUE(insert.exec());
    }
    Sql::execute(db, "COMMIT");
    QElapsedTimer sinceRequest;
    const PreparationResult result = prepara("C", false, [&](const PreparationProgress& p) {
        if (p.Nome == "Status_C" && p.linhas > 0 && !interromper) {
            interromper = true;
            sinceRequest.start();
        }
    });
    EXPECT_EQ(result.status, PreparationResult::Status::Interrompida);
    ASSERT_TRUE(sinceRequest.isValid());
    EXPECT_LT(sinceRequest.elapsed(), 500);
    EXPECT_FALSE(transferFiles().contains("Status_C_I.DB")); // an unfinished table is not left behind
}

TEST_F(Preparacao, InterruptionInsideALongStatementAnswersPromptly) {
    // Ten approved certificates with 30,000 events each, all already held by the replica: the
    // inclusion statement over STATUS_C probes 300,000 rows and sends none, so it runs many report
    // intervals before it could end, on any machine.
    for (int c = 0; c < 10; ++c)
        certificado(QStringLiteral("C-%1").arg(c), true);
    Sql::execute(db, "INSERT INTO STATUS_C (SiglaCertificador, NumCertif, SeqEvento, Evento, Justificativa) "
                     "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 299999) "
                     "SELECT 'OCC', 'C-' || (i / 30000), i % 30000 + 100, 'ALT', 'x' FROM n");
    nivelaReplicas();
    // Every row is compared (as when the journal of changes cannot be trusted).
    ChangeJournal::marcaIncompleto(db);
    int reports = 0;
    bool stepEnded = false;
    QElapsedTimer sinceRequest;
    const PreparationResult result = prepara("C", false, [&](const PreparationProgress& p) {
        if (p.Nome != "Status_C" || p.operacao != "Inclusão")
            return;
        stepEnded = stepEnded || p.passoConcluido;
        // The first report opens the step; the next ones come from inside the running statement.
        if (++reports == 2 && !p.passoConcluido) {
            interromper = true;
            sinceRequest.start();
        }
    });
    ASSERT_TRUE(sinceRequest.isValid()) << "no report while the statement ran";
    EXPECT_EQ(result.status, PreparationResult::Status::Interrompida);
    EXPECT_LT(sinceRequest.elapsed(), 300);
    EXPECT_FALSE(stepEnded);
    EXPECT_EQ(controleRows(), 0);
}

TEST_F(Preparacao, ALeftoverThatCannotBeDeletedStopsThePreparation) {
    certificado(QStringLiteral("C-1"), true);
    ASSERT_TRUE(QDir().mkpath(transf() + "Certific_I.DB")); // a directory: no file delete removes it
    const PreparationResult result = prepara();
    EXPECT_EQ(result.status, PreparationResult::Status::Erro);
    EXPECT_EQ(result.EdResultado, "Ocorreu um Erro na Preparação.");
    EXPECT_TRUE(result.mensagem.startsWith("Não foi possível apagar o arquivo")) << result.mensagem;
    EXPECT_EQ(controleRows(), 0);
    EXPECT_TRUE(transferFiles().filter(".zip").isEmpty());
}

TEST_F(Preparacao, WithoutTheArchiverNothingIsRecorded) {
    certificado(QStringLiteral("C-1"), true);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", home.path().toLocal8Bit()); // no zip there
    const PreparationResult result = prepara();
    qputenv("PATH", path);
    EXPECT_EQ(result.status, PreparationResult::Status::Erro);
    EXPECT_EQ(result.EdResultado, "Ocorreu um Erro na Preparação.");
    EXPECT_TRUE(prompts.wasShown("O arquivo Zip.exe não foi encontrado.")) << prompts.texts().join("|");
    EXPECT_EQ(controleRows(), 0);
    EXPECT_TRUE(transferFiles().filter(".zip").isEmpty());

    // The next preparation derives its number from the same previous number.
    const PreparationResult next = prepara();
    ASSERT_TRUE(next.ok()) << next.mensagem;
    EXPECT_EQ(next.numeroRemessa, today() + "01");
}

TEST_F(Preparacao, StaleWorkFilesNeverGoOut) {
    certificado(QStringLiteral("C-1"), true);
    nivelaReplicas();
    Sql::execute(db, "UPDATE CERTIFIC SET Observacoes = 'nova'");
    for (const char* stale : {"Tipo_I.DB", "velho.px", "X.Val"}) {
        QFile file(transf() + QString::fromUtf8(stale));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("stale");
    }
    const PreparationResult result = prepara();
    ASSERT_TRUE(result.ok()) << result.mensagem;
    EXPECT_EQ(entriesOf(archive(result.numeroRemessa)), (QStringList{"Certific_A.DB", "Sistema.db"}));
}

TEST_F(Preparacao, AClockSetAheadDoesNotBlockTheNextBatches) {
    certificado(QStringLiteral("C-1"), true);
    // Prepared and accepted while the clock said 2024-06-01.
    evento("2024060101", "PR", "C", 60);
    evento("2024060101", "OK", "C", 30);
    const PreparationResult result = prepara();
    ASSERT_TRUE(result.ok()) << result.mensagem;
    EXPECT_EQ(result.numeroRemessa, "2024060102");
    EXPECT_TRUE(result.aviso.contains("relógio")) << result.aviso;
    EXPECT_TRUE(QFileInfo::exists(archive("2024060102")));
}

TEST_F(Preparacao, OnlyItsOwnFilesAreDeletedOrPackedInTheTransferDirectory) {
    certificado(QStringLiteral("C-1"), true);
    nivelaReplicas();
    Sql::execute(db, "UPDATE CERTIFIC SET Observacoes = 'nova'");
    // The user's own files, named like tables, and a leftover of a former run.
    const QStringList theirs{"notas.db", "Clientes.DB", "Certific.DB", "velho.px", "X.Val", "Certific_X.DB"};
    for (const QString& name : theirs + QStringList{"CERTIFIC_I.DB"}) {
        QFile file(transf() + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("deles");
    }
    const PreparationResult result = prepara();
    ASSERT_TRUE(result.ok()) << result.mensagem;
    EXPECT_EQ(entriesOf(archive(result.numeroRemessa)), (QStringList{"Certific_A.DB", "Sistema.db"}));
    for (const QString& name : theirs) {
        QFile file(transf() + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        EXPECT_EQ(file.readAll(), "deles") << name;
    }
    EXPECT_FALSE(QFileInfo::exists(transf() + "CERTIFIC_I.DB"));
}

// Settings written before the directories were checked (or by hand) may name the base directory.
TEST_F(Preparacao, ATransferDirectorySetToTheBaseDirectoryLeavesTheRegisterIntact) {
    certificado(QStringLiteral("C-1"), true);
    const int certificados = Sql::scalar(db, "SELECT count(*) FROM CERTIFIC").toInt();
    ASSERT_GT(certificados, 0);
    for (const QString& directory : {home.path(), home.path() + "Transf/../"}) {
        Sql::execute(db, "UPDATE CONFIG_LOCAL SET DirLocalTransf = :d", {{":d", directory}});
        state.load(db, session.user());
        const PreparationResult result = prepara();
        EXPECT_EQ(result.status, PreparationResult::Status::Recusada) << directory;
        EXPECT_TRUE(result.mensagem.contains("banco de dados")) << result.mensagem;
        EXPECT_EQ(result.titulo, "Erro de Configuração");
        ASSERT_TRUE(QFileInfo::exists(home.path() + "CapaCertific.db"));
        EXPECT_EQ(Sql::scalar(db, "SELECT count(*) FROM CERTIFIC").toInt(), certificados);
        EXPECT_EQ(Sql::scalar(db, "PRAGMA integrity_check").toString(), "ok");
        EXPECT_EQ(controleRows(), 0);
    }
}

TEST_F(Preparacao, ADirectoryHoldingAnotherRegisterIsRefused) {
    certificado(QStringLiteral("C-1"), true);
    QFile other(transf() + "capacertific.DB");
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("outro registro");
    other.close();
    const PreparationResult result = prepara();
    EXPECT_EQ(result.status, PreparationResult::Status::Recusada);
    EXPECT_TRUE(result.mensagem.contains("banco de dados")) << result.mensagem;
    ASSERT_TRUE(other.open(QIODevice::ReadOnly));
    EXPECT_EQ(other.readAll(), "outro registro");
}

struct DirectoryCase {
    const char* name;
    const char* transf; // relative to the home; "-" for empty
    const char* message;
};

class DirectoryCheck : public Preparacao, public ::testing::WithParamInterface<DirectoryCase> {};

TEST_P(DirectoryCheck, RefusesBeforeDeletingAnything) {
    const DirectoryCase c = GetParam();
    certificado(QStringLiteral("C-1"), true);
    const QString value = QString::fromUtf8(c.transf) == "-"   ? QString()
                          : QString::fromUtf8(c.transf) == "/" ? QStringLiteral("/")
                                                               : home.path() + QString::fromUtf8(c.transf);
    Sql::execute(db, "UPDATE CONFIG_LOCAL SET DirLocalTransf = :d", {{":d", value}});
    state.load(db, session.user());
    // A work file in the directory shared with the synchronisation stays.
    QFile keep(home.path() + "Sincr/Tabela.DB");
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.close();

    const PreparationResult result = prepara();
    EXPECT_EQ(result.status, PreparationResult::Status::Recusada);
    EXPECT_EQ(result.mensagem, QString::fromUtf8(c.message));
    EXPECT_EQ(result.titulo, "Erro de Configuração");
    EXPECT_TRUE(QFileInfo::exists(home.path() + "Sincr/Tabela.DB"));
    EXPECT_EQ(controleRows(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DirectoryCheck,
    ::testing::Values(
        DirectoryCase{"Empty", "-",
                      "O campo \"Diretório Local de Transferência de Remessas\" não pode ficar em branco."},
        DirectoryCase{
            "Root", "/",
            "O campo \"Diretório Local de Transferência de Remessas\" não pode ser o diretório raiz."},
        DirectoryCase{
            "SharedWithSync", "Sincr/",
            "Os campos \"Diretório Local de Tabelas de Sincronização\" e \"Diretório Local de Transferência "
            "de Remessas\" não podem indicar o mesmo diretório."},
        DirectoryCase{"Missing", "NaoExiste",
                      "Diretório Local de Transferência de Remessas não foi encontrado."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Preparacao, NoNumberIsIssuedTwiceAfterTheHistoryIsCleared) {
    certificado(QStringLiteral("C-1"), true);
    ASSERT_TRUE(prepara().ok());
    clock.advanceSeconds(60);
    BatchControl control(session, state);
    control.registraEvento(today() + "01", "C", "TR");
    clock.advanceSeconds(60);
    control.registraEvento(today() + "01", "C", "OK");
    control.atualizaListaRemessas();
    ASSERT_TRUE(control.limpaHistorico(control.ultimaRemessa(), true).done);
    EXPECT_EQ(controleRows(), 0);
    EXPECT_EQ(control.numeroAnterior(), "0000000000");

    clock.advanceSeconds(60);
    const PreparationResult result = prepara();
    ASSERT_TRUE(result.ok()) << result.mensagem;
    EXPECT_EQ(result.numeroRemessa, today() + "02");
}

TEST_F(Preparacao, APreviewCountsWithoutWritingAnything) {
    certificado(QStringLiteral("C-1"), true);
    certificado(QStringLiteral("C-2"), true, "98765432000110", "Outra");
    nivelaReplicas();
    Sql::execute(db, "UPDATE CERTIFIC SET Observacoes = 'nova'");
    Sql::execute(db, "DELETE FROM STATUS_C WHERE NumCertif = 'C-2'");
    certificado(QStringLiteral("C-3"), true, "11222333000181", "Terceira");

    PreparaRemessa operation(session, state);
    const PreviewResult preview = operation.previa("C", interromper);
    ASSERT_TRUE(preview.erro.isEmpty()) << preview.erro;
    ASSERT_EQ(preview.tabelas.size(), 29);
    QMap<QString, QList<qint64>> counts;
    for (const PreviewRow& row : preview.tabelas)
        counts[row.Nome] = {row.inclusoes, row.alteracoes, row.exclusoes};
    EXPECT_EQ(counts["Certific"], (QList<qint64>{1, 2, 0}));
    EXPECT_EQ(counts["Status_C"], (QList<qint64>{1, 0, 1}));
    EXPECT_EQ(counts["Empresa"], (QList<qint64>{1, 0, 0}));
    EXPECT_EQ(counts["USU_LOCAL"], (QList<qint64>{0, 0, 0}));
    // Certific 1 + 2, Status_C 1 + 1, C-3's company and product, and its row in the 22 other tables.
    EXPECT_EQ(preview.total(), 3 + 2 + 1 + 1 + 22);
    EXPECT_TRUE(transferFiles().isEmpty());
    EXPECT_EQ(controleRows(), 0);

    const PreviewResult complete = operation.previa("T", interromper);
    ASSERT_TRUE(complete.erro.isEmpty());
    EXPECT_EQ(complete.tabelas[3].Nome, "Certific");
    EXPECT_EQ(complete.tabelas[3].inclusoes, 3);
}

TEST_F(Preparacao, TheBatchIsReadFromOneStateOfTheDatabase) {
    certificado(QStringLiteral("C-1"), true);
    bool written = false;
    bool refused = false;
    // A write arriving mid-run (another connection) does not mix into the batch: it waits for the
    // read to finish and fails after its own timeout, or lands after the snapshot.
    const PreparationResult result = prepara("C", false, [&](const PreparationProgress& p) {
        if (p.Nome == "Servico" && !written) {
            written = true;
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "outra");
            other.setDatabaseName(home.path() + "CapaCertific.db");
            other.setConnectOptions("QSQLITE_BUSY_TIMEOUT=10");
            ASSERT_TRUE(other.open());
            QSqlQuery q(other);
            refused = !q.exec("UPDATE EMPRESA SET Fax = 'mudou'");
            other.close();
        }
    });
    QSqlDatabase::removeDatabase("outra");
    ASSERT_TRUE(result.ok()) << result.mensagem;
    EXPECT_TRUE(written);
    EXPECT_TRUE(refused);
}

} // namespace
