#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>

// A fresh base directory for one test (TARVENDIX_HOME points at it) and, on demand, a fresh
// database "CapaCertific" created from the schema inside it. Closed and removed at the end.
class TestHome {
public:
    TestHome();
    ~TestHome();

    QString path() const; // with a trailing "/"
    QSqlDatabase openDatabase();

private:
    QTemporaryDir dir_;
    QByteArray previousHome_;
};

// Fails the test with the driver's text when the statement fails.
#define ASSERT_SQL(db, statement)                                                                            \
    do {                                                                                                     \
        QSqlQuery q_(db);                                                                                    \
        ASSERT_TRUE(q_.exec(statement)) << q_.lastError().text().toStdString() << " in: " << (statement);    \
    } while (0)
