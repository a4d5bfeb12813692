#include "RegisterGenerator.h"

#include "ChangeJournal.h"
#include "Database.h"
#include "DbError.h"
#include "EventSequence.h"
#include "Sql.h"
#include "Transaction.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>
#include <random>
#include <sqlite3.h>

namespace {

const QString User = QStringLiteral("GERADOR");

// One prepared INSERT, bound by position.
class Inserter {
public:
    Inserter(const QSqlDatabase& db, const QString& table, const QStringList& columns)
        : query_(Sql::prepare(
              db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(table, columns.join(QStringLiteral(", ")),
                           QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", "))))) {}
    void add(const QVariantList& values, qint64& counter) {
        for (int i = 0; i < values.size(); ++i)
            query_.bindValue(i, values[i]);
        Sql::exec(query_);
        ++counter;
    }

private:
    QSqlQuery query_;
};

// SeqEvento as the program numbers it: over the whole table, then within the certificate past the
// 16-bit ceiling. The generator writes one certificate at a time, so the certificate's numbers are
// known without asking the database.
class EventNumbers {
public:
    int next(int certificate) {
        if (certificate != certificate_) {
            certificate_ = certificate;
            used_.clear();
        }
        int seq;
        if (tableMax_ < EventSequence::MaxSeqEvento) {
            seq = ++tableMax_;
        } else {
            seq = 1;
            while (used_.contains(seq))
                ++seq;
        }
        used_.insert(seq);
        return seq;
    }

private:
    int tableMax_ = 0;
    int certificate_ = -1;
    QSet<int> used_;
};

QString cnpj(std::uint32_t n) {
    QString digits =
        QStringLiteral("%1").arg(n % 100000000u, 8, 10, QLatin1Char('0')) + QStringLiteral("0001");
    for (int round = 0; round < 2; ++round) {
        const int* weights;
        static const int first[] = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
        static const int second[] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
        weights = round == 0 ? first : second;
        int sum = 0;
        for (int i = 0; i < digits.size(); ++i)
            sum += digits[i].digitValue() * weights[i];
        const int rest = sum % 11;
        digits += QString::number(rest < 2 ? 0 : 11 - rest);
    }
    return digits;
}

void runScript(const QSqlDatabase& db, const QString& sql) {
    char* message = nullptr;
    if (sqlite3_exec(Database::handle(db), sql.toUtf8().constData(), nullptr, nullptr, &message) !=
        SQLITE_OK) {
        const QString text = QString::fromUtf8(message);
        sqlite3_free(message);
        throw DbError(text);
    }
}

const QStringList eventColumnsTail = {QStringLiteral("SeqEvento"), QStringLiteral("Evento"),
                                      QStringLiteral("Justificativa"), QStringLiteral("HistoricoSis")};

QStringList eventColumns(const QStringList& key, const QString& status, const QString& statusDate) {
    return key + eventColumnsTail +
           QStringList{status, statusDate, QStringLiteral("DthUltAtualiz"), QStringLiteral("UsuResp")};
}

} // namespace

void ensureReference(const QSqlDatabase& db, const QString& sigla, const QString& sampleReferenceSql) {
    if (Sql::scalar(db, QStringLiteral("SELECT count(*) FROM CLASSE_C")).toInt() == 0)
        runScript(db, QString(sampleReferenceSql).replace(QStringLiteral("{SIGLA}"), sigla));
    if (Sql::scalar(db, QStringLiteral("SELECT count(*) FROM CONFIG_LOCAL")).toInt() == 0)
        Sql::exec(db, QStringLiteral("INSERT INTO CONFIG_LOCAL (SiglaCertificador, NomeOCC) VALUES (:s, :n)"),
                  {{QStringLiteral(":s"), sigla},
                   {QStringLiteral(":n"), QStringLiteral("Organismo gerado para medições")}});
}

