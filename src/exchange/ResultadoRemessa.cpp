#include "ResultadoRemessa.h"

#include "Archiver.h"
#include "Backups.h"
#include "BatchControl.h"
#include "ChangeJournal.h"
#include "Cp1252.h"
#include "DbError.h"
#include "Embaralha.h"
#include "Prompts.h"
#include "Session.h"
#include "SharedBatchState.h"
#include "Sql.h"
#include "Transaction.h"
#include "WorkDirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

constexpr int TamanhoObs = 100;
const QString ExtensaoRemessa = QStringLiteral(".zip");
const QString ExtensaoResultado = QStringLiteral(".ZIP");

// The remarks are a courtesy: an unreadable result archive must not stop the verdict, so its
// unpacking shows nothing.
class SemAvisos : public Prompts {
public:
    PromptAnswer show(PromptKind, const QString&, const QString&) override { return PromptAnswer::Ok; }
    QString chooseDirectory(const QString&, const QString&) override { return {}; }
    QString chooseOpenFile(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseSaveFile(const QString&, const QString&, const QString&) override { return {}; }
};

QString texto(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(bytes);
    return utf8.hasError() ? Cp1252::decode(bytes) : decoded;
}

QString corta(const QString& obs) {
    return obs.left(TamanhoObs);
}

} // namespace

ResultadoRemessa::ResultadoRemessa(Session& session, SharedBatchState& state)
    : session_(session), state_(state) {}

QString ResultadoRemessa::nomeResultado(const QString& arquivoRemessa, const QString& veredito) {
    QString resto = arquivoRemessa.mid(3);
    if (resto.endsWith(ExtensaoRemessa, Qt::CaseInsensitive))
        resto.chop(ExtensaoRemessa.size());
    return arquivoRemessa.left(3) + QStringLiteral("R-") + resto + QLatin1Char('-') + veredito +
           ExtensaoResultado;
}

QString ResultadoRemessa::nomeObservacoes(const QString& arquivoResultado) {
    QString nome = arquivoResultado;
    if (nome.endsWith(ExtensaoResultado, Qt::CaseInsensitive))
        nome.chop(ExtensaoResultado.size());
    return nome + QStringLiteral(".txt");
}

QString ResultadoRemessa::encontra(const QStringList& nomesListados, const QString& arquivoRemessa) {
    if (arquivoRemessa.isEmpty())
        return {};
    for (const QString& veredito : {Aceita, Recusada}) {
        const QString procurado = nomeResultado(arquivoRemessa, veredito);
        for (const QString& listado : nomesListados)
            if (SincronizaReplicas::nomeSimples(listado) &&
                listado.compare(procurado, Qt::CaseInsensitive) == 0)
                return listado;
    }
    return {};
}

QString ResultadoRemessa::vereditoDe(const QString& arquivoResultado) {
    if (!arquivoResultado.endsWith(ExtensaoResultado, Qt::CaseInsensitive))
        return {};
    // Character by character: QString::toUpper turns "ß" into "SS", which would read three.
    QString veredito = arquivoResultado.chopped(ExtensaoResultado.size()).right(2);
    for (QChar& c : veredito)
        c = c.toUpper();
    return veredito;
}

QString ResultadoRemessa::tipoDe(const QString& arquivoRemessa) {
    return arquivoRemessa.mid(1, 1);
}

QString ResultadoRemessa::obsAutomatica(const QStringList& linhas) {
    QString obs;
    for (const QString& linha : linhas)
        obs += QLatin1Char(' ') + linha;
    return corta(obs);
}

QString ResultadoRemessa::obsManual(const QStringList& linhas) {
    QString obs = QStringLiteral("<Recebimento Manual> ");
    for (const QString& linha : linhas)
        obs += QLatin1Char(' ') + linha;
    return corta(obs);
}

QString ResultadoRemessa::textoNaoRecebido() {
    return QStringLiteral(
        "Resultado não recebido: não há ainda resultado disponível no Kavorel para esta remessa.");
}
QString ResultadoRemessa::textoRecebidoRecusada() {
    return QStringLiteral(
        "Resultado recebido com sucesso: remessa foi invalidada pelo Kavorel e exigirá nova remessa.");
}
QString ResultadoRemessa::textoRecebidoAceita() {
    return QStringLiteral(
        "Resultado recebido com sucesso: remesa foi considerada válida e a base de dados foi "
        "atualizada.");
}
QString ResultadoRemessa::textoSemSincronizacao() {
    return QStringLiteral("Não há sincronização a fazer. A remessa foi invalidada.");
}
QString ResultadoRemessa::textoSincronizando() {
    return QStringLiteral("Sincronizando a Base de Dados.... Aguarde.");
}
QString ResultadoRemessa::textoSincronizacaoFeita() {
    return QStringLiteral("Sincronização efetuada com sucesso...");
}

