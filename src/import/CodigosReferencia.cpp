#include "CodigosReferencia.h"

#include "Sql.h"

#include <QSqlQuery>

namespace {

QSet<QString> textos(const QSqlDatabase& db, const QString& sql) {
    QSet<QString> codigos;
    QSqlQuery query = Sql::exec(db, sql);
    while (query.next())
        codigos.insert(query.value(0).toString());
    return codigos;
}

QSet<int> numeros(const QSqlDatabase& db, const QString& sql) {
    QSet<int> codigos;
    QSqlQuery query = Sql::exec(db, sql);
    while (query.next())
        codigos.insert(query.value(0).toInt());
    return codigos;
}

bool contemNumero(const QSet<int>& codigos, const QString& codigo) {
    bool ok = false;
    const int n = codigo.toInt(&ok);
    return ok && codigos.contains(n);
}

} // namespace

CodigosReferencia CodigosReferencia::carrega(const QSqlDatabase& db) {
    CodigosReferencia c;
    c.paises_ = textos(db, QStringLiteral("SELECT CodigoPais FROM PAIS"));
    c.classesCertificado_ = textos(db, QStringLiteral("SELECT IdClasseCertif FROM CLASSE_C"));
    c.papeis_ = numeros(db, QStringLiteral("SELECT IdPapelEmp FROM PAPEL_EMP"));
    c.classesProduto_ = numeros(db, QStringLiteral("SELECT IdClasseProd FROM CLASSE_P"));
    c.classesServico_ = numeros(db, QStringLiteral("SELECT IdClasseServ FROM CLASSE_S"));
    return c;
}

bool CodigosReferencia::contem(Verificacao verificacao, const QString& codigo) const {
    switch (verificacao) {
    case Verificacao::Pais:
        return paises_.contains(codigo);
    case Verificacao::ClasseCertificado:
        return classesCertificado_.contains(codigo);
    case Verificacao::PapelEmpresa:
        return contemNumero(papeis_, codigo);
    case Verificacao::ClasseProduto:
        return contemNumero(classesProduto_, codigo);
    case Verificacao::ClasseServico:
        return contemNumero(classesServico_, codigo);
    default:
        return false;
    }
}
