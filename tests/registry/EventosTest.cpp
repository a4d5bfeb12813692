#include "EventsFixture.h"
#include "RegistraEvento.h"
#include "Transaction.h"

#include <QHash>

namespace {

const QVariantList CertA{"OCC1", "CERT-A"};
const QVariantList CertB{"OCC1", "CERT-B"};

QDateTime at(int year, int month, int day, int hour = 10) {
    return QDateTime(QDate(year, month, day), QTime(hour, 0));
}

// A plausible value for every key column of the event tables.
QVariant sampleValue(const QString& column) {
    static const QHash<QString, QVariant> values{{"SiglaCertificador", "OCC1"},
                                                 {"NumCertif", "CERT-1"},
                                                 {"NumLote", "L-77"},
                                                 {"NumSerieProd", "SN-9"},
                                                 {"MarcaProd", "Marca X"},
                                                 {"ModeloProd", "Modelo Y"},
                                                 {"Importado", 1},
                                                 {"CodigoPais", "BR"},
                                                 {"IdEmpresa", "12345678000195"},
                                                 {"IdClasseCertif", "COMP"},
                                                 {"IdClasseProd", 110},
                                                 {"IdClasseServ", 10},
                                                 {"IdDocNorm", 5}};
    EXPECT_TRUE(values.contains(column)) << column.toStdString();
    return values.value(column);
}

QVariantList sampleKey(EventTable table) {
    QVariantList key;
    for (const QString& column : eventTableInfo(table).keyColumns)
        key << sampleValue(column);
    return key;
}

const EventTable AllTables[] = {EventTable::STATUS_C,    EventTable::EVENTO_EMP,  EventTable::STATUS_T,
                                EventTable::STATUS_L,    EventTable::STATUS_U,    EventTable::STATUS_S,
                                EventTable::STATUS_DNCP, EventTable::STATUS_DNCS, EventTable::STATUS_DNT,
                                EventTable::STATUS_DNL,  EventTable::STATUS_DNU,  EventTable::STATUS_DNS};

} // namespace

// ---- numbering ----

class EventosTest : public EventsFixture {};

TEST_F(EventosTest, PrimeiroEventoDeTabelaVaziaRecebeUmEOSeguinteDoisParaOutroCertificado) {
    EXPECT_EQ(Eventos::ProximoSeqEvento(db, EventTable::STATUS_C, CertA), 1);
    EXPECT_EQ(Eventos::insere(db, EventTable::STATUS_C, event(CertA, "INC", at(2015, 1, 5))), 1);
    EXPECT_EQ(Eventos::insere(db, EventTable::STATUS_C, event(CertB, "INC", at(2015, 1, 6))), 2);
    EXPECT_EQ(Eventos::ProximoSeqEvento(db, EventTable::STATUS_C, CertA), 3);
    // Each table is numbered on its own.
    EXPECT_EQ(Eventos::ProximoSeqEvento(db, EventTable::STATUS_T, sampleKey(EventTable::STATUS_T)), 1);
}

TEST_F(EventosTest, TabelaNoLimiteContinuaAceitandoEventosNumeradosPorCertificado) {
    ASSERT_SQL(db, "INSERT INTO STATUS_C (SiglaCertificador, NumCertif, SeqEvento, Evento) "
                   "VALUES ('OCC1', 'CERT-X', 32767, 'INC')");
    EXPECT_EQ(Eventos::insere(db, EventTable::STATUS_C, event(CertA, "INC", at(2015, 1, 5))), 1);
    EXPECT_EQ(Eventos::insere(db, EventTable::STATUS_C, event(CertA, "ALT", at(2015, 1, 6))), 2);
    EXPECT_EQ(Eventos::insere(db, EventTable::STATUS_C, event(CertB, "INC", at(2015, 1, 7))), 1);
    EXPECT_EQ(Eventos::insere(db, EventTable::STATUS_C, event(CertA, "APR", at(2015, 1, 8))), 3);
    EXPECT_EQ(count("SELECT count(*) FROM STATUS_C"), 5);
}

