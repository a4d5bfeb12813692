#include "FuzzEntries.h"
#include "FuzzSupport.h"

#include "Clock.h"
#include "Embaralha.h"
#include "ResultadoRemessa.h"
#include "Session.h"
#include "SharedBatchState.h"

#include <QSqlQuery>

namespace {

const QString Numero = QStringLiteral("2015112501");
const QString Remessa = QStringLiteral("OC-OCC2015112501.zip");

// The batch Numero, partial and delivered: the one a code is typed for.
QSqlDatabase lista() {
    const QString nome = QStringLiteral("fuzz-codigo");
    const bool nova = !QSqlDatabase::contains(nome);
    QSqlDatabase db = fuzz::memoryDatabase(nome);
    if (nova)
        fuzz::check(QSqlQuery(db).exec(QStringLiteral("INSERT INTO CONTROLE_TEMP (NumeroRemessa, Status, "
                                                      "Evento, Ultima, TipoRemessa) VALUES ('") +
                                       Numero + QStringLiteral("', 'Transferida', 'TR', 'S', 'C')")),
                    "cannot write the batch list");
    return db;
}

} // namespace

// A confirmation code as typed from the authority's letter: unscrambled and checked against the
// batch list. A code is valid only for the delivered batch, with its verdict. The bytes also go
// through the scrambling of passwords both ways.
int fuzzOneCodigoConfirmacao(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    lista();
    ManualClock relogio(QDateTime(QDate(2015, 11, 25), QTime(14, 3, 59)));
    fuzz::SilentPrompts avisos;
    Session sessao(QStringLiteral("fuzz-codigo"), relogio, avisos);
    SharedBatchState estado;
    estado.NumeroRemessa = Numero;
    estado.TipoRemessa = QStringLiteral("C");
    const ResultadoRemessa resultado(sessao, estado);
    const ResultadoRemessa::Codigo codigo = resultado.verificaCodigo(QString::fromUtf8(bytes), Remessa);
    if (codigo.valido) {
        fuzz::check(codigo.numero == Numero, "a valid code names another batch");
        fuzz::check(codigo.veredito == ResultadoRemessa::Aceita ||
                        codigo.veredito == ResultadoRemessa::Recusada,
                    "a valid code carries no verdict");
    } else {
        fuzz::check(codigo.numero.isEmpty() && codigo.veredito.isEmpty(), "a refused code gives a verdict");
    }

    if (!bytes.isEmpty() && bytes.size() <= TamanhoMaximoCodigo) {
        const QByteArray codificado = EmbaralhaCodigo(Direcao::Codificar, bytes);
        fuzz::check(codificado.size() <= bytes.size(), "the scrambled code grew");
        EmbaralhaCodigo(Direcao::Decodificar, bytes);
    }
    if (verificaEmbaralhaTexto(bytes) == ProblemaEmbaralhamento::Nenhum) {
        const QByteArray codificado = EmbaralhaTexto(Direcao::Codificar, bytes);
        fuzz::check(EmbaralhaTexto(Direcao::Decodificar, codificado) == bytes,
                    "a scrambled password does not read back");
    } else if (!bytes.isEmpty() && bytes.size() <= TamanhoMaximoTexto) {
        EmbaralhaTexto(Direcao::Codificar, bytes);
        EmbaralhaTexto(Direcao::Decodificar, bytes);
    }
    return 0;
}