QString ResultadoRemessa::mensagemFalha(SincronizaReplicas::Falha falha) {
    QString numero;
    switch (falha) {
    case SincronizaReplicas::Falha::SemTabelas:
        numero = QStringLiteral("1");
        break;
    case SincronizaReplicas::Falha::Aplicacao:
        numero = QStringLiteral("2");
        break;
    case SincronizaReplicas::Falha::Excecao:
        numero = QStringLiteral("3");
        break;
    default:
        break;
    }
    return QStringLiteral("Ocorreu um Erro%1 na Sincronização.\nEntre em contato com o suporte.").arg(numero);
}

QString ResultadoRemessa::textoSenhaInvalida() {
    return QStringLiteral("A senha não é válida. Tente novamente.");
}
QString ResultadoRemessa::tituloSenhaInvalida() {
    return QStringLiteral("Senha Inválida");
}
QString ResultadoRemessa::textoConfirmacao(const QString& veredito) {
    return veredito == Aceita ? QStringLiteral("Remessa Válida") : QStringLiteral("Remessa Inválida");
}

ResultadoRemessa::Codigo ResultadoRemessa::verificaCodigo(const QString& codigo,
                                                          const QString& arquivoRemessa) const {
    // The scrambling takes 1 to 20 bytes; a longer code is refused, never cut.
    const std::optional<QByteArray> bytes = Cp1252::encode(codigo);
    if (codigo.isEmpty() || !bytes || bytes->size() > TamanhoMaximoCodigo)
        return {};
    const QByteArray decodificado = EmbaralhaCodigo(Direcao::Decodificar, *bytes);
    // The last twelve characters: the batch number, then the verdict.
    if (decodificado.size() < 12)
        return {};
    const QString numero = QString::fromLatin1(decodificado.right(12).left(10));
    const QString veredito = QString::fromLatin1(decodificado.right(2));
    if (veredito != Aceita && veredito != Recusada)
        return {};
    if (numero != state_.NumeroRemessa)
        return {};
    const bool entregue = Sql::exec(session_.database(),
                                    QStringLiteral("select numeroremessa from controle_temp\n"
                                                   "where numeroremessa = :p1\n"
                                                   "and tiporemessa = :p2\n"
                                                   "and evento = :p3"),
                                    {{QStringLiteral(":p1"), numero},
                                     {QStringLiteral(":p2"), tipoDe(arquivoRemessa)},
                                     {QStringLiteral(":p3"), BatchEvents::Transferida}})
                              .next();
    if (!entregue)
        return {};
    return {true, numero, veredito};
}

QStringList ResultadoRemessa::leObservacoes(const QString& arquivoResultado) const {
    const QFileInfo resultado(arquivoResultado);
    QStringList entradas;
    if (!resultado.isFile() || !ConteudoArquivo(resultado.absoluteFilePath(), entradas))
        return {};
    const QString esperado = nomeObservacoes(resultado.fileName());
    QString entrada;
    for (const QString& listada : entradas)
        if (SincronizaReplicas::nomeSimples(listada) && listada.compare(esperado, Qt::CaseInsensitive) == 0)
            entrada = listada;
    if (entrada.isEmpty())
        return {};
    WorkDirectory trabalho(resultado.absolutePath(), QStringLiteral("resultado"));
    SemAvisos semAvisos;
    if (!trabalho.isValid() || !DescompactaArquivo(semAvisos, resultado.absoluteFilePath(), trabalho.path()))
        return {};
    QFile arquivo(QDir(trabalho.path()).filePath(entrada));
    if (!arquivo.open(QIODevice::ReadOnly))
        return {};
    return linhasObservacoes(arquivo.readAll());
}

QStringList ResultadoRemessa::linhasObservacoes(const QByteArray& bytes) {
    QString conteudo = texto(bytes);
    conteudo.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    conteudo.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList linhas = conteudo.split(QLatin1Char('\n'));
    if (!linhas.isEmpty() && linhas.last().isEmpty())
        linhas.removeLast(); // the line break that ends the last line
    return linhas;
}

