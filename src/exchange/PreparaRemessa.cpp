#include "PreparaRemessa.h"

#include "Archiver.h"
#include "BatchControl.h"
#include "ChangeJournal.h"
#include "Clock.h"
#include "ConfigLocal.h"
#include "Cp1252.h"
#include "Database.h"
#include "DbError.h"
#include "Embaralha.h"
#include "EngineServices.h"
#include "Files.h"
#include "ParadoxWriter.h"
#include "Session.h"
#include "SharedBatchState.h"
#include "Sql.h"
#include "TDMTabelasData.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <optional>
#include <sqlite3.h>

namespace {

const QString TituloPreparacao = QStringLiteral("Preparação de Remessas");
const QString TituloConfiguracao = QStringLiteral("Erro de Configuração");
const QString TextoSucesso = QStringLiteral("Preparação Ocorrida com Sucesso.");
const QString TextoNada = QStringLiteral("Nenhuma tabela nova foi criada!");
const QString TextoInterrompida = QStringLiteral("Preparação Interrompida pelo Usuário.");
const QString TextoErro = QStringLiteral("Ocorreu um Erro na Preparação.");
const QString OperacaoErro = QStringLiteral("Erro.!");

// The version stamped into every partial batch: the program's version text, characters 7 to 18.
const QString TextoVersao = QStringLiteral("Versão " TARVENDIX_VERSION);

// The version table every partial batch carries.
const QString NomeSistema = QStringLiteral("Sistema.db");

// Rows between two looks at the interruption flag and two progress reports while copying.
constexpr int RowsPerTick = 256;
// Milliseconds between two progress reports while the database works on one statement.
constexpr int ReportIntervalMs = 50;
// SQLite virtual-machine steps between two looks at the flag inside a statement.
constexpr int OpcodesPerTick = 4000;

QString operacaoDe(ConsultaRemessa consulta) {
    switch (consulta) {
    case ConsultaRemessa::A:
        return QStringLiteral("Alteração");
    case ConsultaRemessa::E:
        return QStringLiteral("Deleção");
    case ConsultaRemessa::I:
    case ConsultaRemessa::T:
        break;
    }
    return QStringLiteral("Inclusão");
}

QList<ConsultaRemessa> consultasDe(const QString& tipoRemessa) {
    if (tipoRemessa == BatchTypes::Completa)
        return {ConsultaRemessa::T};
    return {ConsultaRemessa::I, ConsultaRemessa::A, ConsultaRemessa::E};
}

// The names of every file a preparation may leave in the transfer directory: the difference
// tables of the descriptors (with the index and validity files older tools wrote beside them) and
// the version table. Only these are ever deleted or packed there; the directory is the user's
// choice and may hold anything else.
QStringList nomesDeTrabalho() {
    QStringList names{NomeSistema};
    for (const TabelaRemessa& tabela : TDMTabelasData::MontaTabelasRemessa())
        for (ConsultaRemessa consulta : {ConsultaRemessa::I, ConsultaRemessa::A, ConsultaRemessa::E})
            for (const char* extensao : {".DB", ".PX", ".VAL"})
                names << tabela.Nome + sufixoArquivo(consulta) + QLatin1String(extensao);
    return names;
}

// The entries of the directory that bear one of those names, whatever their case.
QStringList arquivosDeTrabalho(const QString& directory) {
    static const QSet<QString> nomes = [] {
        QSet<QString> set;
        for (const QString& name : nomesDeTrabalho())
            set.insert(name.toUpper());
        return set;
    }();
    const QDir dir(directory);
    QStringList paths;
    for (const QString& name :
         dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name))
        if (nomes.contains(name.toUpper()))
            paths << dir.absoluteFilePath(name);
    return paths;
}

