#include "Clock.h"
#include "DamagedParadox.h"
#include "DbError.h"
#include "ErrorHandler.h"
#include "ErrorLog.h"
#include "ParadoxTable.h"
#include "Paths.h"
#include "ScriptedPrompts.h"
#include "TarvendixApplication.h"
#include "TestHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

const QString Hyphens(70, QLatin1Char('-'));

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct ErrorHandling : ::testing::Test {
    TestHome home;
    ManualClock clock{QDateTime(QDate(2015, 11, 25), QTime(14, 3, 59))};
    ScriptedPrompts prompts;
};

} // namespace

TEST_F(ErrorHandling, LogLivesBesideTheDatabaseNamedAfterTheProgram) {
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    EXPECT_EQ(ErrorLog(clock).path(), home.path() + program + QStringLiteral("-LOGERROS.log"));
}

TEST_F(ErrorHandling, RecordIsDateTimeColonMessageThenSeventyHyphens) {
    EXPECT_EQ(ErrorLog::record(QDateTime(QDate(2015, 11, 5), QTime(9, 3, 7)), QStringLiteral("Falha: disco")),
              QStringLiteral("05/11/2015 09:03:07:Falha: disco\r\n") + Hyphens + QStringLiteral("\r\n"));
}

TEST_F(ErrorHandling, TwoErrorsAppendFourLinesAndKeepTheOldRecords) {
    ErrorHandler handler(clock, prompts);
    const QString log = handler.log().path();
    const QByteArray old = "01/01/2015 08:00:00:erro antigo\r\n" + Hyphens.toLatin1() + "\r\n";
    writeFile(log, old);

    handler.handle(QStringLiteral("Primeiro erro"));
    clock.advanceSeconds(61);
    handler.handle(QStringLiteral("Segundo erro com acentuação"));

    const QByteArray content = readAll(log);
    ASSERT_TRUE(content.startsWith(old));
    const QString added = QString::fromUtf8(content.mid(old.size()));
    EXPECT_EQ(added, QStringLiteral("25/11/2015 14:03:59:Primeiro erro\r\n") + Hyphens +
                         QStringLiteral("\r\n") +
                         QStringLiteral("25/11/2015 14:05:00:Segundo erro com acentuação\r\n") + Hyphens +
                         QStringLiteral("\r\n"));
    // Every line ends with CR LF: no bare line feed anywhere.
    EXPECT_EQ(content.count("\n"), content.count("\r\n"));

    ASSERT_EQ(prompts.shown().size(), 2);
    EXPECT_EQ(prompts.shown()[0].kind, PromptKind::Error);
    EXPECT_EQ(prompts.shown()[0].text, QStringLiteral("Primeiro erro"));
    EXPECT_EQ(prompts.shown()[0].caption, QStringLiteral("Tarvendix"));
    EXPECT_EQ(prompts.shown()[1].text, QStringLiteral("Segundo erro com acentuação"));
}

TEST_F(ErrorHandling, MissingLogIsCreated) {
    ErrorHandler handler(clock, prompts);
    ASSERT_FALSE(QFileInfo::exists(handler.log().path()));
    handler.handle(QStringLiteral("x"));
    EXPECT_EQ(readAll(handler.log().path()), ("25/11/2015 14:03:59:x\r\n" + Hyphens + "\r\n").toLatin1());
}

TEST_F(ErrorHandling, UnwritableLogStillShowsTheError) {
    // A directory where the log should be: no file can be opened there, whoever runs the test.
    ErrorHandler handler(clock, prompts);
    ASSERT_TRUE(QDir().mkpath(handler.log().path()));
    EXPECT_FALSE(handler.log().append(QStringLiteral("x")));

    handler.handle(QStringLiteral("Tabela bloqueada"));
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].kind, PromptKind::Error);
    EXPECT_EQ(prompts.shown()[0].text, QStringLiteral("Tabela bloqueada"));
    EXPECT_TRUE(QFileInfo(handler.log().path()).isDir());
}

// Errors thrown from slots and timers reach the application's notify(), are logged and shown, and
// the event loop carries on.
struct ThrownCase {
    const char* name;
    std::function<void()> thrower;
    QString message;
};

void PrintTo(const ThrownCase& c, std::ostream* os) {
    *os << c.name;
}

