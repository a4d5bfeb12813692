#include "ResultFixture.h"

#include "TabelaRemessa.h"

#include <QProcess>
#include <QTemporaryDir>

QString ResultFixture::preparaEEntrega(const QString& tipo) {
    const PreparationResult prepared = prepara(tipo, true);
    EXPECT_EQ(prepared.status, PreparationResult::Status::Sucesso) << prepared.mensagem;
    entrega(prepared.numeroRemessa, tipo);
    return prepared.arquivo;
}

void ResultFixture::entrega(const QString& numero, const QString& tipo) {
    clock.advanceSeconds(60);
    BatchControl(session, state).registraEvento(numero, tipo, BatchEvents::Transferida);
    clock.advanceSeconds(60);
    seleciona(numero, tipo);
}

void ResultFixture::seleciona(const QString& numero, const QString& tipo) {
    BatchControl(session, state).atualizaListaRemessas();
    state.NumeroRemessa = numero;
    state.TipoRemessa = tipo;
}

void ResultFixture::expectReplicasEqualLive(const QString& excluirCertificado, const QString& excluirEmpresa,
                                            const QString& excluirMarca) {
    for (const TabelaRemessa& tabela : TabelasRemessa()) {
        QStringList colunas;
        QSqlQuery info = Sql::exec(db, QStringLiteral("SELECT name FROM pragma_table_info(:t)"),
                                   {{QStringLiteral(":t"), tabela.tabela()}});
        while (info.next())
            colunas << info.value(0).toString().toUpper();
        QStringList fora;
        const auto exclui = [&](const QString& coluna, const QString& valor) {
            if (!valor.isEmpty() && colunas.contains(coluna.toUpper()))
                fora << QStringLiteral("%1 IS NOT '%2'").arg(coluna, valor);
        };
        exclui(QStringLiteral("NumCertif"), excluirCertificado);
        exclui(QStringLiteral("IdEmpresa"), excluirEmpresa);
        exclui(QStringLiteral("MarcaProd"), excluirMarca);
        const QString where = fora.isEmpty() ? QString() : QStringLiteral(" WHERE ") + fora.join(" AND ");
        EXPECT_EQ(sqlRows("SELECT * FROM " + tabela.replica()),
                  sqlRows("SELECT * FROM " + tabela.tabela() + where))
            << tabela.Nome.toStdString();
    }
}

QMap<QString, QList<QStringList>> ResultFixture::replicas() const {
    QMap<QString, QList<QStringList>> all;
    for (const TabelaRemessa& tabela : TabelasRemessa())
        all.insert(tabela.Nome, sqlRows("SELECT * FROM " + tabela.replica()));
    return all;
}

qint64 ResultFixture::linhasReplicas() const {
    qint64 total = 0;
    for (const TabelaRemessa& tabela : TabelasRemessa())
        total += Sql::scalar(db, "SELECT count(*) FROM " + tabela.replica()).toLongLong();
    return total;
}

int ResultFixture::eventos(const QString& evento) const {
    return Sql::scalar(db, QStringLiteral("SELECT count(*) FROM CONTROLE WHERE Evento = :e"),
                       {{QStringLiteral(":e"), evento}})
        .toInt();
}

QString ResultFixture::obsDoEvento(const QString& evento) const {
    return Sql::scalar(db, QStringLiteral("SELECT Obs FROM CONTROLE WHERE Evento = :e"),
                       {{QStringLiteral(":e"), evento}})
        .toString();
}

QString ResultFixture::fazZip(const QString& path, const QMap<QString, QByteArray>& files) const {
    QTemporaryDir work;
    QStringList arguments{QStringLiteral("-q"), QStringLiteral("-j"), path};
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const QString file = work.filePath(it.key());
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(it.value());
        out.close();
        arguments << file;
    }
    QFile::remove(path);
    QProcess zip;
    zip.start(QStringLiteral("zip"), arguments);
    EXPECT_TRUE(zip.waitForFinished(30000));
    EXPECT_EQ(zip.exitCode(), 0) << zip.readAllStandardError().toStdString();
    return path;
}

QString ResultFixture::resultado(const QString& directory, const QString& arquivoRemessa,
                                 const QString& veredito, const QByteArray& observacoes,
                                 bool comObservacoes) const {
    const QString nome = ResultadoRemessa::nomeResultado(arquivoRemessa, veredito);
    QMap<QString, QByteArray> files;
    if (comObservacoes)
        files.insert(ResultadoRemessa::nomeObservacoes(nome), observacoes);
    else
        files.insert(QStringLiteral("LEIAME.TXT"), "Kavorel");
    QDir().mkpath(directory);
    return fazZip(QDir(directory).filePath(nome), files);
}
