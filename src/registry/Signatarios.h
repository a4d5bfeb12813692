#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

class Session;

// One row of SIGNATARIOS.
struct Signatario {
    int id = 0;
    QString nome;
    bool padrao = false; // Default_s 'S'
};

// The signatories. Every value reaches SQL as a bound parameter; errors are DbError; the caller
// owns the transaction.
namespace Signatarios {

// The default first, then by name.
QList<Signatario> lista(const QSqlDatabase& db);
// A new default takes the mark from the old one. Returns the number the database gave.
int inclui(const QSqlDatabase& db, const QString& nome, const QString& sigla, bool padrao);
void altera(const QSqlDatabase& db, int id, const QString& nome, bool padrao);
void exclui(const QSqlDatabase& db, int id);

} // namespace Signatarios

// The panel "Signatários" without its widgets: the pending operation and what "Aplicar" does.
class CadastroSignatarios {
public:
    enum class Operacao { Nenhuma, Incluir, Editar, Excluir };

    explicit CadastroSignatarios(Session& session);

    Operacao operacao() const { return operacao_; }
    bool editando() const { return operacao_ != Operacao::Nenhuma; }

    // "&Incluir": refused, after its box, while the certifier is not configured.
    bool incluir();
    // "&Editar" and "E&xcluir " of a listed row.
    void editar(int id);
    void excluir(int id);
    // "Aplicar" with the name typed and the default chosen; true when stored (edit mode left).
    bool aplicar(const QString& nome, bool padrao);
    // "Cancelar".
    void cancelar();

    static const QString NaoConfigurado;
    static const QString SignatarioJaExiste;

private:
    Session& session_;
    Operacao operacao_ = Operacao::Nenhuma;
    int id_ = 0;
};
