#include "FuzzEntries.h"
#include "FuzzSupport.h"

#include "FtpClient.h"
#include "ResultadoRemessa.h"
#include "Versoes.h"

// A directory listing as the authority's server sends it, read into names the way the result
// search and the version search read it, then searched for a batch's result and the newest
// reference package.
int fuzzOneListagemFtp(const uint8_t* data, size_t size) {
    const QStringList nomes = FtpClient::namesOfListing(fuzz::bytesOf(data, size));
    for (const QString& nome : nomes) {
        fuzz::check(!nome.isEmpty() && nome != QLatin1String(".") && nome != QLatin1String(".."),
                    "a listed name is empty or a directory mark");
        fuzz::check(!nome.contains(QLatin1Char('/')), "a listed name keeps a path");
    }
    const QString remessa = QStringLiteral("OC-OCC2015112501.zip");
    const QString resultado = ResultadoRemessa::encontra(nomes, remessa);
    fuzz::check(resultado.isEmpty() || nomes.contains(resultado), "the result found is not listed");
    if (!resultado.isEmpty()) {
        const QString veredito = ResultadoRemessa::vereditoDe(resultado);
        fuzz::check(veredito == ResultadoRemessa::Aceita || veredito == ResultadoRemessa::Recusada,
                    "the result found carries no verdict");
    }
    const QString referencia = QStringLiteral("OC-TAB-2015112501.zip");
    const QString nova = Versoes::maisNova(referencia, nomes);
    fuzz::check(nova == referencia || (nomes.contains(nova) && Versoes::nomeDeVersao(nova)),
                "the newest version is not a listed version name");
    return 0;
}
