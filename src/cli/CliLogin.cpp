#include "CliLogin.h"

#include "Database.h"
#include "DbError.h"
#include "Paths.h"
#include "Session.h"
#include "TerminalPrompts.h"
#include "UsuLocal.h"

#include <QFileInfo>

namespace CliLogin {

QString login(Session& session, const QString& user) {
    const QString file = Paths::databaseFile();
    if (!QFileInfo(file).isFile())
        return QStringLiteral("O banco de dados %1 não foi encontrado.").arg(file);
    QSqlDatabase db = Database::open(file, session.connectionName());

    QString senha = qEnvironmentVariable("TARVENDIX_PASSWORD");
    if (senha.isEmpty() && TerminalPrompts::inputIsTerminal())
        senha = TerminalPrompts::readHidden(QStringLiteral("Senha de %1: ").arg(user));
    if (user.trimmed().isEmpty() || senha.trimmed().isEmpty())
        return QStringLiteral("Entre com login e senha para acessar o sistema.");
    if (UsuLocalTable::administradorSemSenha(db))
        return QStringLiteral("O administrador ainda não tem senha: inicie o programa para defini-la.");
    const std::optional<Usuario> found = UsuLocalTable::find(db, user.trimmed());
    // The same answer for an unknown name and a wrong password.
    if (!found || !Senhas::confere(senha.trimmed(), found->SenhaUsu))
        return QStringLiteral("Login e/ou senha inválidos.  Acesso negado ao sistema.");
    session.setUser(LoggedUser{found->SiglaUsu, found->SiglaCertificador, found->permissions});
    return {};
}

} // namespace CliLogin
