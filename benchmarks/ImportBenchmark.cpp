#include "ImportBenchmark.h"

#include "Clock.h"
#include "Cp1252.h"
#include "Database.h"
#include "EstruturaRegistro.h"
#include "ImportacaoTxt.h"
#include "LogImportacao.h"
#include "Prompts.h"
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
const QString Arquivo = QStringLiteral("TX-OCC12015112501.txt");

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

// The value of a field of certificate `n`, by the field's name.
QString valor(const QString& nome, int n) {
    const QString u = nome.toUpper();
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
        {"IDCLASSESERV", "7"},
        {"IDDOCNORM", "1"},
        {"NUMSERIEPROD", "S1"},
        {"NUMLOTE", "L1"},
        {"QUANTLOTE", "100"},
    };
    return fixos.value(u, QStringLiteral("Texto"));
}

// The lines of one record, laid out by its type's table.
QStringList linhas(const EstruturaRegistro& e, int n) {
    QStringList saida{e.header, QString()};
    for (const DefinicaoCampo& c : e.campos) {
        if (c.largura == 0)
            continue;
        if (c.novaLinha)
            saida << QString();
        QString& linha = saida.last();
        const QString v = valor(c.nome, n).left(c.largura);
        if (linha.size() < c.coluna - 1)
            linha += QString(c.coluna - 1 - linha.size(), QLatin1Char(' '));
        linha = linha.left(c.coluna - 1) + v;
    }
    return saida;
}

} // namespace

void writeImportFile(const QString& caminho, int registros, int primeiro) {
    QFile f(caminho);
    f.open(QIODevice::WriteOnly);
    const EstruturaRegistro& empresa = *EstruturasTxt::porHeader(QStringLiteral("[EMPRESA]"));
    int escritos = 0;
    const auto escreve = [&](const QStringList& l) {
        f.write(Cp1252::encodeLossy(l.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
        ++escritos;
    };
    escreve(linhas(empresa, 0));
    for (int n = primeiro; escritos < registros; ++n)
        for (const EstruturaRegistro& e : EstruturasTxt::todas())
            if (&e != &empresa && escritos < registros)
                escreve(linhas(e, n));
}

namespace {

QSqlDatabase novoBanco(const QString& caminho, const QString& conexao) {
    QFile::remove(caminho);
    QSqlDatabase db = Database::open(caminho, conexao);
    Sql::execute(db, QStringLiteral("INSERT INTO CONFIG_LOCAL (SiglaCertificador) VALUES ('OCC1')"));
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

} // namespace

bool benchImport(int registros, const QString& diretorio) {
    QTextStream out(stdout);
    QDir().mkpath(diretorio);
    const QDir dir(diretorio);
    writeImportFile(dir.filePath(Arquivo), registros);
    const qint64 memoriaAntes = memoriaMaximaKb();

    SystemClock clock;
    ConsolePrompts prompts;
    QElapsedTimer timer;

    // The import.
    qint64 importMs = 0;
    qint64 importCpuMs = 0; // processor time: steadier than the clock on a shared machine
    {
        QSqlDatabase db =
            novoBanco(dir.filePath(QStringLiteral("importacao.db")), QStringLiteral("bench-import"));
        ImportacaoTxt::Parametros p;
        p.db = db;
        p.clock = &clock;
        p.prompts = &prompts;
        p.usuario = QStringLiteral("bench");
        p.podeAprovar = true;
        ImportacaoTxt run(p);
        timer.start();
        const std::clock_t cpu = std::clock();
        const QList<ResultadoArquivo> r = run.importa(diretorio, {Arquivo});
        importMs = timer.elapsed();
        importCpuMs = (std::clock() - cpu) * 1000 / CLOCKS_PER_SEC;
        if (r.isEmpty() || r.first().situacao != SituacaoArquivo::Importado) {
            out << "the import failed; see the logs in " << diretorio << "\n";
            return false;
        }
    }
    Database::close(QStringLiteral("bench-import"));
    const qint64 memoriaImportacao = memoriaMaximaKb();

    // The same rows by plain prepared inserts, read beforehand.
    qint64 plainMs = 0;
    qint64 plainCpuMs = 0;
    {
        QSqlDatabase db =
            novoBanco(dir.filePath(QStringLiteral("insercao.db")), QStringLiteral("bench-plain"));
        LogImportacao log(dir.filePath(QStringLiteral("plain")));
        QDir().mkpath(log.diretorio());
        TArquivoImportacao leitor(
            ContextoImportacao{db, Sigla, QStringLiteral("bench"), &clock, &log, &prompts});
        leitor.Open(dir.filePath(Arquivo));
        std::vector<std::unique_ptr<TDataStruct>> lidos;
        while (!leitor.fimDeArquivo())
            if (auto r = leitor.LeProximoRegistro())
                lidos.push_back(std::move(r));
        leitor.Close();
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

    out << registros << " records: import " << importMs << " ms, plain inserts " << plainMs << " ms, ratio "
        << QString::number(double(importMs) / double(std::max<qint64>(plainMs, 1)), 'f', 2) << "\n"
        << "processor time: import " << importCpuMs << " ms, plain inserts " << plainCpuMs << " ms, ratio "
        << QString::number(double(importCpuMs) / double(std::max<qint64>(plainCpuMs, 1)), 'f', 2) << "\n"
        << "peak memory: " << memoriaAntes << " kB before the import, " << memoriaImportacao
        << " kB after it\n";
    return true;
}
