// What the programs say about themselves: the manual pages and the completion the build installs,
// --version, and a companion that writes only its own messages.
#include "CliFixture.h"

#include <QTemporaryDir>

namespace {

QString readFile(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(file.readAll());
}

// The manual page the build made for installation, as its reader sees the words (roff writes the
// minus signs of the options escaped).
QString installedManual(const char* name) {
    return readFile(QStringLiteral(TARVENDIX_GENERATED "/") + QString::fromLatin1(name))
        .replace(QStringLiteral("\\-"), QStringLiteral("-"))
        .replace(QStringLiteral("\\e"), QStringLiteral("\\"));
}

// Each verb line of the general help, "batch prepare --partial|--complete [--preview] [--yes]".
QStringList verbLines() {
    const Outcome help = runCompanion({"--help"});
    EXPECT_EQ(help.status, 0);
    const QString text =
        help.out.section(QStringLiteral("Verbos:\n"), 1).section(QStringLiteral("\n\n"), 0, 0);
    QStringList lines;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        lines << line.trimmed();
    return lines;
}

// The words that name the verb: "batch prepare", "import", "report a-vencer".
QStringList verbWords(const QString& line) {
    static const QRegularExpression word(QStringLiteral("^[a-z][a-z-]*$"));
    QStringList words;
    for (const QString& token : line.split(QLatin1Char(' '))) {
        if (!word.match(token).hasMatch())
            break;
        words << token;
    }
    return words;
}

QStringList optionsIn(const QString& text) {
    static const QRegularExpression option(QStringLiteral("--[a-z][a-z-]*"));
    QStringList all;
    for (const QRegularExpressionMatch& match : option.globalMatch(text))
        if (!all.contains(match.captured()))
            all << match.captured();
    return all;
}

// What bash completes after the typed line, with the completion the build installs.
QStringList completions(const QString& typed) {
    QProcess bash;
    bash.start(
        QStringLiteral("bash"),
        {QStringLiteral("-c"),
         QStringLiteral("source \"$0\"; read -ra COMP_WORDS <<< \"$1\"; [[ $1 == *' ' ]] && COMP_WORDS+=('');"
                        " COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _tarvendix_cli;"
                        " printf '%s\\n' \"${COMPREPLY[@]}\""),
         QStringLiteral(TARVENDIX_GENERATED "/tarvendix-cli.bash-completion"), typed});
    EXPECT_TRUE(bash.waitForFinished(30000));
    EXPECT_EQ(bash.exitCode(), 0) << bash.readAllStandardError().toStdString();
    return QString::fromUtf8(bash.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QProcessEnvironment environmentWithout(const QStringList& names) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& name : names)
        env.remove(name);
    return env;
}

Outcome runProgram(const QString& program, const QStringList& arguments, const QProcessEnvironment& env) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(120000));
    Outcome run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

TEST(CompanionManual, NamesEveryVerbTheCompanionAcceptsWithItsOptions) {
    const QString manual = installedManual("tarvendix-cli.1");
    const QStringList lines = verbLines();
    ASSERT_FALSE(lines.isEmpty());
    for (const QString& line : lines) {
        const QStringList words = verbWords(line);
        // The companion takes the verb...
        const Outcome help = runCompanion(words + QStringList{"--help"});
        EXPECT_EQ(help.status, 0) << line.toStdString() << help.err.toStdString();
        // ...and its manual page tells how, with every option its help names.
        EXPECT_TRUE(manual.contains(line)) << line.toStdString();
        for (const QString& option : optionsIn(help.out))
            EXPECT_TRUE(manual.contains(option)) << line.toStdString() << " " << option.toStdString();
    }
    for (const QString& option : optionsIn(runCompanion({"--help"}).out))
        EXPECT_TRUE(manual.contains(option)) << option.toStdString();
    for (const char* part : {"STATUS DE SAÍDA", "AMBIENTE", "TARVENDIX_HOME", "TARVENDIX_PASSWORD",
                             "ARQUIVOS", "CapaCertific.db", "EXEMPLOS"})
        EXPECT_TRUE(manual.contains(QString::fromUtf8(part))) << part;
}

