#include "HistoricoImportacao.h"

#include "Eventos.h"

#include <functional>
#include <vector>

namespace {

bool mesmoNome(const QString& a, const QString& b) {
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

using Copia = ConsultasPreparadas::Copia;

// Every field of `destino` with a field of the same name in `origem`.
QList<Copia> copiaPorNome(const EstruturaRegistro& destino, const EstruturaRegistro& origem) {
    QList<Copia> copia;
    for (int i = 0; i < destino.campos.size(); ++i) {
        const int j = origem.indice(destino.campos[i].nome);
        if (j >= 0)
            copia.append({i, j, {}});
    }
    return copia;
}

// The copy from the file's prepared ones, or worked out now.
QList<Copia> copiaGuardada(const ContextoImportacao& ctx, char16_t tipo, const EstruturaRegistro& destino,
                           const EstruturaRegistro& origem, const std::function<QList<Copia>()>& calcula) {
    if (!ctx.consultas)
        return calcula();
    const ConsultasPreparadas::ChaveCopia chave{tipo, &destino, &origem};
    auto it = ctx.consultas->copias.find(chave);
    if (it == ctx.consultas->copias.end())
        it = ctx.consultas->copias.insert(chave, calcula());
    return *it;
}

// Copies into `destino` every field of `origem` with the same name whose value is not empty.
void preencheDe(const ContextoImportacao& ctx, TDataStruct& destino, const TDataStruct& origem) {
    const QList<Copia> copia = copiaGuardada(ctx, u'N', destino.estrutura(), origem.estrutura(), [&] {
        return copiaPorNome(destino.estrutura(), origem.estrutura());
    });
    for (const Copia& c : copia)
        if (!origem.aparado(c.origem).isEmpty())
            destino.define(c.destino, origem.aparado(c.origem));
}

// The program's own values of an inclusion event, for the event fields that no field of the row
// filled; false when the field is none of them.
bool valorDoSistema(const QString& nome, QString& valor) {
    const QString n = nome.trimmed().toUpper();
    if (n == QLatin1String("EVENTO"))
        valor = QStringLiteral("INC");
    else if (n == QLatin1String("JUSTIFICATIVA"))
        valor = HistoricoGeradoPeloSistema;
    else if (n == QLatin1String("HISTORICOSIS"))
        valor = QStringLiteral("2");
    else if (n.startsWith(QLatin1String("STATUS")))
        valor = QStringLiteral("A");
    else
        return false;
    return true;
}

} // namespace

namespace HistoricoImportacao {

namespace {

// Which field of the row, or which value of the program, fills each field of its inclusion event.
// Each field of the row goes to the event field of its name. On the way, the event fields the row
// has no field for take the program's values: the event code, the justification, the origin and
// the status "A" (so the status follows the row only where its field comes before any of these:
// certificates and company links). The status date follows the row's status date.
QList<Copia> copiaDaInclusao(const EstruturaRegistro& r, const EstruturaRegistro& tipo) {
    QList<Copia> copia;
    std::vector<bool> preenchido(tipo.campos.size(), false);
    const auto preenche = [&](int h, int origem, const QString& valor) {
        copia.append({h, origem, valor});
        preenchido[h] = true;
    };
    for (int i = 0; i < r.campos.size(); ++i) {
        const QString nomeR = r.campos[i].nome;
        for (int h = 0; h < tipo.campos.size(); ++h) {
            if (preenchido[h])
                continue;
            const QString nomeH = tipo.campos[h].nome;
            if (mesmoNome(nomeH, nomeR)) {
                preenche(h, i, {});
                break;
            }
            QString valor;
            if (valorDoSistema(nomeH, valor)) {
                preenche(h, -1, valor);
                continue;
            }
            if (nomeH.toUpper().startsWith(QLatin1String("DTHSTATUS")) &&
                nomeR.toUpper().startsWith(QLatin1String("DTHSTATUS"))) {
                preenche(h, i, {});
                break;
            }
        }
    }
    for (int h = 0; h < tipo.campos.size(); ++h) {
        QString valor;
        if (!preenchido[h] && valorDoSistema(tipo.campos[h].nome, valor))
            copia.append({h, -1, valor});
    }
    return copia;
}

} // namespace

bool geraInclusao(const ContextoImportacao& ctx, const TDataStruct& registro) {
    const EstruturaRegistro& r = registro.estrutura();
    const EstruturaRegistro* tipo = EstruturasTxt::porTabela(r.tabelaHistorico);
    if (r.tabelaHistorico.isEmpty() || !tipo)
        return true;
    TDataStruct evento(*tipo);
    const QList<Copia> copia = copiaGuardada(ctx, u'I', *tipo, r, [&] { return copiaDaInclusao(r, *tipo); });
    for (const Copia& c : copia)
        evento.define(c.destino, c.origem >= 0 ? registro.aparado(c.origem) : c.valor);
    return evento.GravaRegistro(ctx).sucesso;
}

bool registraControle(const ContextoImportacao& ctx, const TDataStruct& registro, bool inserido) {
    const EstruturaRegistro& r = registro.estrutura();
    const QString historico = r.ehHistorico() ? r.tabela : r.tabelaHistorico;
    const EstruturaRegistro* tipo = EstruturasTxt::porTabela(historico);
    if (historico.isEmpty() || !tipo)
        return true;
    // A new row's note (its parent table, its own table, "1") shares its key with no update's note
    // and is never turned to "0": it could never fail the check, so it is not written.
    if (inserido && !r.ehHistorico())
        return true;
    TDataStruct evento(*tipo);
    preencheDe(ctx, evento, registro);
    TDataStruct controle(EstruturasTxt::ctrHistorico());
    preencheDe(ctx, controle, evento);
    controle.define(QStringLiteral("NomeTabela"), inserido ? r.tabelaPai : r.tabela);
    controle.define(QStringLiteral("TabelaHistorico"), inserido ? r.tabela : historico);
    controle.define(QStringLiteral("historico"), inserido ? QStringLiteral("1") : QStringLiteral("0"));
    return controle.GravaRegistro(ctx).sucesso;
}

} // namespace HistoricoImportacao
