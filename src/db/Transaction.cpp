#include "Transaction.h"

#include "Database.h"
#include "DbError.h"

#include <QSqlError>
#include <sqlite3.h>

Transaction::Transaction(QSqlDatabase db) : db_(std::move(db)) {
    if (Database::inTransaction(db_))
        return;
    if (!db_.transaction())
        throw DbError(db_.lastError().text());
    owner_ = true;
}

Transaction::~Transaction() {
    if (!finished_)
        rollback();
}

void Transaction::commit() {
    if (finished_)
        return;
    finished_ = true;
    if (owner_ && !db_.commit()) {
        const QString text = db_.lastError().text();
        db_.rollback();
        throw DbError(text);
    }
}

void Transaction::rollback() {
    if (finished_)
        return;
    finished_ = true;
    if (owner_)
        db_.rollback();
}
