#include "ImportBenchmark.h"

#include "Clock.h"
#include "CodigosReferencia.h"
#include "Cp1252.h"
#include "Database.h"
#include "EstruturaRegistro.h"
#include "ImportacaoTxt.h"
#include "LogImportacao.h"
#include "Prompts.h"
#include "RegisterGenerator.h"
#include "Sql.h"
#include "TArquivoImportacao.h"
#include "Transaction.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTextStream>
#include <ctime>

namespace {

const QString Sigla = QStringLiteral("OCC1");
const QString Cnpj = QStringLiteral("11222333000181");

// Messages go to the console.
class ConsolePrompts : public Prompts {
public:
    PromptAnswer show(PromptKind, const QString&, const QString& text) override {
        QTextStream(stderr) << text << "\n";
        return PromptAnswer::Ok;
    }
    QString chooseDirectory(const QString&, const QString&) override { return {}; }
    QString chooseOpenFile(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseSaveFile(const QString&, const QString&, const QString&) override { return {}; }
};

// The value of a field of certificate `n`, by the field's name; `serie` is the unit's serial number.
QString valor(const QString& nome, int n, const QString& serie) {
    const QString u = nome.toUpper();
    if (u == QLatin1String("NUMSERIEPROD"))
        return serie;
    if (u == QLatin1String("SIGLACERTIFICADOR"))
        return Sigla;
    if (u == QLatin1String("NUMCERTIF"))
        return QStringLiteral("B%1").arg(n, 7, 10, QLatin1Char('0'));
    if (u == QLatin1String("MODELOPROD"))
        return QStringLiteral("Modelo %1").arg(n);
    if (u == QLatin1String("DATAVALID"))
        return QStringLiteral("10/11/2030");
    if (u.startsWith(QLatin1String("DTH")) || u.startsWith(QLatin1String("DATA")))
        return QStringLiteral("10/11/2015");
    if (u.startsWith(QLatin1String("STATUS")))
        return QStringLiteral("A");
    static const QHash<QString, QString> fixos = {
        {"EVENTO", "ALT"},
        {"HISTORICOSIS", "2"},
        {"JUSTIFICATIVA", "Alteração de teste"},
        {"CODIGOPAIS", "BR"},
        {"IDEMPRESA", Cnpj},
        {"CGC", Cnpj},
        {"RAZSOCIALEMP", "Indústria"},
        {"TIPOPESSOA", "1"},
        {"CPF", ""},
        {"IDPAPELEMP", "1"},
        {"MARCAPROD", "Marca"},
        {"IMPORTADO", "0"},
        {"IDCLASSECERTIF", "COMP"},
        {"IDCLASSEPROD", "110"},
        {"IDCLASSESERV", "10"},
        {"IDDOCNORM", "1"},
        {"NUMLOTE", "L1"},
        {"QUANTLOTE", "100"},
    };
    return fixos.value(u, QStringLiteral("Texto"));
}

// The lines of one record, laid out by its type's table.
QStringList linhas(const EstruturaRegistro& e, int n, const QString& serie = QStringLiteral("S1")) {
    QStringList saida{e.header, QString()};
    for (const DefinicaoCampo& c : e.campos) {
        if (c.largura == 0)
            continue;
        if (c.novaLinha)
            saida << QString();
        QString& linha = saida.last();
        const QString v = valor(c.nome, n, serie).left(c.largura);
        if (linha.size() < c.coluna - 1)
            linha += QString(c.coluna - 1 - linha.size(), QLatin1Char(' '));
        linha = linha.left(c.coluna - 1) + v;
    }
    return saida;
}

const EstruturaRegistro& estrutura(const char* header) {
    return *EstruturasTxt::porHeader(QString::fromLatin1(header));
}

// Writes the records of a file; returns how many it wrote.
class Gravador {
public:
    explicit Gravador(const QString& caminho) : arquivo_(caminho) { arquivo_.open(QIODevice::WriteOnly); }
    void escreve(const QStringList& l) {
        arquivo_.write(Cp1252::encodeLossy(l.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
        ++escritos_;
    }
    int escritos() const { return escritos_; }

private:
    QFile arquivo_;
    int escritos_ = 0;
};

} // namespace

// A file of every record type: one shared company, then one certificate per 25 records.
void writeImportFile(const QString& caminho, int registros, int primeiro) {
    Gravador f(caminho);
    const EstruturaRegistro& empresa = estrutura("[EMPRESA]");
    f.escreve(linhas(empresa, 0));
    for (int n = primeiro; f.escritos() < registros; ++n)
        for (const EstruturaRegistro& e : EstruturasTxt::todas())
            if (&e != &empresa && f.escritos() < registros)
                f.escreve(linhas(e, n));
}

namespace {

// One certificate with its company and product, and `unidades` units of that product, each with
// an event: every event leaves a note of its unit in the history bookkeeping, all of one
// certificate.
void geraUnidades(const QString& caminho, int unidades) {
    Gravador f(caminho);
    for (const char* header : {"[EMPRESA]", "[CERTIFIC]", "[EMP_CERT]", "[PRODUTO]"})
        f.escreve(linhas(estrutura(header), 0));
    for (int u = 1; u <= unidades; ++u) {
        const QString serie = QStringLiteral("S%1").arg(u);
        f.escreve(linhas(estrutura("[UNIDADE]"), 0, serie));
        f.escreve(linhas(estrutura("[STATUS_U]"), 0, serie));
    }
}

QSqlDatabase novoBanco(const QString& caminho, const QString& conexao, const QString& referencias) {
    QFile::remove(caminho);
    QSqlDatabase db = Database::open(caminho, conexao);
    ensureReference(db, Sigla, referencias);
    return db;
}

qint64 memoriaMaximaKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& linha : status.readAll().split('\n'))
        if (linha.startsWith("VmHWM:"))
            return linha.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}

// Times the import of one file of the directory against plain inserts of its records, and prints
// the two, their ratio and the peak memory under `titulo`.
bool mede(const QString& titulo, const QString& diretorio, const QString& arquivo,
          const QString& referencias) {
    QTextStream out(stdout);
    const QDir dir(diretorio);
    const qint64 memoriaAntes = memoriaMaximaKb();

    SystemClock clock;
    ConsolePrompts prompts;
    QElapsedTimer timer;
    int registros = 0;

    // The import.
    qint64 importMs = 0;
    qint64 importCpuMs = 0; // processor time: steadier than the clock on a shared machine
    {
        QSqlDatabase db = novoBanco(dir.filePath(QStringLiteral("importacao.db")),
                                    QStringLiteral("bench-import"), referencias);
        ImportacaoTxt::Parametros p;
        p.db = db;
        p.clock = &clock;
        p.prompts = &prompts;
        p.usuario = QStringLiteral("bench");
        p.podeAprovar = true;
        ImportacaoTxt run(p);
        timer.start();
        const std::clock_t cpu = std::clock();
        const QList<ResultadoArquivo> r = run.importa(diretorio, {arquivo});
        importMs = timer.elapsed();
        importCpuMs = (std::clock() - cpu) * 1000 / CLOCKS_PER_SEC;
        if (r.isEmpty() || r.first().situacao != SituacaoArquivo::Importado) {
            out << titulo << ": the import failed; see the logs in " << diretorio << "\n";
            return false;
        }
    }
    Database::close(QStringLiteral("bench-import"));
    const qint64 memoriaImportacao = memoriaMaximaKb();

    // The same rows by plain prepared inserts, read beforehand.
    qint64 plainMs = 0;
    qint64 plainCpuMs = 0;
    {
        QSqlDatabase db = novoBanco(dir.filePath(QStringLiteral("insercao.db")),
                                    QStringLiteral("bench-plain"), referencias);
        const CodigosReferencia codigos = CodigosReferencia::carrega(db);
        LogImportacao log(dir.filePath(QStringLiteral("plain")));
        QDir().mkpath(log.diretorio());
        ContextoImportacao ctx{db, Sigla, QStringLiteral("bench"), &clock, &log, &prompts};
        ctx.referencias = &codigos;
        TArquivoImportacao leitor(ctx);
        leitor.Open(dir.filePath(arquivo));
        std::vector<std::unique_ptr<TDataStruct>> lidos;
        while (!leitor.fimDeArquivo())
            if (auto r = leitor.LeProximoRegistro())
                lidos.push_back(std::move(r));
        leitor.Close();
        registros = int(lidos.size());
        QHash<QString, QSqlQuery> insercoes;
        QHash<QString, int> sequencias;
        timer.start();
        const std::clock_t cpu = std::clock();
        Transaction t(db);
        for (auto& r : lidos) {
            const EstruturaRegistro& e = r->estrutura();
            auto it = insercoes.find(e.tabela);
            if (it == insercoes.end()) {
                QStringList nomes, marcas;
                for (const DefinicaoCampo& c : e.campos) {
                    nomes << c.nome;
                    marcas << QStringLiteral("?");
                }
                it = insercoes.insert(
                    e.tabela, Sql::prepare(db, QStringLiteral("INSERT OR REPLACE INTO %1 (%2) VALUES (%3)")
                                                   .arg(e.tabela, nomes.join(','), marcas.join(','))));
            }
            for (int i = 0; i < e.campos.size(); ++i) {
                if (e.campos[i].sequencia)
                    r->define(i, QString::number(++sequencias[e.tabela]));
                it->bindValue(i, r->parametro(i));
            }
            Sql::exec(*it);
        }
        t.commit();
        plainMs = timer.elapsed();
        plainCpuMs = (std::clock() - cpu) * 1000 / CLOCKS_PER_SEC;
    }
    Database::close(QStringLiteral("bench-plain"));

    out << titulo << ", " << registros << " records: import " << importMs << " ms, plain inserts " << plainMs
        << " ms, ratio " << QString::number(double(importMs) / double(std::max<qint64>(plainMs, 1)), 'f', 2)
        << "\n"
        << "processor time: import " << importCpuMs << " ms, plain inserts " << plainCpuMs << " ms, ratio "
        << QString::number(double(importCpuMs) / double(std::max<qint64>(plainCpuMs, 1)), 'f', 2) << "\n"
        << "peak memory: " << memoriaAntes << " kB before the import, " << memoriaImportacao
        << " kB after it\n";
    out.flush();
    return true;
}

} // namespace

bool benchImport(int registros, int unidades, const QString& diretorio, const QString& referencias) {
    QDir().mkpath(diretorio);
    const QDir dir(diretorio);
    const QString todos = QStringLiteral("TX-OCC12015112501.txt");
    const QString umCertificado = QStringLiteral("TX-OCC12015112502.txt");
    writeImportFile(dir.filePath(todos), registros);
    geraUnidades(dir.filePath(umCertificado), unidades);
    return mede(QStringLiteral("every record type"), diretorio, todos, referencias) &&
           mede(QStringLiteral("%1 units of one certificate").arg(unidades), diretorio, umCertificado,
                referencias);
}