// Deletes the work files a former run left; the message when one stays behind (anything of such
// a name that cannot be deleted, a directory included, would otherwise go out or clash).
QString apagaArquivosDeTrabalho(const QString& directory) {
    for (const QString& path : arquivosDeTrabalho(directory))
        if (!QFile::remove(path) && QFileInfo::exists(path))
            return QStringLiteral(
                       "Não foi possível apagar o arquivo %1 do Diretório Local de Transferência de "
                       "Remessas.")
                .arg(QDir::toNativeSeparators(path));
    return {};
}

// Reports progress and watches the interruption flag, also from inside a running statement.
class Watch {
public:
    Watch(const std::atomic_bool& interromper, const PreparationProgressFn& progresso)
        : interromper_(interromper), progresso_(progresso) {
        sinceReport_.start();
    }

    PreparationProgress progress;

    bool interrupted() const { return interromper_.load(); }
    void report() {
        sinceReport_.restart();
        if (progresso_)
            progresso_(progress);
    }
    void tick() {
        if (sinceReport_.elapsed() >= ReportIntervalMs)
            report();
    }
    void stepDone() {
        ++progress.passo;
        progress.passoConcluido = true;
        report();
        progress.passoConcluido = false;
        progress.linhas = 0;
    }

    // SQLite's progress handler: a non-zero answer ends the running statement.
    static int onProgress(void* data) {
        auto* watch = static_cast<Watch*>(data);
        watch->tick();
        return watch->interrupted() ? 1 : 0;
    }

private:
    const std::atomic_bool& interromper_;
    const PreparationProgressFn& progresso_;
    QElapsedTimer sinceReport_;
};

// A connection of its own on the same database file, inside one read transaction, so every table
// of the batch is read from the same state whatever is written meanwhile. Created and used on the
// thread that runs the preparation.
class ReadSnapshot {
public:
    ReadSnapshot(const QString& sourceConnection, Watch& watch)
        : name_(QStringLiteral("CapaCertific-remessa-%1").arg(quintptr(this), 0, 16)) {
        QSqlDatabase db = QSqlDatabase::cloneDatabase(sourceConnection, name_);
        // Read-only: a database file gone missing is an error, never a new empty register.
        db.setConnectOptions(db.connectOptions() + QStringLiteral(";QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            const QString text = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name_);
            throw DbError(QStringLiteral("Não foi possível abrir o banco de dados: %1").arg(text));
        }
        try {
            if (!db.transaction())
                throw DbError(db.lastError().text());
            // The first read takes the snapshot, held until the transaction ends.
            Sql::scalar(db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
            sqlite3_progress_handler(Database::handle(db), OpcodesPerTick, &Watch::onProgress, &watch);
        } catch (...) {
            close();
            throw;
        }
    }
    ~ReadSnapshot() { close(); }
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;

    QSqlDatabase database() const { return QSqlDatabase::database(name_, false); }

    void close() {
        if (name_.isEmpty())
            return;
        {
            QSqlDatabase db = database();
            if (db.isOpen()) {
                sqlite3_progress_handler(Database::handle(db), 0, nullptr, nullptr);
                db.rollback();
                db.close();
            }
        }
        QSqlDatabase::removeDatabase(name_);
        name_.clear();
    }

private:
    QString name_;
};

struct Interrupted {};

// Runs one statement and streams its rows into a new Paradox table, created at the first row.
// Returns the rows written; throws Interrupted or DbError.
qint64 copiaConsulta(const QSqlDatabase& db, const QString& sql, const QString& path,
                     const QList<ParadoxField>& fields, Watch& watch) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const auto failed = [&]() {
        if (watch.interrupted())
            throw Interrupted{};
        throw Sql::errorOf(query);
    };
    if (!query.exec(sql))
        failed();
    const int columns = int(fields.size());
    std::optional<ParadoxWriter> writer;
    ParadoxRow row;
    row.reserve(columns);
    qint64 count = 0;
    while (query.next()) {
        if (!writer)
            writer.emplace(path, fields);
        row.clear();
        for (int i = 0; i < columns; ++i)
            row.append(query.value(i));
        writer->append(row);
        if (++count % RowsPerTick == 0) {
            watch.progress.linhas = count;
            watch.tick();
            if (watch.interrupted())
                throw Interrupted{}; // the writer removes the unfinished table
        }
    }
    if (query.lastError().isValid())
        failed();
    if (writer)
        writer->finish();
    watch.progress.linhas = count;
    return count;
}

qint64 conta(const QSqlDatabase& db, const QString& sql, Watch& watch) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(sql) || !query.next()) {
        if (watch.interrupted())
            throw Interrupted{};
        throw Sql::errorOf(query);
    }
    return query.value(0).toLongLong();
}

