#include "FuzzEntries.h"
#include "FuzzSupport.h"

#include "ResultadoRemessa.h"
#include "SincronizaReplicas.h"
#include "Versoes.h"

// The remarks file of a result archive, and the names a result or a reference package comes
// under: the remarks become the result event's Obs (cut at 100 characters) and the memo's lines;
// each line is also taken as an archive name, through the rules that read a verdict, a batch type
// and a version out of a name.
int fuzzOneObservacoes(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QStringList linhas = ResultadoRemessa::linhasObservacoes(bytes);
    for (const QString& linha : linhas)
        fuzz::check(!linha.contains(QLatin1Char('\n')) && !linha.contains(QLatin1Char('\r')),
                    "a remarks line holds a line break");
    fuzz::check(ResultadoRemessa::obsAutomatica(linhas).size() <= 100, "the Obs is longer than 100");
    const QString manual = ResultadoRemessa::obsManual(linhas);
    fuzz::check(manual.size() <= 100 && manual.startsWith(QStringLiteral("<Recebimento Manual> ")),
                "the manual Obs lost its mark or is longer than 100");

    QString anterior = Versoes::NenhumaVersao;
    for (const QString& nome : linhas) {
        ResultadoRemessa::nomeObservacoes(nome);
        ResultadoRemessa::tipoDe(nome);
        const QString veredito = ResultadoRemessa::vereditoDe(nome);
        fuzz::check(veredito.size() <= 2, "a verdict has at most two characters");
        for (const QString& v : {ResultadoRemessa::Aceita, ResultadoRemessa::Recusada}) {
            const QString resultado = ResultadoRemessa::nomeResultado(nome, v);
            fuzz::check(ResultadoRemessa::vereditoDe(resultado) == v, "a result name loses its verdict");
        }
        SincronizaReplicas::nomeSimples(nome);
        if (Versoes::nomeDeVersao(nome)) {
            const QString numero = Versoes::numeroDe(nome);
            fuzz::check(numero.size() == 10, "a version number has ten digits");
            fuzz::check(Versoes::nomeArquivo(numero).compare(nome, Qt::CaseInsensitive) == 0,
                        "a version name does not come back from its number");
        }
        fuzz::check(!Versoes::VersaoMaisNova(nome, nome), "a version is newer than itself");
        if (Versoes::VersaoMaisNova(anterior, nome))
            fuzz::check(!Versoes::VersaoMaisNova(nome, anterior), "two versions newer than each other");
        anterior = nome;
    }
    const QString referencia = QStringLiteral("OC-TAB-2015112501.zip");
    const QString nova = Versoes::maisNova(referencia, linhas);
    fuzz::check(nova == referencia || linhas.contains(nova), "the newest version is not among the names");
    return 0;
}