ResultadoRemessa::Desfecho ResultadoRemessa::processaAutomatico(const QString& arquivoRemessa,
                                                                const QString& arquivoResultado,
                                                                const SincronizacaoProgressoFn& progresso) {
    const QString veredito = vereditoDe(QFileInfo(arquivoResultado).fileName());
    const QStringList observacoes = leObservacoes(arquivoResultado);
    Desfecho desfecho = registra(arquivoRemessa, veredito, obsAutomatica(observacoes), false, progresso);
    desfecho.observacoes = observacoes;
    if (desfecho.ok) {
        desfecho.log << observacoes;
        QFile::remove(arquivoResultado);
    }
    return desfecho;
}

ResultadoRemessa::Desfecho ResultadoRemessa::processaManual(const QString& arquivoRemessa,
                                                            const QString& veredito,
                                                            const QStringList& observacoes,
                                                            const SincronizacaoProgressoFn& progresso) {
    Desfecho desfecho = registra(arquivoRemessa, veredito, obsManual(observacoes), true, progresso);
    desfecho.observacoes = observacoes;
    return desfecho;
}

ResultadoRemessa::Desfecho ResultadoRemessa::registra(const QString& arquivoRemessa, const QString& veredito,
                                                      const QString& obs, bool manual,
                                                      const SincronizacaoProgressoFn& progresso) {
    Desfecho desfecho;
    desfecho.veredito = veredito;
    BatchControl controle(session_, state_);
    const QSqlDatabase db = session_.database();
    const auto falhou = [&](SincronizaReplicas::Falha falha, const QString& detalhe) {
        desfecho.ok = false;
        desfecho.falha = falha;
        desfecho.mensagem =
            manual ? mensagemFalha(SincronizaReplicas::Falha::Descompactacao) : mensagemFalha(falha);
        if (!detalhe.isEmpty())
            desfecho.log << detalhe;
        return desfecho;
    };

    if (veredito == Recusada) {
        desfecho.LbSincroniza = textoSemSincronizacao();
        try {
            controle.registraEvento(state_.NumeroRemessa, state_.TipoRemessa, BatchEvents::FinalizadaErro,
                                    obs);
        } catch (const DbError& error) {
            desfecho.mensagem = error.message();
            desfecho.log << error.message();
            return desfecho;
        }
        desfecho.ok = true;
        if (!manual)
            desfecho.log << textoRecebidoRecusada();
        return desfecho;
    }
    if (veredito != Aceita)
        return falhou(SincronizaReplicas::Falha::Excecao,
                      QStringLiteral("Resultado desconhecido: \"%1\".").arg(veredito));

    // The replay and the OK event are one transaction: either both are kept or neither.
    desfecho.LbSincroniza = textoSincronizando();
    try {
        Backups::before(db, Backups::Sincronizacao);
    } catch (const DbError& error) {
        desfecho.ok = false;
        desfecho.falha = SincronizaReplicas::Falha::Excecao;
        desfecho.mensagem = error.message();
        desfecho.log << error.message();
        return desfecho;
    }
    SincronizaReplicas sincroniza(session_, state_);
    try {
        Transaction transacao(db);
        const SincronizaReplicas::Resultado resultado =
            sincroniza.run(arquivoRemessa, tipoDe(arquivoRemessa), progresso);
        if (!resultado.ok())
            return falhou(resultado.falha, resultado.detalhe);
        try {
            controle.registraEvento(state_.NumeroRemessa, state_.TipoRemessa, BatchEvents::FinalizadaOk, obs);
            // What the batch carried is in the replicas now: its journal entries are done with.
            ChangeJournal::limpaAteRemessa(db, state_.NumeroRemessa);
        } catch (const DbError& error) {
            return falhou(
                SincronizaReplicas::Falha::Excecao,
                QStringLiteral("O evento de finalização não pôde ser gravado: %1").arg(error.message()));
        }
        transacao.commit();
    } catch (const DbError& error) {
        return falhou(SincronizaReplicas::Falha::Excecao, error.message());
    }
    // Only now that the replicas are committed may the batch's own files go.
    sincroniza.removeArquivoRemessa(arquivoRemessa);
    desfecho.ok = true;
    desfecho.LbSincroniza = manual ? textoSincronizacaoFeita() : textoSincronizando();
    if (!manual)
        desfecho.log << textoRecebidoAceita();
    return desfecho;
}