void escreveSistema(const QString& directory) {
    ParadoxWriter sistema(QDir(directory).filePath(NomeSistema),
                          {ParadoxField::alpha(QStringLiteral("Versao"), 50)});
    const QString versao = TextoVersao.mid(6, 12).trimmed();
    sistema.append({Cp1252::decode(EmbaralhaTexto(Direcao::Codificar, Cp1252::encodeLossy(versao)))});
    sistema.finish();
}

PreparationResult resultado(PreparationResult::Status status, const QString& texto,
                            const QString& mensagem = {}, const QString& titulo = {}) {
    PreparationResult r;
    r.status = status;
    r.EdResultado = texto;
    r.mensagem = mensagem;
    r.titulo = titulo;
    return r;
}

PreparationResult recusada(const QString& mensagem, const QString& titulo) {
    return resultado(PreparationResult::Status::Recusada, {}, mensagem, titulo);
}

} // namespace

qint64 PreviewResult::total() const {
    qint64 sum = 0;
    for (const PreviewRow& row : tabelas)
        sum += row.inclusoes + row.alteracoes + row.exclusoes;
    return sum;
}

PreparaRemessa::PreparaRemessa(Session& session, SharedBatchState& state)
    : session_(session), state_(state) {}

QString PreparaRemessa::textoConfirmacaoCompleta() {
    return QStringLiteral(
        "Uma remessa completa deve ser preparada sob a supervisão do Kavorel.Deseja realmente "
        "continuar com a preparação ?");
}

QString PreparaRemessa::tituloConfirmacaoCompleta() {
    return QStringLiteral("Preparação de uma Remessa Completa");
}

int PreparaRemessa::numeroDePassos(const QString& tipoRemessa) {
    return int(TabelasRemessa().size() * consultasDe(tipoRemessa).size());
}

QString PreparaRemessa::problemaDiretorio() const {
    const std::optional<ConfigLocal> config = ConfigLocalTable::load(session_.database());
    if (const QString problema =
            ConfigLocalTable::problemaDiretorioTransferencia(config.value_or(ConfigLocal{}));
        !problema.isEmpty())
        return problema;
    if (state_.DirLocalTransf.isEmpty() || !QFileInfo(state_.DirLocalTransf).isDir())
        return QStringLiteral("Diretório Local de Transferência de Remessas não foi encontrado.");
    return {};
}