TEST(CompanionManual, TheInstalledPageIsTheOneTheCompanionMakes) {
    const Outcome made = runCompanion({"--man"});
    EXPECT_EQ(made.status, 0) << made.err.toStdString();
    EXPECT_EQ(made.out, readFile(QStringLiteral(TARVENDIX_GENERATED "/tarvendix-cli.1")));
}

TEST(CompanionCompletion, OffersEachVerbAndItsOptions) {
    EXPECT_TRUE(completions("tarvendix-cli --home /tmp --user maria ").contains("batch"));
    for (const QString& line : verbLines()) {
        const QStringList words = verbWords(line);
        if (words.size() == 2)
            EXPECT_TRUE(completions("tarvendix-cli " + words.first() + " ").contains(words[1]))
                << line.toStdString();
        else
            EXPECT_TRUE(completions("tarvendix-cli ").contains(words.first())) << line.toStdString();
        const QStringList offered = completions("tarvendix-cli " + words.join(' ') + " --");
        for (const QString& option : optionsIn(line.mid(words.join(' ').size())))
            EXPECT_TRUE(offered.contains(option)) << line.toStdString() << " " << option.toStdString();
    }
}

TEST(ProgramVersion, BothProgramsTellTheProjectsVersion) {
    const Outcome cli = runCompanion({"--version"});
    EXPECT_EQ(cli.status, 0);
    EXPECT_EQ(cli.out, QStringLiteral("tarvendix-cli (Tarvendix) " TARVENDIX_VERSION "\n"));
    EXPECT_EQ(cli.err, QString());

    // Without a display: the window is never made.
    const Outcome program = runProgram(QStringLiteral(TARVENDIX_PROGRAM), {"--version"},
                                       environmentWithout({"DISPLAY", "QT_QPA_PLATFORM"}));
    EXPECT_EQ(program.status, 0) << program.err.toStdString();
    EXPECT_EQ(program.out,
              QStringLiteral("Tarvendix - Módulo do Certificador - Versão " TARVENDIX_VERSION "\n"));
}

TEST(ProgramManual, TellsItsOptionsEnvironmentAndFiles) {
    const Outcome help = runProgram(QStringLiteral(TARVENDIX_PROGRAM), {"--help"},
                                    environmentWithout({"DISPLAY", "QT_QPA_PLATFORM"}));
    EXPECT_EQ(help.status, 0) << help.err.toStdString();
    const QString manual = installedManual("tarvendix.1");
    for (const QString& option : optionsIn(help.out))
        EXPECT_TRUE(manual.contains(option)) << option.toStdString();
    for (const char* part : {"--help", "--version", "TARVENDIX_HOME", "CapaCertific.db", "tarvendix-cli(1)"})
        EXPECT_TRUE(manual.contains(QString::fromUtf8(part))) << part;
}

// A report runs on Qt's offscreen platform, which notes on stderr that XDG_RUNTIME_DIR is not set
// (as under cron, or in a service without a login session); the companion's stderr carries its own
// messages only.
TEST_F(Cli, AReportWithoutARuntimeDirectoryWritesNothingButItsResult) {
    QTemporaryDir out;
    const QString pdf = out.filePath("lista.pdf");
    QProcessEnvironment env = environmentWithout({"XDG_RUNTIME_DIR", "TARVENDIX_HOME"});
    env.insert("TARVENDIX_PASSWORD", "outra");
    const Outcome run =
        runProgram(QStringLiteral(TARVENDIX_CLI),
                   {"--home", home.path(), "--user", "joao", "report", "lista", "--pdf", pdf}, env);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(pdf)) << run.out.toStdString();
    EXPECT_EQ(run.err, QString());
}