TEST_F(EventosTest, CertificadoQueUsouTodosOsNumerosERecusadoComMensagemClaraENadaGrava) {
    ASSERT_SQL(db, "WITH RECURSIVE n(v) AS (SELECT 1 UNION ALL SELECT v + 1 FROM n WHERE v < 32767) "
                   "INSERT INTO STATUS_C (SiglaCertificador, NumCertif, SeqEvento, Evento) "
                   "SELECT 'OCC1', 'CERT-A', v, 'INC' FROM n");
    try {
        Eventos::insere(db, EventTable::STATUS_C, event(CertA, "INC", at(2015, 1, 5)));
        FAIL() << "a certificate that used every number accepted an event";
    } catch (const DbError& e) {
        EXPECT_EQ(e.message(), "A tabela de eventos STATUS_C atingiu o limite de 32767 eventos; "
                               "o evento não foi gravado.");
    }
    EXPECT_EQ(count("SELECT count(*) FROM STATUS_C"), 32767);
    EXPECT_EQ(Eventos::insere(db, EventTable::STATUS_C, event(CertB, "INC", at(2015, 1, 5))), 1);
}

TEST_F(EventosTest, GravaDentroDaTransacaoDoChamador) {
    {
        Transaction transaction(db);
        Eventos::insere(db, EventTable::STATUS_C, event(CertA, "INC", at(2015, 1, 5)));
        EXPECT_EQ(count("SELECT count(*) FROM STATUS_C"), 1);
        transaction.rollback();
    }
    EXPECT_EQ(count("SELECT count(*) FROM STATUS_C"), 0);
}

TEST_F(EventosTest, JustificativaVaziaGravaNull) {
    Eventos::insere(db, EventTable::STATUS_C, event(CertA, "INC", at(2015, 1, 5), ""));
    EXPECT_EQ(count("SELECT count(*) FROM STATUS_C WHERE Justificativa IS NULL"), 1);
}

TEST_F(EventosTest, JustificativaAcimaDe255CaracteresERecusadaSemCortar) {
    EXPECT_THROW(
        Eventos::insere(db, EventTable::STATUS_C, event(CertA, "ALT", at(2015, 2, 1), QString(256, 'j'))),
        DbError);
    EXPECT_EQ(count("SELECT count(*) FROM STATUS_C"), 0);
    Eventos::insere(db, EventTable::STATUS_C, event(CertA, "ALT", at(2015, 2, 1), QString(255, 'j')));
    EXPECT_EQ(count("SELECT length(Justificativa) FROM STATUS_C"), 255);
}

TEST_F(EventosTest, ChaveComNumeroErradoDeValoresERecusada) {
    EXPECT_THROW(Eventos::insere(db, EventTable::STATUS_T, event(CertA, "INC", at(2015, 1, 5))), DbError);
    EXPECT_THROW(Eventos::apagaDoItem(db, EventTable::STATUS_C, {"OCC1"}), DbError);
    EXPECT_EQ(count("SELECT count(*) FROM STATUS_T"), 0);
}

// ---- each of the twelve tables with its own key layout ----

class EventTableTest : public EventsFixture, public ::testing::WithParamInterface<EventTable> {};

TEST_P(EventTableTest, DescritorSegueAOrdemDasColunasDaTabela) {
    const EventTableInfo& info = eventTableInfo(GetParam());
    QStringList columns;
    for (const QSqlRecord& r : rows("PRAGMA table_info(" + info.name + ")"))
        columns << r.value("name").toString();
    const int seq = int(columns.indexOf("SeqEvento"));
    ASSERT_GT(seq, 0) << info.name.toStdString();
    EXPECT_EQ(columns.mid(0, seq), info.keyColumns);
    EXPECT_EQ(columns.mid(seq + 1, 3), QStringList({"Evento", "Justificativa", "HistoricoSis"}));
    EXPECT_EQ(columns.mid(seq + 4),
              QStringList({info.statusColumn, info.statusDateColumn, "DthUltAtualiz", "UsuResp"}));
}

