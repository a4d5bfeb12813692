#include "UsuLocal.h"

#include "Cp1252.h"
#include "Embaralha.h"
#include "Sql.h"

#include <QSqlQuery>

namespace UsuLocalTable {

namespace {

const QString selectColumns = QStringLiteral(
    "SELECT SiglaUsu, SiglaCertificador, NomeUsu, SenhaUsu, AcConfigOCC, AcConfigDir, AcCadastraUsu, "
    "AcManBase, AcContRemessas, AcAtualTabAux, AcAprovCertific FROM USU_LOCAL ");

QVariant textOrNull(const QString& value) {
    return value.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(value);
}

void bindUser(QSqlQuery& query, const Usuario& user) {
    const Permissions& p = user.permissions;
    Sql::bind(query, {{":SiglaUsu", user.SiglaUsu},
                      {":SiglaCertificador", user.SiglaCertificador},
                      {":NomeUsu", textOrNull(user.NomeUsu)},
                      {":AcConfigOCC", p.AcConfigOCC},
                      {":AcConfigDir", p.AcConfigDir},
                      {":AcCadastraUsu", p.AcCadastraUsu},
                      {":AcManBase", p.AcManBase},
                      {":AcContRemessas", p.AcContRemessas},
                      {":AcAtualTabAux", p.AcAtualTabAux},
                      {":AcAprovCertific", p.AcAprovCertific}});
}

} // namespace

std::optional<Usuario> find(const QSqlDatabase& db, const QString& siglaUsu) {
    // Names are unique whatever their case (UQ_USU_LOCAL_SiglaUsu), so they are looked up the same way.
    QSqlQuery q = Sql::exec(db, selectColumns + QStringLiteral("WHERE SiglaUsu = :sigla COLLATE NOCASE"),
                            {{":sigla", siglaUsu}});
    if (!q.next())
        return std::nullopt;
    Usuario u;
    u.SiglaUsu = q.value(0).toString();
    u.SiglaCertificador = q.value(1).toString();
    u.NomeUsu = q.value(2).toString();
    u.SenhaUsu = q.value(3).toString();
    u.permissions = {q.value(4).toBool(), q.value(5).toBool(), q.value(6).toBool(), q.value(7).toBool(),
                     q.value(8).toBool(), q.value(9).toBool(), q.value(10).toBool()};
    return u;
}

void insert(const QSqlDatabase& db, const Usuario& user) {
    QSqlQuery q = Sql::prepare(
        db, QStringLiteral(
                "INSERT INTO USU_LOCAL (SiglaUsu, SiglaCertificador, NomeUsu, SenhaUsu, AcConfigOCC, "
                "AcConfigDir, AcCadastraUsu, AcManBase, AcContRemessas, AcAtualTabAux, AcAprovCertific) "
                "VALUES (:SiglaUsu, :SiglaCertificador, :NomeUsu, :SenhaUsu, :AcConfigOCC, :AcConfigDir, "
                ":AcCadastraUsu, :AcManBase, :AcContRemessas, :AcAtualTabAux, :AcAprovCertific)"));
    bindUser(q, user);
    Sql::bind(q, {{":SenhaUsu", textOrNull(user.SenhaUsu)}});
    Sql::exec(q);
}

void update(const QSqlDatabase& db, const QString& originalSigla, const Usuario& user) {
    QSqlQuery q = Sql::prepare(
        db,
        QStringLiteral("UPDATE USU_LOCAL SET SiglaUsu = :SiglaUsu, SiglaCertificador = :SiglaCertificador, "
                       "NomeUsu = :NomeUsu, AcConfigOCC = :AcConfigOCC, AcConfigDir = :AcConfigDir, "
                       "AcCadastraUsu = :AcCadastraUsu, AcManBase = :AcManBase, "
                       "AcContRemessas = :AcContRemessas, AcAtualTabAux = :AcAtualTabAux, "
                       "AcAprovCertific = :AcAprovCertific WHERE SiglaUsu = :original"));
    bindUser(q, user);
    Sql::bind(q, {{":original", originalSigla}});
    Sql::exec(q);
}

void remove(const QSqlDatabase& db, const QString& siglaUsu) {
    Sql::execute(db, QStringLiteral("DELETE FROM USU_LOCAL WHERE SiglaUsu = :sigla"), {{":sigla", siglaUsu}});
}

void setSenha(const QSqlDatabase& db, const QString& siglaUsu, const QString& senhaEmbaralhada) {
    Sql::execute(db, QStringLiteral("UPDATE USU_LOCAL SET SenhaUsu = :senha WHERE SiglaUsu = :sigla"),
                 {{":senha", senhaEmbaralhada}, {":sigla", siglaUsu}});
}

bool administradorSemSenha(const QSqlDatabase& db) {
    const QVariant senha =
        Sql::scalar(db, QStringLiteral("SELECT SenhaUsu FROM USU_LOCAL WHERE SiglaUsu = :sigla"),
                    {{":sigla", Administrador}});
    return senha.isNull() || senha.toString().isEmpty();
}

} // namespace UsuLocalTable

namespace Senhas {

QString problema(const QString& senhaDigitada) {
    const QString senha = senhaDigitada.trimmed();
    const std::optional<QByteArray> bytes = Cp1252::encode(senha);
    if (!bytes)
        return QStringLiteral("A senha contém caracteres que não podem ser usados. Escolha outra senha.");
    switch (verificaEmbaralhaTexto(*bytes)) {
    case ProblemaEmbaralhamento::Vazio:
        return QStringLiteral("A senha não pode ficar em branco.");
    case ProblemaEmbaralhamento::Longo:
        return QStringLiteral("A senha deve ter no máximo %1 caracteres.").arg(TamanhoMaximoTexto);
    case ProblemaEmbaralhamento::ByteZero:
        return QStringLiteral("Essa senha não pode ser usada, pois não poderia ser conferida depois. "
                              "Escolha outra senha.");
    case ProblemaEmbaralhamento::Nenhum:
        break;
    }
    return {};
}

QString embaralha(const QString& senhaDigitada) {
    return Cp1252::decode(EmbaralhaTexto(Direcao::Codificar, *Cp1252::encode(senhaDigitada.trimmed())));
}

bool confere(const QString& senhaDigitada, const QString& senhaEmbaralhada) {
    if (senhaEmbaralhada.isEmpty() || !problema(senhaDigitada).isEmpty())
        return false;
    return embaralha(senhaDigitada) == senhaEmbaralhada;
}

} // namespace Senhas
