#pragma once
// Opening a journal in a test, and reading one value of its file with SQLite
// itself, past the journal's own code.
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <string>

#include "data/AnswerJournal.h"

namespace cxb::test {

inline AnswerJournal openJournal(const std::string& path) {
    auto j = AnswerJournal::open(path);
    if (!j) ADD_FAILURE() << j.error();
    return std::move(*j);
}

// The first column of the first row `sql` gives, or "" when there is none.
inline std::string sqliteValue(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* q = nullptr;
    std::string out;
    if (sqlite3_prepare_v2(db, sql, -1, &q, nullptr) == SQLITE_OK && sqlite3_step(q) == SQLITE_ROW) {
        const unsigned char* text = sqlite3_column_text(q, 0);
        if (text) out = reinterpret_cast<const char*>(text);
    }
    sqlite3_finalize(q);
    sqlite3_close(db);
    return out;
}

} // namespace cxb::test
