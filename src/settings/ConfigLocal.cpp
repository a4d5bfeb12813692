#include "ConfigLocal.h"

#include "Paths.h"
#include "Sql.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <algorithm>
#include <array>
#include <utility>

namespace ConfigLocalTable {

namespace {

using Column = std::pair<const char*, QString ConfigLocal::*>;

// Column name and member, in the table's order.
const std::array<Column, 15> columns{{
    {"SiglaCertificador", &ConfigLocal::SiglaCertificador},
    {"NomeOCC", &ConfigLocal::NomeOCC},
    {"DirLocalSincr", &ConfigLocal::DirLocalSincr},
    {"DirLocalTransf", &ConfigLocal::DirLocalTransf},
    {"DirLocalRecepAux", &ConfigLocal::DirLocalRecepAux},
    {"EndKavorelEnvio", &ConfigLocal::EndKavorelEnvio},
    {"EndKavorelResult", &ConfigLocal::EndKavorelResult},
    {"EndKavorelOrigAux", &ConfigLocal::EndKavorelOrigAux},
    {"LoginFTP", &ConfigLocal::LoginFTP},
    {"SenhaFTP", &ConfigLocal::SenhaFTP},
    {"EndSMTPHost", &ConfigLocal::EndSMTPHost},
    {"EndSMTPPort", &ConfigLocal::EndSMTPPort},
    {"EndSMTPUsuario", &ConfigLocal::EndSMTPUsuario},
    {"EndSMTPEMailReply", &ConfigLocal::EndSMTPEMailReply},
    {"EndSMTPUsuReply", &ConfigLocal::EndSMTPUsuReply},
}};

QString columnList() {
    QStringList names;
    for (const auto& [name, member] : columns)
        names << QString::fromLatin1(name);
    return names.join(QStringLiteral(", "));
}

// An empty field is stored as NULL, as the original screens left untouched fields.
QVariant stored(const QString& value) {
    return value.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(value);
}

} // namespace

std::optional<ConfigLocal> load(const QSqlDatabase& db) {
    QSqlQuery query = Sql::exec(db, QStringLiteral("SELECT %1 FROM CONFIG_LOCAL LIMIT 1").arg(columnList()));
    if (!query.next())
        return std::nullopt;
    ConfigLocal row;
    for (int i = 0; i < int(columns.size()); ++i)
        row.*columns[i].second = query.value(i).toString();
    return row;
}

void save(const QSqlDatabase& db, const ConfigLocal& row) {
    Transaction transaction(db);
    Sql::execute(db, QStringLiteral("DELETE FROM CONFIG_LOCAL"));
    QStringList placeholders;
    for (const auto& [name, member] : columns)
        placeholders << QStringLiteral(":") + QString::fromLatin1(name);
    QSqlQuery insert = Sql::prepare(db, QStringLiteral("INSERT INTO CONFIG_LOCAL (%1) VALUES (%2)")
                                            .arg(columnList(), placeholders.join(", ")));
    for (const auto& [name, member] : columns)
        insert.bindValue(QStringLiteral(":") + QString::fromLatin1(name), stored(row.*member));
    Sql::exec(insert);
    Sql::execute(
        db,
        QStringLiteral("UPDATE USU_LOCAL SET SiglaCertificador = :sigla WHERE SiglaCertificador <> :sigla"),
        {{":sigla", row.SiglaCertificador}});
    transaction.commit();
}

namespace {

// The path with links resolved as far as it exists, so "x/../base" and a link to the base
// directory are told for what they are.
QString resolved(const QString& path) {
    const QString absolute = QDir::cleanPath(QDir(path).absolutePath());
    const QString canonical = QFileInfo(absolute).canonicalFilePath();
    return canonical.isEmpty() ? absolute : canonical;
}

bool isSameOrInside(const QString& path, const QString& directory) {
    return path == directory || path.startsWith(Paths::withTrailingSlash(directory));
}

bool holdsADatabase(const QString& dir) {
    const QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    const QString database = QFileInfo(Paths::databaseFile()).fileName();
    return std::any_of(names.cbegin(), names.cend(),
                       [&](const QString& name) { return name.compare(database, Qt::CaseInsensitive) == 0; });
}

using Diretorios = std::array<std::pair<QString, QString>, 3>;

Diretorios diretoriosDe(const ConfigLocal& row) {
    return {{
        {QStringLiteral("Diretório Local de Tabelas de Sincronização"), row.DirLocalSincr},
        {QStringLiteral("Diretório Local de Transferência de Remessas"), row.DirLocalTransf},
        {QStringLiteral("Diretório Local de Recepção de Tabelas Auxiliares"), row.DirLocalRecepAux},
    }};
}

QString problemaDe(const QString& caption, const QString& dir) {
    if (dir.trimmed().isEmpty())
        return QStringLiteral("O campo \"%1\" não pode ficar em branco.").arg(caption);
    if (QDir(dir).isRoot() || QDir::cleanPath(dir) == QStringLiteral("/"))
        return QStringLiteral("O campo \"%1\" não pode ser o diretório raiz.").arg(caption);
    if (dir.size() > TamanhoDiretorio)
        return QStringLiteral("O campo \"%1\" tem mais de %2 caracteres.").arg(caption).arg(TamanhoDiretorio);
    return problemaDiretorioProtegido(caption, dir);
}

QString problemaDeIguais(const Diretorios& dirs, int i, int j) {
    if (!dirs[j].second.trimmed().isEmpty() &&
        QDir::cleanPath(dirs[i].second) == QDir::cleanPath(dirs[j].second))
        return QStringLiteral("Os campos \"%1\" e \"%2\" não podem indicar o mesmo diretório.")
            .arg(dirs[std::min(i, j)].first, dirs[std::max(i, j)].first);
    return {};
}

} // namespace

QString problemaDiretorios(const ConfigLocal& row) {
    const Diretorios dirs = diretoriosDe(row);
    for (const auto& [caption, dir] : dirs)
        if (const QString problema = problemaDe(caption, dir); !problema.isEmpty())
            return problema;
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j)
            if (const QString problema = problemaDeIguais(dirs, i, j); !problema.isEmpty())
                return problema;
    return {};
}