class ErrorsFromTheEventLoop : public ErrorHandling, public ::testing::WithParamInterface<ThrownCase> {
protected:
    void SetUp() override {
        app = qobject_cast<TarvendixApplication*>(QCoreApplication::instance());
        ASSERT_NE(app, nullptr);
        handler = std::make_unique<ErrorHandler>(clock, prompts);
        app->setErrorHandler(handler.get());
    }
    void TearDown() override {
        if (app)
            app->setErrorHandler(nullptr);
    }

    TarvendixApplication* app = nullptr;
    std::unique_ptr<ErrorHandler> handler;
};

TEST_P(ErrorsFromTheEventLoop, AreLoggedShownAndTheLoopGoesOn) {
    QTimer::singleShot(0, app, GetParam().thrower);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.shown().isEmpty(); }, 2000));

    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].kind, PromptKind::Error);
    EXPECT_EQ(prompts.shown()[0].text, GetParam().message);
    EXPECT_EQ(QString::fromUtf8(readAll(handler->log().path())),
              QStringLiteral("25/11/2015 14:03:59:") + GetParam().message + QStringLiteral("\r\n") + Hyphens +
                  QStringLiteral("\r\n"));

    bool later = false;
    QTimer::singleShot(0, app, [&] { later = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return later; }, 2000));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ErrorsFromTheEventLoop,
    ::testing::Values(ThrownCase{"DbError",
                                 [] {
                                     throw DbError(QStringLiteral("Não foi possível abrir o banco de dados"));
                                 },
                                 QStringLiteral("Não foi possível abrir o banco de dados")},
                      ThrownCase{"StdException", [] { throw std::runtime_error("Arquivo inexistente"); },
                                 QStringLiteral("Arquivo inexistente")},
                      ThrownCase{"Unknown", [] { throw 42; }, QStringLiteral("Erro desconhecido.")}),
    [](const ::testing::TestParamInfo<ThrownCase>& info) { return std::string(info.param.name); });

// A widget whose own event handler reads a table that came from outside.
class TableReader : public QWidget {
public:
    explicit TableReader(QString path) : path_(std::move(path)) {}
    qsizetype rows = -1;

protected:
    void keyPressEvent(QKeyEvent*) override { rows = ParadoxTable::open(path_).readAll().size(); }

private:
    QString path_;
};

TEST_F(ErrorHandling, ADamagedTableReadInAnEventHandlerIsReportedNotACrash) {
    auto* app = qobject_cast<TarvendixApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    ErrorHandler handler(clock, prompts);
    app->setErrorHandler(&handler);
    const struct Restore {
        TarvendixApplication* app;
        ~Restore() { app->setErrorHandler(nullptr); }
    } restore{app};
    const QString path = QDir(home.path()).filePath(QStringLiteral("PAIS.DB"));
    ParadoxTable::create(path,
                         {ParadoxField::alpha("Nome", 8), ParadoxField::of("Numero", ParadoxField::Long)})
        .append({{"um", 1}, {"dois", 2}});
    DamagedParadox::forgeHugeRecordCount(path);

    TableReader reader(path);
    reader.show();
    QTest::keyClick(&reader, Qt::Key_F5);

    EXPECT_EQ(reader.rows, -1);
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].kind, PromptKind::Error);
    const QString message = prompts.shown()[0].text;
    EXPECT_TRUE(
        message.startsWith(QStringLiteral("Tabela Paradox %1: o arquivo não é uma tabela Paradox válida: "
                                          "o cabeçalho indica 2147483632 registros")
                               .arg(QDir::toNativeSeparators(path))))
        << message.toStdString();
    EXPECT_TRUE(QString::fromUtf8(readAll(handler.log().path())).contains(message));

    // The window goes on taking events.
    bool later = false;
    QTimer::singleShot(0, app, [&] { later = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return later; }, 2000));
}

TEST_F(ErrorHandling, MessageOfEachKindOfError) {
    EXPECT_EQ(ErrorHandler::messageOf(std::make_exception_ptr(DbError(QStringLiteral("Key violation.")))),
              QStringLiteral("Key violation."));
    EXPECT_EQ(ErrorHandler::messageOf(std::make_exception_ptr(std::logic_error("ação"))),
              QStringLiteral("ação"));
    EXPECT_EQ(ErrorHandler::messageOf(std::make_exception_ptr(std::bad_alloc())),
              QStringLiteral("Memória insuficiente para concluir a operação."));
    EXPECT_EQ(ErrorHandler::messageOf(std::make_exception_ptr(3.5)), QStringLiteral("Erro desconhecido."));
    EXPECT_EQ(ErrorHandler::messageOf(nullptr), QStringLiteral("Erro desconhecido."));
}