// Past the ceiling, every table numbers within the certificate: the item keys and the shorter
// exclusion keys of the batches all carry the certificate and SeqEvento, so they stay unique.
TEST_P(EventTableTest, PassadoOLimiteNumeraDentroDoCertificadoSemRepetir) {
    const EventTableInfo& info = eventTableInfo(GetParam());
    QVariantList other = sampleKey(GetParam());
    other[int(info.keyColumns.indexOf("NumCertif"))] = "CERT-OUTRO";
    EventRow full = event(other, "INC", at(2015, 1, 5));
    const QVariantList key = sampleKey(GetParam());
    // The table reaches the ceiling through this certificate, which holds 1 and 32767.
    for (int seq : {1, 32767}) {
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral("INSERT INTO %1 (%2, SeqEvento, Evento) VALUES (%3, ?, 'INC')")
                           .arg(info.name, info.keyColumns.join(", "),
                                QStringList(QList<QString>(info.keyColumns.size(), "?")).join(", ")));
        for (const QVariant& value : key)
            insert.addBindValue(value);
        insert.addBindValue(seq);
        ASSERT_TRUE(insert.exec()) << insert.lastError().text().toStdString();
    }
    EXPECT_EQ(Eventos::insere(db, GetParam(), full), 1); // another certificate starts its own numbering
    EXPECT_EQ(Eventos::insere(db, GetParam(), event(key, "ALT", at(2015, 2, 1))), 2);
    EXPECT_EQ(Eventos::insere(db, GetParam(), event(key, "SUS", at(2015, 2, 2))), 3);
    EXPECT_EQ(count("SELECT count(*) FROM (SELECT SiglaCertificador, NumCertif, SeqEvento FROM " + info.name +
                    " GROUP BY 1, 2, 3 HAVING count(*) > 1)"),
              0);
    EXPECT_EQ(count("SELECT max(SeqEvento) FROM " + info.name), 32767);
}

TEST_P(EventTableTest, AceitaUmEventoComASuaChaveEGravaCadaColuna) {
    const EventTableInfo& info = eventTableInfo(GetParam());
    const QVariantList key = sampleKey(GetParam());
    EventRow row = event(key, "SUS", QDateTime(QDate(2015, 11, 20), QTime(0, 0)), "Auditoria");
    row.status = "S";
    row.dthUltAtualiz = clock.now();
    EXPECT_EQ(Eventos::insere(db, GetParam(), row), 1);
    EXPECT_EQ(Eventos::insere(db, GetParam(), row), 2);

    const QList<QSqlRecord> stored = rows("SELECT * FROM " + info.name + " ORDER BY SeqEvento");
    ASSERT_EQ(stored.size(), 2);
    const QSqlRecord& r = stored[0];
    for (int i = 0; i < info.keyColumns.size(); ++i)
        EXPECT_EQ(r.value(info.keyColumns[i]).toString(), key[i].toString())
            << info.keyColumns[i].toStdString();
    EXPECT_EQ(r.value("SeqEvento").toInt(), 1);
    EXPECT_EQ(r.value("Evento").toString(), "SUS");
    EXPECT_EQ(r.value("Justificativa").toString(), "Auditoria");
    EXPECT_EQ(r.value("HistoricoSis").toString(), "2");
    EXPECT_EQ(r.value(info.statusColumn).toString(), "S");
    EXPECT_EQ(r.value(info.statusDateColumn).toString(), "2015-11-20T00:00:00.000");
    EXPECT_EQ(r.value("DthUltAtualiz").toString(), "2015-11-25T14:03:59.250");
    EXPECT_EQ(r.value("UsuResp").toString(), "joao");
}

