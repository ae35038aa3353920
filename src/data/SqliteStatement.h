#pragma once
#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace cxb {

// One prepared SQLite statement, finalized when dropped. Binding indexes
// count from 1, columns from 0, as in SQLite itself.
class SqliteStatement {
public:
    SqliteStatement() = default;
    SqliteStatement(sqlite3* db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool valid() const { return stmt_ != nullptr; }
    SqliteStatement& bind(int index, std::int64_t value);
    SqliteStatement& bindBlob(int index, std::string_view bytes);
    // One step: true while a row is there to read. `done` tells a finished
    // statement from an error.
    bool step();
    bool done() const { return done_; }
    // Runs the statement to its end; true when it finished without error.
    bool run();
    // Ready for new bindings.
    void reset();

    std::int64_t integer(int column) const;
    std::string blob(int column) const;
    bool isNull(int column) const;

private:
    sqlite3_stmt* stmt_ = nullptr;
    bool done_ = false;
};

} // namespace cxb
