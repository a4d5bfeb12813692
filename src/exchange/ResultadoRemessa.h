#pragma once

#include "SincronizaReplicas.h"

#include <QString>
#include <QStringList>

class Session;
struct SharedBatchState;

// The authority's verdict on a delivered batch, fetched as a result archive or typed as a
// confirmation code, and what it does: "OK" replays the batch onto the replicas and records the
// event OK in one transaction, "NO" records the event NO and changes nothing else. The screens
// (automatic and manual) and the companion run these same operations.
class ResultadoRemessa {
public:
    static inline const QString Aceita = QStringLiteral("OK");
    static inline const QString Recusada = QStringLiteral("NO");

    // Names. For the batch archive "OC-ABC2024030501.zip" the result archives are
    // "OC-R-ABC2024030501-OK.ZIP" and "...-NO.ZIP"; the remarks file inside is named like the
    // result archive with ".txt" in place of ".ZIP".
    static QString nomeResultado(const QString& arquivoRemessa, const QString& veredito);
    static QString nomeObservacoes(const QString& arquivoResultado);
    // The listed name (as listed) of the batch's result archive, the "-OK.ZIP" one first; letter
    // case is ignored on both sides. Empty when none is listed. Only plain names count.
    static QString encontra(const QStringList& nomesListados, const QString& arquivoRemessa);
    // The two characters left of ".ZIP": "OK" or "NO".
    static QString vereditoDe(const QString& arquivoResultado);
    // The batch type an archive name carries (its second character: "C" or "T").
    static QString tipoDe(const QString& arquivoRemessa);

    // Obs of the result event: the remarks lines, each after one blank, behind "" (automatic) or
    // "<Recebimento Manual> " (manual), cut at 100 characters.
    static QString obsAutomatica(const QStringList& linhas);
    static QString obsManual(const QStringList& linhas);

    // Texts of the screens and logs.
    static QString textoNaoRecebido();        // "Resultado não recebido: não há ainda resultado ..."
    static QString textoRecebidoRecusada();   // "Resultado recebido com sucesso: remessa foi invalidada ..."
    static QString textoRecebidoAceita();     // "Resultado recebido com sucesso: remesa foi considerada ..."
    static QString textoSemSincronizacao();   // "Não há sincronização a fazer. A remessa foi invalidada."
    static QString textoSincronizando();      // "Sincronizando a Base de Dados.... Aguarde."
    static QString textoSincronizacaoFeita(); // "Sincronização efetuada com sucesso..."
    // The error box of a failed synchronisation, by the step that failed (automatic retrieval);
    // the manual one always shows the first.
    static QString mensagemFalha(SincronizaReplicas::Falha falha);
    // The manual code's refusal: "A senha não é válida. Tente novamente.", caption "Senha Inválida".
    static QString textoSenhaInvalida();
    static QString tituloSenhaInvalida();
    // EdResultado of the confirmation: "Remessa Válida" (OK) or "Remessa Inválida".
    static QString textoConfirmacao(const QString& veredito);

    // A typed confirmation code, unscrambled and checked against the batch list: valid when it
    // decodes to at least twelve characters ending in the batch number and "OK" or "NO", and that
    // number is the current batch, delivered ("TR" in Controle_Temp) and of the archive's type.
    struct Codigo {
        bool valido = false;
        QString numero;
        QString veredito;
    };
    Codigo verificaCodigo(const QString& codigo, const QString& arquivoRemessa) const;

    // What processing a verdict gave.
    struct Desfecho {
        bool ok = false;
        QString veredito;
        SincronizaReplicas::Falha falha = SincronizaReplicas::Falha::Nenhuma;
        QStringList log;         // lines for the result memo (the outcome, then the remarks)
        QStringList observacoes; // the remarks lines read from the result archive
        QString mensagem;        // the error box to show when it failed (empty on success)
        QString LbSincroniza;    // the synchronisation label's text afterwards
    };

    ResultadoRemessa(Session& session, SharedBatchState& state);

    // A downloaded result archive (a path in the synchronisation directory): reads its remarks,
    // records the verdict its name carries (and synchronises on "OK"), then removes the result
    // archive. The batch is the current one of the shared state.
    Desfecho processaAutomatico(const QString& arquivoRemessa, const QString& arquivoResultado,
                                const SincronizacaoProgressoFn& progresso = {});
    // A confirmed manual verdict with the remarks typed on the screen.
    Desfecho processaManual(const QString& arquivoRemessa, const QString& veredito,
                            const QStringList& observacoes, const SincronizacaoProgressoFn& progresso = {});

    // The remarks lines of a result archive ("" when it has no remarks file or cannot be read).
    // The file is read as UTF-8 when it is valid UTF-8, otherwise as Windows-1252.
    QStringList leObservacoes(const QString& arquivoResultado) const;
    // The lines of a remarks file's bytes (UTF-8 when valid, otherwise Windows-1252; CR LF, CR and
    // LF all end a line).
    static QStringList linhasObservacoes(const QByteArray& conteudo);

private:
    Desfecho registra(const QString& arquivoRemessa, const QString& veredito, const QString& obs, bool manual,
                      const SincronizacaoProgressoFn& progresso);

    Session& session_;
    SharedBatchState& state_;
};
