#pragma once

#include "EstruturaRegistro.h"
#include "EventSequence.h"
#include "SqliteStatement.h"

#include <QDateTime>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class Clock;
class CodigosReferencia;
class LogImportacao;
class Prompts;

// The statements of one file, prepared once and run for every record of the same type: a file of
// tens of thousands of records would otherwise spend most of its time preparing them again.
class ConsultasPreparadas {
public:
    explicit ConsultasPreparadas(QSqlDatabase db) : db_(std::move(db)) {}
    // The statement prepared on first use, ready to be bound and run. Throws DbError.
    QSqlQuery& consulta(const QString& sql);

    // Issue dates of certificates already looked up (the lower bound of their dates); forgotten when
    // the certificate is written again.
    QHash<QString, QDateTime> emissoes;
    // Event numbers of the file (its transaction writes no other events).
    EventSequence::Numbering numeracao;

    // The text of a record type's statements, built once per shape: the insert, and the update and
    // the existence test for each set of key fields that are filled.
    struct Comando {
        QStringList linhas; // as logged
        QString sql;        // as run
        QList<int> campos;  // fields bound, by position in the record (the order they are logged)
        QList<int> ordem;   // the same fields in the order of their placeholders in the text
        std::shared_ptr<SqliteStatement> instrucao; // prepared on first use, run on SQLite's handle
    };
    struct ChaveComando {
        const void* estrutura;
        char16_t tipo;  // 'S' the existence test, 'U' the update, 'I' the insert
        quint64 chaves; // the key fields that are filled
        friend bool operator==(const ChaveComando&, const ChaveComando&) = default;
        friend size_t qHash(const ChaveComando& c, size_t seed = 0) {
            return qHashMulti(seed, c.estrutura, c.tipo, c.chaves);
        }
    };
    QHash<ChaveComando, Comando> comandos;

    // How one record type fills another (an event, the bookkeeping): the target fields in order,
    // each from a field of the source or, when `origem` is -1, with a value of the program. It
    // depends on the two types only, so it is worked out once.
    struct Copia {
        int destino;
        int origem;
        QString valor;
    };
    struct ChaveCopia {
        char16_t tipo; // 'I' the inclusion event, 'N' fields of the same name
        const void* destino;
        const void* origem;
        friend bool operator==(const ChaveCopia&, const ChaveCopia&) = default;
        friend size_t qHash(const ChaveCopia& c, size_t seed = 0) {
            return qHashMulti(seed, c.tipo, c.destino, c.origem);
        }
    };
    QHash<ChaveCopia, QList<Copia>> copias;

private:
    QSqlDatabase db_;
    QHash<QString, QSqlQuery> consultas_;
};

// What every record of a run shares: the connection, the run's certifier acronym, the user who
// becomes UsuResp, "now", the logs, the prompts that show a failed statement's error, and the codes
// of the reference tables.
struct ContextoImportacao {
    QSqlDatabase db;
    QString sigla;
    QString usuario;
    Clock* clock = nullptr;
    LogImportacao* log = nullptr;
    Prompts* prompts = nullptr;
    ConsultasPreparadas* consultas = nullptr; // optional: statements kept prepared for the file
    // The codes of the reference tables; without them every country, role or class is refused.
    const CodigosReferencia* referencias = nullptr;
};

// One field of a record: where it was read and what it holds.
struct TDataStructItem {
    QString valor; // as read, blanks kept
    // The value without leading and trailing blanks (spaces only: a tab stays), in upper case for a
    // coded field: what the checks read, the statements bind and the register stores.
    QString aparado;
    int linha = 0; // line of the file the value came from
};

// One record of an import file, typed by its EstruturaRegistro: checks its values and writes
// itself into its table with an insert or an update built from its own fields, bound parameters
// throughout, logging every statement to "Log_BD.txt".
class TDataStruct {
public:
    explicit TDataStruct(const EstruturaRegistro& estrutura);

    const EstruturaRegistro& estrutura() const { return *estrutura_; }
    int quantidade() const { return int(itens_.size()); }
    const TDataStructItem& item(int i) const { return itens_[i]; }
    // The value without leading and trailing blanks (upper case for a coded field).
    const QString& aparado(int i) const { return itens_[i].aparado; }
    void define(int i, const QString& valor, int linha = 0);
    // By field name (ignoring case and blanks): the trimmed value, empty when there is no such field.
    QString valor(const QString& nome) const;
    bool define(const QString& nome, const QString& valor);

    // Checks every field; every message goes to "Log.txt". Fills DthUltAtualiz and UsuResp when
    // empty. Returns valid().
    bool ValidaRegistro(const ContextoImportacao& ctx);
    bool valido() const { return valido_; }

    struct Gravacao {
        bool sucesso = false;
        bool inserido = false;
    };
    // Updates the row of the record's key when it exists, inserts it otherwise.
    Gravacao GravaRegistro(const ContextoImportacao& ctx);

    // "Nome=valor", one per field.
    QStringList campos() const;
    // The value as bound to its statement: NULL when empty, else converted to the field's type.
    QVariant parametro(int i) const;

    // The file's date form, "dd/mm/yyyy"; a date-time filled by the program carries its time too.
    static std::optional<QDateTime> converteData(const QString& texto);
    static QString textoDataHora(const QDateTime& quando);

private:
    bool verificaCampo(int i, const ContextoImportacao& ctx, QDateTime& emissao);
    void verificaEmpresa(const ContextoImportacao& ctx);
    void falha(const ContextoImportacao& ctx, const QString& mensagem);
    Gravacao grava(const ContextoImportacao& ctx);
    bool existe(const ContextoImportacao& ctx);
    bool dentroDosLimites(const ContextoImportacao& ctx, bool inclusao);
    QString clausulaWhere() const;
    quint64 chavesPreenchidas() const;
    ConsultasPreparadas::Comando& comando(const ContextoImportacao& ctx, char16_t tipo,
                                          ConsultasPreparadas::Comando& proprio) const;
    ConsultasPreparadas::Comando montaComando(char16_t tipo) const;
    bool executa(const ContextoImportacao& ctx, ConsultasPreparadas::Comando& comando);
    void defineValor(int i, QString valor);

    const EstruturaRegistro* estrutura_;
    QList<TDataStructItem> itens_;
    bool valido_ = true;
};