PreparationResult PreparaRemessa::run(const QString& tipoRemessa, const QString& numeroAnterior,
                                      bool completaConfirmada, const std::atomic_bool& interromper,
                                      const PreparationProgressFn& progresso) {
    if (tipoRemessa != BatchTypes::Parcial && tipoRemessa != BatchTypes::Completa)
        return recusada(QStringLiteral("É obrigatória a escolha de um tipo de remessa."),
                        QStringLiteral("Tipo de Remessa"));
    if (const QString problema = problemaDiretorio(); !problema.isEmpty())
        return recusada(problema, TituloConfiguracao);
    if (tipoRemessa == BatchTypes::Completa && !completaConfirmada)
        return recusada(textoConfirmacaoCompleta(), tituloConfirmacaoCompleta());

    BatchControl control(session_, state_);
    control.removeArquivoDaUltimaAceita();
    const auto novoNumero = [&]() {
        return NumeroRemessa::proximo(NumeroRemessa::maior(numeroAnterior, control.ultimoNumeroEmitido()),
                                      session_.clock().today());
    };
    if (const NumeroRemessa::Proximo numero = novoNumero(); !numero.problema.isEmpty())
        return recusada(numero.problema, TituloPreparacao);

    const QString directory = state_.DirLocalTransf;
    Watch watch(interromper, progresso);
    watch.progress.maximo = numeroDePassos(tipoRemessa);
    PreparationResult result;
    bool interrompida = false;
    qint64 ultimaAlteracao = 0; // the newest journal entry the snapshot saw
    bool rastreada = false;
    try {
        // Stale tables must never go out: a file that cannot be deleted stops the run here.
        if (const QString problema = apagaArquivosDeTrabalho(directory); !problema.isEmpty())
            return resultado(PreparationResult::Status::Erro, TextoErro, problema, TituloPreparacao);

        ReadSnapshot snapshot(session_.connectionName(), watch);
        {
            const QSqlDatabase db = snapshot.database();
            const TDMTabelasData::Comparacao comparacao = comparacaoPara(tipoRemessa, db);
            rastreada = comparacao == TDMTabelasData::Comparacao::Rastreada;
            ultimaAlteracao = ChangeJournal::ultimaAlteracao(db);
            const TDMTabelasData dm(db, comparacao);
            const QList<TabelaRemessa>& tabelas = TDMTabelasData::MontaTabelasRemessa();
            try {
                for (int t = 0; t < tabelas.size() && !interrompida; ++t) {
                    const TabelaRemessa& tabela = tabelas[t];
                    watch.progress.tabela = t + 1;
                    watch.progress.Nome = tabela.Nome;
                    watch.progress.Rotulo = tabela.Rotulo;
                    const QList<ParadoxField> fields = EngineServices::paradoxFieldsOf(db, tabela.tabela());
                    for (ConsultaRemessa consulta : consultasDe(tipoRemessa)) {
                        if (watch.interrupted()) {
                            interrompida = true;
                            break;
                        }
                        watch.progress.operacao = operacaoDe(consulta);
                        watch.report();
                        const QString path = QDir(directory).filePath(tabela.Nome + sufixoArquivo(consulta) +
                                                                      QStringLiteral(".DB"));
                        if (copiaConsulta(db, dm.consulta(tabela, consulta), path, fields, watch) > 0)
                            ++result.tabelasCriadas;
                        watch.stepDone();
                    }
                }
            } catch (const Interrupted&) {
                interrompida = true;
            }
        }
        snapshot.close();
        if (interrompida || watch.interrupted()) {
            interrompida = true;
            watch.progress.operacao = OperacaoErro;
            watch.report();
        }
        if (tipoRemessa == BatchTypes::Parcial)
            escreveSistema(directory);
    } catch (const DbError& error) {
        watch.progress.operacao = OperacaoErro;
        watch.report();
        return resultado(PreparationResult::Status::Erro, TextoErro, error.message(), TituloPreparacao);
    } catch (const std::exception& error) {
        watch.progress.operacao = OperacaoErro;
        watch.report();
        return resultado(PreparationResult::Status::Erro, TextoErro, QString::fromLocal8Bit(error.what()),
                         TituloPreparacao);
    }

    if (interrompida) {
        const int criadas = result.tabelasCriadas;
        result = resultado(PreparationResult::Status::Interrompida, TextoInterrompida);
        result.tabelasCriadas = criadas;
        return result;
    }
    if (result.tabelasCriadas == 0)
        return resultado(PreparationResult::Status::NadaAEnviar, {}, TextoNada, TituloPreparacao);

    // Packing: the number of the day the batch is packed.
    watch.progress.fase = PreparationProgress::Fase::Compactando;
    watch.report();
    const NumeroRemessa::Proximo numero = novoNumero();
    const int criadas = result.tabelasCriadas;
    if (!numero.problema.isEmpty()) {
        result = resultado(PreparationResult::Status::Erro, TextoErro, numero.problema, TituloPreparacao);
        result.tabelasCriadas = criadas;
        return result;
    }
    const QString arquivo = BatchTypes::nomeArquivo(tipoRemessa, state_.SiglaCertificador, numero.numero);
    const QString archive = QDir(directory).filePath(arquivo);
    if (!CompactaArquivos(session_.prompts(), arquivosDeTrabalho(directory), archive)) {
        result = resultado(PreparationResult::Status::Erro, TextoErro);
        result.tabelasCriadas = criadas;
        return result;
    }
    apagaArquivosDeTrabalho(directory);

    try {
        control.registraPreparacao(numero.numero, tipoRemessa, ultimaAlteracao);
    } catch (const DbError& error) {
        // No archive without its event: the next preparation would issue its number again.
        QFile::remove(archive);
        result = resultado(PreparationResult::Status::Erro, TextoErro, error.message(), TituloPreparacao);
        result.tabelasCriadas = criadas;
        return result;
    }
    state_.NumeroRemessa = numero.numero;
    state_.TipoRemessa = tipoRemessa;

    watch.progress.fase = PreparationProgress::Fase::Concluida;
    watch.report();
    result = resultado(PreparationResult::Status::Sucesso, TextoSucesso);
    result.numeroRemessa = numero.numero;
    result.arquivo = arquivo;
    result.tabelasCriadas = criadas;
    result.aviso = numero.aviso;
    result.rastreada = rastreada;
    return result;
}

