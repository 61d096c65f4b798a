// SQLite, which runs import conditions and saved queries, opened when a condition first
// runs instead of linked.
#include <sqlite3.h>

#include "core/platform/RuntimeLibrary.h"

PEMO_RUNTIME_LIBRARY(sqlite, "libsqlite3.so.0")

PEMO_RUNTIME_FUNCTION(sqlite, SQLITE_ERROR, int, sqlite3_bind_double,
                      (sqlite3_stmt * a0, int a1, double a2), (a0, a1, a2))
PEMO_RUNTIME_FUNCTION(sqlite, SQLITE_ERROR, int, sqlite3_bind_int64,
                      (sqlite3_stmt * a0, int a1, sqlite3_int64 a2), (a0, a1, a2))
PEMO_RUNTIME_FUNCTION(sqlite, SQLITE_ERROR, int, sqlite3_bind_null, (sqlite3_stmt * a0, int a1),
                      (a0, a1))
PEMO_RUNTIME_FUNCTION(sqlite, SQLITE_ERROR, int, sqlite3_bind_text,
                      (sqlite3_stmt * a0, int a1, const char* a2, int a3, void (*a4)(void*)),
                      (a0, a1, a2, a3, a4))
PEMO_RUNTIME_FUNCTION(sqlite, SQLITE_ERROR, int, sqlite3_close, (sqlite3 * a0), (a0))
PEMO_RUNTIME_FUNCTION(sqlite, 0, int, sqlite3_column_bytes, (sqlite3_stmt * a0, int iCol),
                      (a0, iCol))
PEMO_RUNTIME_FUNCTION(sqlite, 0, int, sqlite3_column_count, (sqlite3_stmt * pStmt), (pStmt))
PEMO_RUNTIME_FUNCTION(sqlite, 0, double, sqlite3_column_double, (sqlite3_stmt * a0, int iCol),
                      (a0, iCol))
PEMO_RUNTIME_FUNCTION(sqlite, 0, sqlite3_int64, sqlite3_column_int64, (sqlite3_stmt * a0, int iCol),
                      (a0, iCol))
PEMO_RUNTIME_FUNCTION(sqlite, nullptr, const unsigned char*, sqlite3_column_text,
                      (sqlite3_stmt * a0, int iCol), (a0, iCol))
PEMO_RUNTIME_FUNCTION(sqlite, 0, int, sqlite3_column_type, (sqlite3_stmt * a0, int iCol),
                      (a0, iCol))
PEMO_RUNTIME_FUNCTION(sqlite, "SQLite is not available.", const char*, sqlite3_errmsg,
                      (sqlite3 * a0), (a0))
PEMO_RUNTIME_FUNCTION(sqlite, SQLITE_ERROR, int, sqlite3_exec,
                      (sqlite3 * a0, const char* sql, int (*callback)(void*, int, char**, char**),
                       void* a3, char** errmsg),
                      (a0, sql, callback, a3, errmsg))
PEMO_RUNTIME_FUNCTION(sqlite, SQLITE_ERROR, int, sqlite3_finalize, (sqlite3_stmt * pStmt), (pStmt))
PEMO_RUNTIME_FUNCTION(sqlite, 0, sqlite3_int64, sqlite3_hard_heap_limit64, (sqlite3_int64 N), (N))
PEMO_RUNTIME_FUNCTION(sqlite, 0, sqlite3_int64, sqlite3_memory_used, (void), ())
PEMO_RUNTIME_FUNCTION(sqlite, SQLITE_ERROR, int, sqlite3_open_v2,
                      (const char* filename, sqlite3** ppDb, int flags, const char* zVfs),
                      (filename, ppDb, flags, zVfs))
PEMO_RUNTIME_FUNCTION(sqlite, SQLITE_ERROR, int, sqlite3_prepare_v2,
                      (sqlite3 * db, const char* zSql, int nByte, sqlite3_stmt** ppStmt,
                       const char** pzTail),
                      (db, zSql, nByte, ppStmt, pzTail))
PEMO_RUNTIME_FUNCTION(sqlite, void(), void, sqlite3_progress_handler,
                      (sqlite3 * a0, int a1, int (*a2)(void*), void* a3), (a0, a1, a2, a3))
PEMO_RUNTIME_FUNCTION(sqlite, SQLITE_ERROR, int, sqlite3_reset, (sqlite3_stmt * pStmt), (pStmt))
PEMO_RUNTIME_FUNCTION(sqlite, SQLITE_ERROR, int, sqlite3_set_authorizer,
                      (sqlite3 * a0,
                       int (*xAuth)(void*, int, const char*, const char*, const char*, const char*),
                       void* pUserData),
                      (a0, xAuth, pUserData))
PEMO_RUNTIME_FUNCTION(sqlite, SQLITE_ERROR, int, sqlite3_step, (sqlite3_stmt * a0), (a0))
PEMO_RUNTIME_FUNCTION(sqlite, 0, int, sqlite3_stmt_readonly, (sqlite3_stmt * pStmt), (pStmt))