TEST_P(EventTableTest, ApagaDoItemEMudaChaveTocamSoNoItem) {
    const QVariantList key = sampleKey(GetParam());
    QVariantList other = key;
    other[other.size() - 1] =
        sampleValue(eventTableInfo(GetParam()).keyColumns.last()).typeId() == QMetaType::Int
            ? QVariant(999)
            : QVariant("OUTRO");
    Eventos::insere(db, GetParam(), event(key, "INC", at(2015, 1, 5)));
    Eventos::insere(db, GetParam(), event(other, "INC", at(2015, 1, 6)));
    Eventos::insere(db, GetParam(), event(key, "ALT", at(2015, 1, 7)));

    QVariantList moved = key;
    moved[0] = sampleValue(eventTableInfo(GetParam()).keyColumns[0]).typeId() == QMetaType::Int
                   ? QVariant(777)
                   : QVariant("NOVA");
    Eventos::mudaChave(db, GetParam(), key, moved);
    const QString table = eventTableInfo(GetParam()).name;
    const QString first = eventTableInfo(GetParam()).keyColumns[0];
    EXPECT_EQ(count(QString("SELECT count(*) FROM %1 WHERE %2 = %3")
                        .arg(table, first, Sql::quoted(moved[0].toString()))),
              2);

    Eventos::apagaDoItem(db, GetParam(), moved);
    const QList<QSqlRecord> left = rows("SELECT SeqEvento FROM " + table);
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left[0].value(0).toInt(), 2); // the other item's event
}

INSTANTIATE_TEST_SUITE_P(DozeTabelas, EventTableTest, ::testing::ValuesIn(AllTables),
                         [](const ::testing::TestParamInfo<EventTable>& info) {
                             return eventTableInfo(info.param).name.toStdString();
                         });

// ---- deleting and moving ----

TEST_F(EventosTest, ApagaRemoveExatamenteUmaLinha) {
    Eventos::insere(db, EventTable::STATUS_C, event(CertA, "INC", at(2015, 1, 5)));
    Eventos::insere(db, EventTable::STATUS_C, event(CertA, "ALT", at(2015, 1, 6)));
    Eventos::insere(db, EventTable::STATUS_C, event(CertB, "INC", at(2015, 1, 7)));
    Eventos::apaga(db, EventTable::STATUS_C, CertA, 2);
    QStringList left;
    for (const QSqlRecord& r : rows("SELECT NumCertif || ':' || SeqEvento FROM STATUS_C ORDER BY SeqEvento"))
        left << r.value(0).toString();
    EXPECT_EQ(left, QStringList({"CERT-A:1", "CERT-B:3"}));
    // The number of another item's event deletes nothing of this one.
    Eventos::apaga(db, EventTable::STATUS_C, CertA, 3);
    EXPECT_EQ(count("SELECT count(*) FROM STATUS_C"), 2);
}

TEST_F(EventosTest, MudaChaveLevaOsEventosDaLinhaDeProduto) {
    const QVariantList antiga{"OCC1", "CERT-A", "Marca", "Modelo 1", 0};
    const QVariantList nova{"OCC1", "CERT-A", "Marca", "Modelo 2", 1};
    const QVariantList outra{"OCC1", "CERT-A", "Marca", "Modelo 3", 0};
    Eventos::insere(db, EventTable::STATUS_T, event(antiga, "INC", at(2015, 1, 5)));
    Eventos::insere(db, EventTable::STATUS_T, event(outra, "INC", at(2015, 1, 5)));
    Eventos::insere(db, EventTable::STATUS_T, event(antiga, "ALT", at(2015, 1, 6)));
    Eventos::mudaChave(db, EventTable::STATUS_T, antiga, nova);
    EXPECT_EQ(count("SELECT count(*) FROM STATUS_T WHERE ModeloProd = 'Modelo 1'"), 0);
    EXPECT_EQ(count("SELECT sum(SeqEvento) FROM STATUS_T WHERE ModeloProd = 'Modelo 2' AND Importado = 1"),
              1 + 3);
    EXPECT_EQ(count("SELECT count(*) FROM STATUS_T WHERE ModeloProd = 'Modelo 3'"), 1);
}