TDMTabelasData::Comparacao PreparaRemessa::comparacaoPara(const QString& tipoRemessa,
                                                          const QSqlDatabase& snapshot) const {
    // With more entries than certificates most of the register changed (the first batch, a large
    // import): walking it whole is then cheaper than probing it key by key.
    const bool rastreada =
        tipoRemessa == BatchTypes::Parcial && !comparacaoCompleta_ && !ChangeJournal::incompleto(snapshot) &&
        ChangeJournal::entradas(snapshot) <=
            Sql::scalar(snapshot, QStringLiteral("SELECT count(*) FROM CERTIFIC")).toLongLong();
    return rastreada ? TDMTabelasData::Comparacao::Rastreada : TDMTabelasData::Comparacao::Completa;
}

PreviewResult PreparaRemessa::previa(const QString& tipoRemessa, const std::atomic_bool& interromper,
                                     const PreparationProgressFn& progresso) {
    PreviewResult result;
    Watch watch(interromper, progresso);
    watch.progress.maximo = numeroDePassos(tipoRemessa);
    try {
        ReadSnapshot snapshot(session_.connectionName(), watch);
        const QSqlDatabase db = snapshot.database();
        const TDMTabelasData dm(db, comparacaoPara(tipoRemessa, db));
        for (const TabelaRemessa& tabela : TDMTabelasData::MontaTabelasRemessa()) {
            PreviewRow row{tabela.Nome, tabela.Rotulo};
            watch.progress.tabela++;
            watch.progress.Nome = tabela.Nome;
            watch.progress.Rotulo = tabela.Rotulo;
            for (ConsultaRemessa consulta : consultasDe(tipoRemessa)) {
                if (watch.interrupted())
                    throw Interrupted{};
                watch.progress.operacao = operacaoDe(consulta);
                watch.report();
                const qint64 count = conta(db, dm.contagem(tabela, consulta), watch);
                (consulta == ConsultaRemessa::A   ? row.alteracoes
                 : consulta == ConsultaRemessa::E ? row.exclusoes
                                                  : row.inclusoes) = count;
                watch.stepDone();
            }
            result.tabelas.append(row);
        }
    } catch (const Interrupted&) {
        result.interrompida = true;
    } catch (const DbError& error) {
        result.erro = error.message();
    } catch (const std::exception& error) {
        result.erro = QString::fromLocal8Bit(error.what());
    }
    return result;
}