GeneratedCounts generateRegister(const QSqlDatabase& db, const GeneratorSettings& settings,
                                 const QString& sampleReferenceSql) {
    Transaction transaction(db);
    ensureReference(db, settings.sigla, sampleReferenceSql);
    std::mt19937 random(settings.seed);
    auto chance = [&](int percent) { return int(random() % 100) < percent; };

    GeneratedCounts counts;
    qint64& rows = counts.rows;
    const QString S = QStringLiteral("SiglaCertificador"), N = QStringLiteral("NumCertif");
    const QString Ma = QStringLiteral("MarcaProd"), Mo = QStringLiteral("ModeloProd"),
                  Im = QStringLiteral("Importado");
    const QString P = QStringLiteral("CodigoPais"), E = QStringLiteral("IdEmpresa");
    const QString CC = QStringLiteral("IdClasseCertif"), CP = QStringLiteral("IdClasseProd"),
                  CS = QStringLiteral("IdClasseServ"), D = QStringLiteral("IdDocNorm");
    const QString Dt = QStringLiteral("DthUltAtualiz"), U = QStringLiteral("UsuResp");

    Inserter empresa(db, QStringLiteral("EMPRESA"),
                     {P, E, QStringLiteral("CGC"), QStringLiteral("RazSocialEmp"),
                      QStringLiteral("NomFantasia"), QStringLiteral("EndLogr"), QStringLiteral("EndNum"),
                      QStringLiteral("EndCEP"), QStringLiteral("EndCidade"), QStringLiteral("SiglaUF"),
                      QStringLiteral("Telefone"), QStringLiteral("TipoPessoa"), Dt, U});
    Inserter certific(db, QStringLiteral("CERTIFIC"),
                      {S, N, QStringLiteral("StatusCertificado"), CP, CC, QStringLiteral("DataEmissao"),
                       QStringLiteral("DataValid"), QStringLiteral("LabEnsaio"),
                       QStringLiteral("NumRelEnsaio"), QStringLiteral("Signatarios"),
                       QStringLiteral("Observacoes"), QStringLiteral("Completo"), QStringLiteral("Aprovado"),
                       Dt, U, QStringLiteral("DthStatusCertificado")});
    Inserter empCert(db, QStringLiteral("EMP_CERT"),
                     {S, N, P, E, QStringLiteral("StatusEmpresa"), QStringLiteral("IdPapelEmp"), Dt, U,
                      QStringLiteral("DthEntEmpresa"), QStringLiteral("DthStatusEmpresa")});
    Inserter produto(db, QStringLiteral("PRODUTO"),
                     {Ma, Mo, Im, QStringLiteral("CodEANUPC"), QStringLiteral("DescrProd"), Dt, U});
    Inserter tipo(db, QStringLiteral("TIPO"),
                  {N, S, Ma, Mo, Im, QStringLiteral("StatusProduto"), Dt, U,
                   QStringLiteral("DthStatusProduto"), QStringLiteral("DthEntCertif"), P, E});
    Inserter lote(db, QStringLiteral("LOTE"),
                  {QStringLiteral("NumLote"), N, S, Ma, Mo, Im, QStringLiteral("StatusLote"),
                   QStringLiteral("QuantLote"), QStringLiteral("DataFabrLote"), QStringLiteral("DataValLote"),
                   Dt, U, QStringLiteral("DthStatusLote"), QStringLiteral("DthEntCertif"), P, E});
    Inserter unidade(db, QStringLiteral("UNIDADE"),
                     {QStringLiteral("NumSerieProd"), N, S, Ma, Mo, Im, QStringLiteral("StatusUnidade"), Dt,
                      U, P, E, QStringLiteral("DthEntCertif"), QStringLiteral("DthStatusUnidade"),
                      QStringLiteral("LocalInstalacao"), QStringLiteral("EndCidade"),
                      QStringLiteral("SiglaUF")});
    Inserter servico(db, QStringLiteral("SERVICO"),
                     {CS, N, S, P, E, QStringLiteral("StatusServico"), Dt, U, QStringLiteral("DthEntCertif"),
                      QStringLiteral("DthStatusServico")});
    Inserter dncp(db, QStringLiteral("DOC_NORM_CERT_PRODUTO"),
                  {S, N, CC, CP, D, QStringLiteral("DthEntDNCP"), QStringLiteral("Status_DNCP"),
                   QStringLiteral("DthStatusDNCP"), Dt, U});
    Inserter dncs(db, QStringLiteral("DOC_NORM_CERT_SERVICO"),
                  {S, N, CC, CS, D, QStringLiteral("DthEntDNCS"), QStringLiteral("Status_DNCS"),
                   QStringLiteral("DthStatusDNCS"), Dt, U});
    Inserter dnt(db, QStringLiteral("DOC_NORM_TIPO"),
                 {S, N, CC, CP, D, Ma, Mo, Im, QStringLiteral("DthEntDNT"), QStringLiteral("Status_DNT"),
                  QStringLiteral("DthStatusDNT"), Dt, U});
    Inserter dnl(db, QStringLiteral("DOC_NORM_LOTE"),
                 {S, N, CC, CP, D, Ma, Mo, Im, QStringLiteral("NumLote"), QStringLiteral("DthEntDNL"),
                  QStringLiteral("Status_DNL"), QStringLiteral("DthStatusDNL"), Dt, U});
    Inserter dnu(db, QStringLiteral("DOC_NORM_UNIDADE"),
                 {S, N, CC, CP, D, Ma, Mo, Im, QStringLiteral("NumSerieProd"), QStringLiteral("DthEntDNU"),
                  QStringLiteral("Status_DNU"), QStringLiteral("DthStatusDNU"), Dt, U});
    Inserter dns(db, QStringLiteral("DOC_NORM_SERV"),
                 {S, N, CC, CS, D, E, P, QStringLiteral("DthEntDNS"), QStringLiteral("Status_DNS"),
                  QStringLiteral("DthStatusDNS"), Dt, U});

    struct EventWriter {
        Inserter insert;
        EventNumbers numbers;
    };
    auto events = [&](const QString& table, const QStringList& key, const QString& status,
                      const QString& date) {
        return EventWriter{Inserter(db, table, eventColumns(key, status, date)), {}};
    };
    EventWriter evC = events(QStringLiteral("STATUS_C"), {S, N}, QStringLiteral("StatusCertificado"),
                             QStringLiteral("DthStatusCertificado"));
    EventWriter evEmp = events(QStringLiteral("EVENTO_EMP"), {S, N, P, E}, QStringLiteral("StatusEmpresa"),
                               QStringLiteral("DthStatusEmpresa"));
    EventWriter evT = events(QStringLiteral("STATUS_T"), {S, N, Ma, Mo, Im}, QStringLiteral("StatusProduto"),
                             QStringLiteral("DthStatusProduto"));
    EventWriter evL = events(QStringLiteral("STATUS_L"), {QStringLiteral("NumLote"), S, N, Ma, Mo, Im},
                             QStringLiteral("Status_L"), QStringLiteral("DthStatus_L"));
    EventWriter evU = events(QStringLiteral("STATUS_U"), {QStringLiteral("NumSerieProd"), S, N, Ma, Mo, Im},
                             QStringLiteral("StatusUnidade"), QStringLiteral("DthStatusUnidade"));
    EventWriter evS = events(QStringLiteral("STATUS_S"), {CS, S, N, P, E}, QStringLiteral("Status_S"),
                             QStringLiteral("DthStatusServico"));
    EventWriter evDncp = events(QStringLiteral("STATUS_DNCP"), {S, N, CC, CP, D},
                                QStringLiteral("Status_DNCP"), QStringLiteral("DthStatusDNCP"));
    EventWriter evDncs = events(QStringLiteral("STATUS_DNCS"), {S, N, CC, CS, D},
                                QStringLiteral("Status_DNCS"), QStringLiteral("DthStatusDNCS"));
    EventWriter evDnt = events(QStringLiteral("STATUS_DNT"), {S, N, Ma, Mo, Im, CC, CP, D},
                               QStringLiteral("Status_DNT"), QStringLiteral("DthStatusDNT"));
    EventWriter evDnl =
        events(QStringLiteral("STATUS_DNL"), {QStringLiteral("NumLote"), S, N, Ma, Mo, Im, CC, CP, D},
               QStringLiteral("Status_DNL"), QStringLiteral("DthStatusDNL"));
    EventWriter evDnu =
        events(QStringLiteral("STATUS_DNU"), {QStringLiteral("NumSerieProd"), S, N, Ma, Mo, Im, CC, CP, D},
               QStringLiteral("Status_DNU"), QStringLiteral("DthStatusDNU"));
    EventWriter evDns = events(QStringLiteral("STATUS_DNS"), {D, CC, CS, S, N, P, E},
                               QStringLiteral("Status_DNS"), QStringLiteral("DthStatusDNS"));

    const QString A = QStringLiteral("A");
    const QString inc = QStringLiteral("INC");
    const QString generated = QStringLiteral("Historico gerado pelo sistema");
    const QString two = QStringLiteral("2");
    const QDateTime now = settings.now;

    // Companies are shared: about one for every two certificates.
    const int companyCount = std::max(4, settings.certificates / 2);
    QList<QString> companies;
    for (int c = 0; c < companyCount; ++c) {
        const QString id = cnpj(10000000u + std::uint32_t(c) * 7919u);
        companies << id;
        empresa.add({QStringLiteral("BR"), id, id, QStringLiteral("Empresa Gerada %1 Ltda").arg(c),
                     QStringLiteral("Gerada %1").arg(c), QStringLiteral("Rua %1").arg(random() % 900),
                     QString::number(random() % 2000),
                     QStringLiteral("%1").arg(random() % 100000000, 8, 10, QLatin1Char('0')),
                     QStringLiteral("Cidade %1").arg(c % 97), QStringLiteral("SP"),
                     QStringLiteral("(11) 5555-%1").arg(c % 10000, 4, 10, QLatin1Char('0')),
                     QStringLiteral("1"), now, User},
                    rows);
    }

    for (int c = 0; c < settings.certificates; ++c) {
        const QString num = QStringLiteral("GER-%1").arg(c + 1, 6, 10, QLatin1Char('0'));
        const bool services = c % 10 == 9;
        const bool approved = chance(settings.approvedPercent);
        const QString classeCertif =
            services ? QStringLiteral("SERV") : (c % 3 == 2 ? QStringLiteral("VOL") : QStringLiteral("COMP"));
        const int classeProd = services ? 300 : (classeCertif == QStringLiteral("VOL") || c % 2 ? 110 : 200);
        const int docProd = classeCertif == QStringLiteral("VOL") ? 1004 : (classeProd == 110 ? 1001 : 1003);
        const QDateTime issued = now.addDays(-int(random() % 1500) - 30);
        const QDateTime emission(issued.date(), QTime(0, 0));
        certific.add({settings.sigla, num, A, classeProd, classeCertif, emission, emission.addYears(4),
                      QStringLiteral("Laboratório %1").arg(c % 40), QStringLiteral("RE-%1").arg(c * 3 + 1),
                      QStringLiteral("Signatário %1").arg(c % 5),
                      c % 4 ? QVariant(QStringLiteral("Observação %1").arg(c)) : QVariant(), approved,
                      approved, issued, User, emission},
                     rows);
        evC.insert.add(
            {settings.sigla, num, evC.numbers.next(c), inc, generated, two, A, emission, issued, User}, rows);

        // 2 or 3 company links; the first company makes every line.
        const int links = 2 + int(random() % 2);
        QList<QString> linked;
        while (linked.size() < links) {
            const QString id = companies[int(random() % std::uint32_t(companies.size()))];
            if (!linked.contains(id))
                linked << id;
        }
        for (int l = 0; l < links; ++l) {
            empCert.add({settings.sigla, num, QStringLiteral("BR"), linked[l], A, 1 + l % 3, issued, User,
                         emission, emission},
                        rows);
            evEmp.insert.add({settings.sigla, num, QStringLiteral("BR"), linked[l], evEmp.numbers.next(c),
                              inc, generated, two, A, emission, issued, User},
                             rows);
        }
        const QString maker = linked.first();

        if (services) {
            const int classeServ = 10;
            const int doc = 2001;
            servico.add({classeServ, num, settings.sigla, QStringLiteral("BR"), maker, A, issued, User,
                         emission, emission},
                        rows);
            evS.insert.add({classeServ, settings.sigla, num, QStringLiteral("BR"), maker, evS.numbers.next(c),
                            inc, generated, two, A, emission, issued, User},
                           rows);
            dncs.add(
                {settings.sigla, num, classeCertif, classeServ, doc, emission, A, emission, issued, User},
                rows);
            evDncs.insert.add({settings.sigla, num, classeCertif, classeServ, doc, evDncs.numbers.next(c),
                               inc, generated, two, A, emission, issued, User},
                              rows);
            dns.add({settings.sigla, num, classeCertif, classeServ, doc, maker, QStringLiteral("BR"),
                     emission, A, emission, issued, User},
                    rows);
            evDns.insert.add({doc, classeCertif, classeServ, settings.sigla, num, QStringLiteral("BR"), maker,
                              evDns.numbers.next(c), inc, generated, two, A, emission, issued, User},
                             rows);
        } else {
            dncp.add(
                {settings.sigla, num, classeCertif, classeProd, docProd, emission, A, emission, issued, User},
                rows);
            evDncp.insert.add({settings.sigla, num, classeCertif, classeProd, docProd, evDncp.numbers.next(c),
                               inc, generated, two, A, emission, issued, User},
                              rows);
        }

        // Products of its own: two types, one lot, the units.
        const QString brand = QStringLiteral("Marca %1").arg(c % 250);
        auto product = [&](const QString& model, int imported) {
            produto.add({brand, model, imported,
                         QStringLiteral("789%1").arg(c * 10 + imported, 10, 10, QLatin1Char('0')),
                         QStringLiteral("Produto %1").arg(model), now, User},
                        rows);
        };
        if (services) {
            counts.certificates++;
            continue;
        }
        for (int t = 0; t < 2; ++t) {
            const QString model = QStringLiteral("%1-T%2").arg(num).arg(t);
            const int imported = t;
            product(model, imported);
            tipo.add({num, settings.sigla, brand, model, imported, A, issued, User, emission, emission,
                      QStringLiteral("BR"), maker},
                     rows);
            evT.insert.add({settings.sigla, num, brand, model, imported, evT.numbers.next(c), inc, generated,
                            two, A, emission, issued, User},
                           rows);
            dnt.add({settings.sigla, num, classeCertif, classeProd, docProd, brand, model, imported, emission,
                     A, emission, issued, User},
                    rows);
            evDnt.insert.add({settings.sigla, num, brand, model, imported, classeCertif, classeProd, docProd,
                              evDnt.numbers.next(c), inc, generated, two, A, emission, issued, User},
                             rows);
        }
        {
            const QString model = QStringLiteral("%1-L").arg(num);
            const QString lot = QStringLiteral("L%1").arg(c + 1);
            product(model, 0);
            lote.add({lot, num, settings.sigla, brand, model, 0, A, QString::number(100 + random() % 900),
                      emission.addDays(-20), emission.addYears(2), issued, User, emission, emission,
                      QStringLiteral("BR"), maker},
                     rows);
            evL.insert.add({lot, settings.sigla, num, brand, model, 0, evL.numbers.next(c), inc, generated,
                            two, A, emission, issued, User},
                           rows);
            dnl.add({settings.sigla, num, classeCertif, classeProd, docProd, brand, model, 0, lot, emission,
                     A, emission, issued, User},
                    rows);
            evDnl.insert.add({lot, settings.sigla, num, brand, model, 0, classeCertif, classeProd, docProd,
                              evDnl.numbers.next(c), inc, generated, two, A, emission, issued, User},
                             rows);
        }
        {
            const QString model = QStringLiteral("%1-U").arg(num);
            product(model, 0);
            for (int u = 0; u < 5; ++u) {
                const QString serial = QStringLiteral("S%1-%2").arg(c + 1).arg(u);
                unidade.add({serial, num, settings.sigla, brand, model, 0, A, issued, User,
                             QStringLiteral("BR"), maker, emission, emission,
                             u % 2 ? QVariant(QStringLiteral("Sala %1").arg(u)) : QVariant(),
                             QStringLiteral("Cidade %1").arg(c % 97), QStringLiteral("RJ")},
                            rows);
                evU.insert.add({serial, settings.sigla, num, brand, model, 0, evU.numbers.next(c), inc,
                                generated, two, A, emission, issued, User},
                               rows);
                dnu.add({settings.sigla, num, classeCertif, classeProd, docProd, brand, model, 0, serial,
                         emission, A, emission, issued, User},
                        rows);
                evDnu.insert.add({serial, settings.sigla, num, brand, model, 0, classeCertif, classeProd,
                                  docProd, evDnu.numbers.next(c), inc, generated, two, A, emission, issued,
                                  User},
                                 rows);
            }
        }
        if (approved)
            evC.insert.add({settings.sigla, num, evC.numbers.next(c), QStringLiteral("APR"), generated, two,
                            A, emission, issued.addDays(1), User},
                           rows);
        counts.certificates++;
    }
    transaction.commit();
    return counts;
}

