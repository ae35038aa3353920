#include "data/SqliteStatement.h"

#include <sqlite3.h>
#include <utility>

namespace cxb {

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) {
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(stmt_); }

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : stmt_(std::exchange(other.stmt_, nullptr)), done_(other.done_) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        stmt_ = std::exchange(other.stmt_, nullptr);
        done_ = other.done_;
    }
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, std::int64_t value) {
    if (stmt_) sqlite3_bind_int64(stmt_, index, value);
    return *this;
}

SqliteStatement& SqliteStatement::bindBlob(int index, std::string_view bytes) {
    // SQLite refuses a null pointer for an empty blob's bytes only in that
    // it stores NULL; an empty string literal keeps it an empty blob.
    if (stmt_)
        sqlite3_bind_blob(stmt_, index, bytes.empty() ? "" : bytes.data(), static_cast<int>(bytes.size()),
                          SQLITE_TRANSIENT);
    return *this;
}

bool SqliteStatement::step() {
    done_ = false;
    if (!stmt_) return false;
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    done_ = rc == SQLITE_DONE;
    return false;
}

bool SqliteStatement::run() {
    while (step()) {
    }
    const bool ok = done_;
    reset();
    return ok;
}

void SqliteStatement::reset() {
    if (!stmt_) return;
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

std::int64_t SqliteStatement::integer(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string SqliteStatement::blob(int column) const {
    const void* p = sqlite3_column_blob(stmt_, column);
    const int n = sqlite3_column_bytes(stmt_, column);
    if (!p || n <= 0) return {};
    return std::string(static_cast<const char*>(p), static_cast<std::size_t>(n));
}

bool SqliteStatement::isNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

} // namespace cxb
