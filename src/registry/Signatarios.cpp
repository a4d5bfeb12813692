#include "Signatarios.h"

#include "Certificados.h"
#include "DbError.h"
#include "Prompts.h"
#include "Session.h"
#include "Sql.h"
#include "Transaction.h"

#include <QSqlQuery>

const QString CadastroSignatarios::NaoConfigurado =
    QStringLiteral("As configuraçãoes do Certificador não foram cadastradas.");
const QString CadastroSignatarios::SignatarioJaExiste = QStringLiteral("Este signatário já existe !!! ");

namespace {

QString marca(bool padrao) {
    return padrao ? QStringLiteral("S") : QStringLiteral("N");
}

void limpaPadrao(const QSqlDatabase& db) {
    Sql::execute(db, QStringLiteral("Update Signatarios Set Default_s = 'N' Where Default_s = 'S'"));
}

} // namespace

namespace Signatarios {

QList<Signatario> lista(const QSqlDatabase& db) {
    QSqlQuery q =
        Sql::exec(db, QStringLiteral("Select * from Signatarios order by default_s DESC, signatario ASC"));
    QList<Signatario> rows;
    while (q.next())
        rows.append({q.value(QStringLiteral("ID_Signatario")).toInt(),
                     q.value(QStringLiteral("Signatario")).toString(),
                     q.value(QStringLiteral("Default_s")).toString() == QLatin1String("S")});
    return rows;
}

int inclui(const QSqlDatabase& db, const QString& nome, const QString& sigla, bool padrao) {
    if (padrao)
        limpaPadrao(db);
    QSqlQuery q = Sql::exec(
        db,
        QStringLiteral(
            "Insert into signatarios (signatario,SiglaCertificador,Default_s) values(:sig,:Sigla,:Defa)"),
        {{":sig", nome}, {":Sigla", sigla}, {":Defa", marca(padrao)}});
    return q.lastInsertId().toInt();
}

void altera(const QSqlDatabase& db, int id, const QString& nome, bool padrao) {
    if (padrao)
        limpaPadrao(db);
    const int changed = Sql::execute(
        db,
        QStringLiteral(
            "Update signatarios Set signatario = :sig,Default_s = :Defa where ID_Signatario = :IDS "),
        {{":sig", nome}, {":Defa", marca(padrao)}, {":IDS", id}});
    if (changed != 1)
        throw DbError(QStringLiteral("O signatário não foi encontrado."));
}

void exclui(const QSqlDatabase& db, int id) {
    Sql::execute(db, QStringLiteral("Delete from signatarios  where ID_Signatario = :IDS "), {{":IDS", id}});
}

} // namespace Signatarios

CadastroSignatarios::CadastroSignatarios(Session& session) : session_(session) {}

bool CadastroSignatarios::incluir() {
    if (Certificados::siglaConfigurada(session_.database()).isEmpty()) {
        session_.prompts().message(QStringLiteral("Erro de Edição"), NaoConfigurado);
        return false;
    }
    operacao_ = Operacao::Incluir;
    id_ = 0;
    return true;
}

void CadastroSignatarios::editar(int id) {
    operacao_ = Operacao::Editar;
    id_ = id;
}

void CadastroSignatarios::excluir(int id) {
    operacao_ = Operacao::Excluir;
    id_ = id;
}

void CadastroSignatarios::cancelar() {
    operacao_ = Operacao::Nenhuma;
    id_ = 0;
}

bool CadastroSignatarios::aplicar(const QString& nome, bool padrao) {
    if (!editando())
        return false;
    Prompts& prompts = session_.prompts();
    const QString aparado = nome.trimmed();
    // A blank name would be offered as an empty signatory on every certificate.
    if (operacao_ != Operacao::Excluir && aparado.isEmpty()) {
        prompts.message(
            QStringLiteral("Campos em branco"),
            QStringLiteral("Existem campos obrigatórios em branco !!! Reveja a inclusão ou edição..."));
        return false;
    }
    const QSqlDatabase db = session_.database();
    try {
        // Clearing the old default and marking the new one commit together.
        Transaction transaction(db);
        switch (operacao_) {
        case Operacao::Incluir:
            Signatarios::inclui(db, aparado, Certificados::siglaConfigurada(db), padrao);
            break;
        case Operacao::Editar:
            Signatarios::altera(db, id_, aparado, padrao);
            break;
        case Operacao::Excluir:
            Signatarios::exclui(db, id_);
            break;
        case Operacao::Nenhuma:
            break;
        }
        transaction.commit();
    } catch (const DbError& error) {
        if (error.isKeyViolation() || error.message() == KeyViolationMessage)
            prompts.message(QStringLiteral("Erro de chave duplicada"), SignatarioJaExiste);
        else
            prompts.message(
                QStringLiteral("Erro de gravação"),
                QStringLiteral("Erro genérico de gravação no Banco de Dados !!! As alterações não foram "
                               "efetuadas."));
        return false;
    }
    cancelar();
    return true;
}