QString problemaDiretorioTransferencia(const ConfigLocal& row) {
    const Diretorios dirs = diretoriosDe(row);
    constexpr int transferencia = 1;
    if (const QString problema = problemaDe(dirs[transferencia].first, dirs[transferencia].second);
        !problema.isEmpty())
        return problema;
    for (int other : {0, 2})
        if (const QString problema = problemaDeIguais(dirs, transferencia, other); !problema.isEmpty())
            return problema;
    return {};
}

QString problemaDiretorioProtegido(const QString& caption, const QString& dir) {
    if (dir.trimmed().isEmpty())
        return {};
    const QString path = resolved(dir);
    if (path == resolved(Paths::baseDirectory()) || holdsADatabase(path))
        return QStringLiteral("O campo \"%1\" não pode indicar o diretório do banco de dados do programa "
                              "(%2): o programa grava e apaga arquivos de trabalho nesse diretório. "
                              "Escolha outro diretório.")
            .arg(caption, QDir::toNativeSeparators(dir));
    if (QCoreApplication::instance()) {
        const QString program = resolved(QCoreApplication::applicationDirPath());
        // The work directory beside the program is there for such files.
        if (isSameOrInside(path, program) && !isSameOrInside(path, resolved(Paths::workDirectory())))
            return QStringLiteral("O campo \"%1\" não pode indicar o diretório do programa nem um diretório "
                                  "dentro dele (%2). Escolha outro diretório.")
                .arg(caption, QDir::toNativeSeparators(dir));
    }
    return {};
}

QString problemaDiretoriosProtegidos(const ConfigLocal& row) {
    for (const auto& [caption, dir] : diretoriosDe(row))
        if (const QString problema = problemaDiretorioProtegido(caption, dir); !problema.isEmpty())
            return problema;
    return {};
}

} // namespace ConfigLocalTable
