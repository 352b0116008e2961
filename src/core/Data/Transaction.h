#pragma once
// A transaction on a connection: begun by the constructor, rolled back by the destructor unless
// commit() ran, so an early return or an exception leaves nothing half written.

struct sqlite3;

namespace ql {

class Transaction {
public:
    // Begins an immediate transaction (the write lock is taken now, not at the first write).
    explicit Transaction(sqlite3* db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool isActive() const { return active_; }
    // False when there was no transaction or the commit failed; a failed commit is rolled back.
    bool commit();

private:
    sqlite3* db_;
    bool active_ = false;
};

}  // namespace ql