namespace {

QStringList replicatedTables(const QSqlDatabase& db) {
    QStringList tables;
    QSqlQuery query =
        Sql::exec(db, QStringLiteral("SELECT substr(name, 5) FROM sqlite_master WHERE type = 'table' "
                                     "AND name LIKE 'REP\\_%' ESCAPE '\\' ORDER BY name"));
    while (query.next())
        tables << query.value(0).toString();
    return tables;
}

} // namespace

void levelReplicas(const QSqlDatabase& db) {
    Transaction transaction(db);
    for (const QString& table : replicatedTables(db)) {
        Sql::exec(db, QStringLiteral("DELETE FROM REP_%1").arg(table));
        Sql::exec(db, QStringLiteral("INSERT INTO REP_%1 SELECT * FROM %1").arg(table));
    }
    // Nothing is pending after an accepted batch.
    Sql::exec(db, QStringLiteral("DELETE FROM %1").arg(ChangeJournal::Tabela));
    transaction.commit();
}

int changeCertificates(const QSqlDatabase& db, double percent, std::uint32_t seed, const QDateTime& now) {
    Transaction transaction(db);
    QStringList approved;
    QSqlQuery list =
        Sql::exec(db, QStringLiteral("SELECT NumCertif FROM CERTIFIC WHERE Aprovado = 1 AND "
                                     "EXISTS (SELECT 1 FROM UNIDADE u WHERE u.SiglaCertificador = "
                                     "CERTIFIC.SiglaCertificador AND u.NumCertif = CERTIFIC.NumCertif) "
                                     "ORDER BY NumCertif"));
    while (list.next())
        approved << list.value(0).toString();
    std::mt19937 random(seed);
    std::shuffle(approved.begin(), approved.end(), random);
    const int changes = std::min<int>(int(approved.size()), int(approved.size() * percent / 100.0 + 0.5));
    for (int i = 0; i < changes; ++i) {
        const Sql::Params cert{{QStringLiteral(":n"), approved[i]}, {QStringLiteral(":now"), now}};
        Sql::exec(
            db,
            QStringLiteral("UPDATE CERTIFIC SET Observacoes = NULL, NumRelEnsaio = NumRelEnsaio || '-R', "
                           "DthUltAtualiz = :now WHERE NumCertif = :n"),
            cert);
        // A unit's installation place typed for the first time, one unit gone, one new.
        Sql::exec(
            db,
            QStringLiteral("UPDATE UNIDADE SET LocalInstalacao = 'Instalada depois', DthUltAtualiz = :now "
                           "WHERE NumCertif = :n AND NumSerieProd LIKE '%-0'"),
            cert);
        for (const char* table : {"DOC_NORM_UNIDADE", "STATUS_DNU", "STATUS_U", "UNIDADE"})
            Sql::exec(db,
                      QStringLiteral("DELETE FROM %1 WHERE NumCertif = :n AND NumSerieProd LIKE '%-4'")
                          .arg(QLatin1String(table)),
                      {{QStringLiteral(":n"), approved[i]}});
        Sql::exec(db,
                  QStringLiteral(
                      // A certificate changed again already has its new unit.
                      "INSERT OR IGNORE INTO UNIDADE (NumSerieProd, NumCertif, SiglaCertificador, MarcaProd, "
                      "ModeloProd, Importado, StatusUnidade, DthUltAtualiz, UsuResp, CodigoPais, IdEmpresa, "
                      "DthEntCertif, DthStatusUnidade) SELECT replace(NumSerieProd, '-3', '-9'), NumCertif, "
                      "SiglaCertificador, MarcaProd, ModeloProd, Importado, 'A', :now, 'GERADOR', "
                      "CodigoPais, IdEmpresa, DthEntCertif, DthStatusUnidade FROM UNIDADE "
                      "WHERE NumCertif = :n AND NumSerieProd LIKE '%-3'"),
                  cert);
        QSqlQuery sigla =
            Sql::exec(db, QStringLiteral("SELECT SiglaCertificador FROM CERTIFIC WHERE NumCertif = :n"),
                      {{QStringLiteral(":n"), approved[i]}});
        sigla.next();
        const QString s = sigla.value(0).toString();
        for (const QString& evento : {QStringLiteral("ALT"), QStringLiteral("APR")}) {
            const int seq = EventSequence::next(db, QStringLiteral("STATUS_C"), s, approved[i]);
            Sql::exec(
                db,
                QStringLiteral("INSERT INTO STATUS_C (SiglaCertificador, NumCertif, SeqEvento, Evento, "
                               "Justificativa, HistoricoSis, StatusCertificado, DthUltAtualiz, UsuResp) "
                               "VALUES (:s, :n, :q, :e, 'Alteração gerada', '2', 'A', :now, 'GERADOR')"),
                {{QStringLiteral(":s"), s},
                 {QStringLiteral(":n"), approved[i]},
                 {QStringLiteral(":q"), seq},
                 {QStringLiteral(":e"), evento},
                 {QStringLiteral(":now"), now}});
        }
    }
    transaction.commit();
    return changes;
}
