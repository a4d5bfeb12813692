#pragma once

#include <QSqlDatabase>

// One multi-row write: begins a transaction unless one is already open (then it joins it and
// leaves commit and rollback to its owner), and rolls back on destruction unless committed, so
// an exception anywhere leaves no trace.
class Transaction {
public:
    explicit Transaction(QSqlDatabase db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    void rollback();
    bool ownsTransaction() const { return owner_; }

private:
    QSqlDatabase db_;
    bool owner_ = false;
    bool finished_ = false;
};