// ---- approval and deletion rules ----

TEST_F(EventosTest, UltimaAprovacaoComparaDataHoraENaoTexto) {
    EXPECT_FALSE(Eventos::ultimaAprovacao(db, "OCC1", "CERT-A").isValid());
    // 02/11 written first; 10/01 is later as day-first text but earlier as a date.
    Eventos::insere(db, EventTable::STATUS_C, event(CertA, "APR", at(2015, 11, 2)));
    Eventos::insere(db, EventTable::STATUS_C, event(CertA, "APR", at(2015, 1, 10)));
    Eventos::insere(db, EventTable::STATUS_C, event(CertA, "ALT", at(2015, 11, 20)));
    Eventos::insere(db, EventTable::STATUS_C, event(CertB, "APR", at(2015, 11, 21)));
    EXPECT_EQ(Eventos::ultimaAprovacao(db, "OCC1", "CERT-A"), at(2015, 11, 2));
    EXPECT_EQ(Eventos::ultimaAprovacao(db, "OCC1", "CERT-B"), at(2015, 11, 21));
}

TEST_F(EventosTest, ItemSoPodeSerApagadoSeIncluidoDepoisDaUltimaAprovacao) {
    const QVariantList loteAntes{"L1", "OCC1", "CERT-A", "Marca", "Modelo", 0};
    const QVariantList loteDepois{"L2", "OCC1", "CERT-A", "Marca", "Modelo", 0};
    const QVariantList loteSemInclusao{"L3", "OCC1", "CERT-A", "Marca", "Modelo", 0};
    Eventos::insere(db, EventTable::STATUS_L, event(loteAntes, "INC", at(2015, 2, 1)));
    Eventos::insere(db, EventTable::STATUS_L, event(loteSemInclusao, "ALT", at(2015, 4, 1)));
    // Before any approval every item may go.
    EXPECT_TRUE(Eventos::podeApagarItem(db, EventTable::STATUS_L, loteAntes, "OCC1", "CERT-A"));

    Eventos::insere(db, EventTable::STATUS_C, event(CertA, "APR", at(2015, 3, 1, 9)));
    Eventos::insere(db, EventTable::STATUS_L, event(loteDepois, "INC", at(2015, 3, 1, 11)));
    // An alteration after the approval does not make an old lot new.
    Eventos::insere(db, EventTable::STATUS_L, event(loteAntes, "ALT", at(2015, 3, 2)));
    EXPECT_EQ(Eventos::ultimaInclusao(db, EventTable::STATUS_L, loteDepois), at(2015, 3, 1, 11));
    EXPECT_FALSE(Eventos::podeApagarItem(db, EventTable::STATUS_L, loteAntes, "OCC1", "CERT-A"));
    EXPECT_TRUE(Eventos::podeApagarItem(db, EventTable::STATUS_L, loteDepois, "OCC1", "CERT-A"));
    EXPECT_FALSE(Eventos::podeApagarItem(db, EventTable::STATUS_L, loteSemInclusao, "OCC1", "CERT-A"));

    // A newer approval covers the lot included before it.
    Eventos::insere(db, EventTable::STATUS_C, event(CertA, "APR", at(2015, 3, 5)));
    EXPECT_FALSE(Eventos::podeApagarItem(db, EventTable::STATUS_L, loteDepois, "OCC1", "CERT-A"));
}

// ---- the register routine ----

class RegistraEventoTest : public EventsFixture {
protected:
    RegistroEvento registro(bool perguntaJustificativa, bool perguntaData = false, bool apara = false) {
        RegistroEvento r;
        r.table = EventTable::EVENTO_EMP;
        r.key = {"OCC1", "CERT-A", "BR", "12345678000195"};
        r.evento = perguntaData ? "SUS" : "ALT";
        r.status = perguntaData ? "S" : "A";
        r.dataStatus = at(2015, 11, 1);
        r.perguntaData = perguntaData;
        r.perguntaJustificativa = perguntaJustificativa;
        r.aparaJustificativa = apara;
        return r;
    }

