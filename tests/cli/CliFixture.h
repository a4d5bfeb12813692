#pragma once

#include "ExchangeFixture.h"
#include "UsuLocal.h"

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

// What one run of the companion gave.
struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

// Runs the companion as a separate process, with the password in the environment (none when empty).
inline Outcome runCompanion(const QStringList& arguments, const QString& password = {}) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("TARVENDIX_HOME");
    if (password.isEmpty())
        env.remove("TARVENDIX_PASSWORD");
    else
        env.insert("TARVENDIX_PASSWORD", password);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TARVENDIX_CLI), arguments);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(120000));
    Outcome run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

// The installation of ExchangeFixture with users who log in: "maria" (batch control only) and "joao"
// (everything but batch control); the companion is run as a separate process on it.
class Cli : public ExchangeFixture {
protected:
    void SetUp() override {
        ExchangeFixture::SetUp();
        UsuLocalTable::setSenha(db, "admin", Senhas::embaralha("adm123"));
        Usuario maria{"maria", "OCC", "Maria", Senhas::embaralha("segredo"), {}};
        maria.permissions.AcContRemessas = true;
        UsuLocalTable::insert(db, maria);
        Usuario joao{"joao", "OCC", "João", Senhas::embaralha("outra"), Permissions::all()};
        joao.permissions.AcContRemessas = false;
        UsuLocalTable::insert(db, joao);
    }

    // Runs the companion on this home as the user, with the password in the environment.
    Outcome cli(const QStringList& arguments, const QString& user = "maria",
                const QString& password = "segredo") {
        QStringList all{"--home", home.path()};
        if (!user.isEmpty())
            all << "--user" << user;
        all << arguments;
        return raw(all, password);
    }

    static Outcome raw(const QStringList& arguments, const QString& password = {}) {
        return runCompanion(arguments, password);
    }

    // Points the copies of the database at a place a file already takes, so no copy can be made
    // (as with a full disk); `false` puts the default directory back.
    void blockCopies(bool blocked = true) {
        QFile conf(home.path() + "tarvendix.conf");
        if (!blocked) {
            conf.remove();
            return;
        }
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
        conf.write("[copias]\nDiretorio=bloqueado\n");
        QFile blocker(home.path() + "bloqueado");
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }

    QString lastEvent() const {
        return Sql::scalar(db, "SELECT Evento FROM CONTROLE ORDER BY DataHoraEvento DESC, rowid DESC LIMIT 1")
            .toString();
    }
};