    QSqlRecord unico() {
        const QList<QSqlRecord> all = rows("SELECT * FROM EVENTO_EMP");
        EXPECT_EQ(all.size(), 1);
        return all.value(0);
    }

    int asked = 0;
    bool askedDate = false;
    QDate askedEmission;

    JustificationAsker answering(std::optional<Justificativa> answer) {
        return [this, answer](bool askDate, const QDate& emissao) {
            ++asked;
            askedDate = askDate;
            askedEmission = emissao;
            return answer;
        };
    }
};

TEST_F(RegistraEventoTest, SemJustificativaGravaOHistoricoDoSistema) {
    const auto result =
        registraEvento(db, answering(std::nullopt), registro(false), QDate(2015, 1, 5), "joao", clock.now());
    EXPECT_EQ(asked, 0);
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, at(2015, 11, 1));
    const QSqlRecord r = unico();
    EXPECT_EQ(r.value("Justificativa").toString(), "Historico gerado pelo sistema");
    EXPECT_EQ(r.value("HistoricoSis").toString(), "2");
    EXPECT_EQ(r.value("Evento").toString(), "ALT");
    EXPECT_EQ(r.value("StatusEmpresa").toString(), "A");
    EXPECT_EQ(r.value("DthStatusEmpresa").toDateTime(), at(2015, 11, 1));
    EXPECT_EQ(r.value("DthUltAtualiz").toDateTime(), clock.now());
    EXPECT_EQ(r.value("UsuResp").toString(), "joao");
}

TEST_F(RegistraEventoTest, CancelarNaoGravaNada) {
    const auto result = registraEvento(db, answering(std::nullopt), registro(true, true), QDate(2015, 1, 5),
                                       "joao", clock.now());
    EXPECT_FALSE(result);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(askedDate);
    EXPECT_EQ(askedEmission, QDate(2015, 1, 5));
    EXPECT_EQ(count("SELECT count(*) FROM EVENTO_EMP"), 0);
}

TEST_F(RegistraEventoTest, DataPerguntadaViraADataDoStatus) {
    const auto result = registraEvento(db, answering(Justificativa{"Auditoria", QDate(2015, 11, 20)}),
                                       registro(true, true), QDate(2015, 1, 5), "joao", clock.now());
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, QDateTime(QDate(2015, 11, 20), QTime(0, 0)));
    const QSqlRecord r = unico();
    EXPECT_EQ(r.value("DthStatusEmpresa").toString(), "2015-11-20T00:00:00.000");
    EXPECT_EQ(r.value("Justificativa").toString(), "Auditoria");
    EXPECT_EQ(r.value("HistoricoSis").toString(), "2");
    EXPECT_EQ(r.value("StatusEmpresa").toString(), "S");
}

TEST_F(RegistraEventoTest, JustificativaSemDataMantemADataDada) {
    registraEvento(db, answering(Justificativa{"Mudou o endereço", QDate()}), registro(true),
                   QDate(2015, 1, 5), "joao", clock.now());
    EXPECT_FALSE(askedDate);
    EXPECT_EQ(unico().value("DthStatusEmpresa").toDateTime(), at(2015, 11, 1));
}

TEST_F(RegistraEventoTest, AparaAJustificativaSoQuandoPedido) {
    struct Case {
        bool apara;
        const char* stored;
    };
    for (const Case c : {Case{true, "Motivo digitado"}, Case{false, "  Motivo digitado  "}}) {
        ASSERT_SQL(db, "DELETE FROM EVENTO_EMP");
        registraEvento(db, answering(Justificativa{"  Motivo digitado  ", QDate()}),
                       registro(true, false, c.apara), QDate(2015, 1, 5), "joao", clock.now());
        EXPECT_EQ(unico().value("Justificativa").toString(), c.stored) << "apara=" << c.apara;
    }
}
