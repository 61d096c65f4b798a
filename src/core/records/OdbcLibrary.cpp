// unixODBC's driver manager, through which desktop database files are read, opened when
// a database is first opened instead of linked.
#include <sql.h>
#include <sqlext.h>

#include "core/platform/RuntimeLibrary.h"

PEMO_RUNTIME_LIBRARY(odbc, "libodbc.so.2")

PEMO_RUNTIME_FUNCTION(odbc, SQL_ERROR, SQLRETURN, SQLAllocHandle,
                      (SQLSMALLINT HandleType, SQLHANDLE InputHandle, SQLHANDLE* OutputHandle),
                      (HandleType, InputHandle, OutputHandle))
PEMO_RUNTIME_FUNCTION(odbc, SQL_ERROR, SQLRETURN, SQLColumns,
                      (SQLHSTMT StatementHandle, SQLCHAR* CatalogName, SQLSMALLINT NameLength1,
                       SQLCHAR* SchemaName, SQLSMALLINT NameLength2, SQLCHAR* TableName,
                       SQLSMALLINT NameLength3, SQLCHAR* ColumnName, SQLSMALLINT NameLength4),
                      (StatementHandle, CatalogName, NameLength1, SchemaName, NameLength2,
                       TableName, NameLength3, ColumnName, NameLength4))
PEMO_RUNTIME_FUNCTION(odbc, SQL_ERROR, SQLRETURN, SQLDisconnect, (SQLHDBC ConnectionHandle),
                      (ConnectionHandle))
PEMO_RUNTIME_FUNCTION(odbc, SQL_ERROR, SQLRETURN, SQLDriverConnect,
                      (SQLHDBC hdbc, SQLHWND hwnd, SQLCHAR* szConnStrIn, SQLSMALLINT cbConnStrIn,
                       SQLCHAR* szConnStrOut, SQLSMALLINT cbConnStrOutMax,
                       SQLSMALLINT* pcbConnStrOut, SQLUSMALLINT fDriverCompletion),
                      (hdbc, hwnd, szConnStrIn, cbConnStrIn, szConnStrOut, cbConnStrOutMax,
                       pcbConnStrOut, fDriverCompletion))
PEMO_RUNTIME_FUNCTION(odbc, SQL_ERROR, SQLRETURN, SQLDrivers,
                      (SQLHENV henv, SQLUSMALLINT fDirection, SQLCHAR* szDriverDesc,
                       SQLSMALLINT cbDriverDescMax, SQLSMALLINT* pcbDriverDesc,
                       SQLCHAR* szDriverAttributes, SQLSMALLINT cbDrvrAttrMax,
                       SQLSMALLINT* pcbDrvrAttr),
                      (henv, fDirection, szDriverDesc, cbDriverDescMax, pcbDriverDesc,
                       szDriverAttributes, cbDrvrAttrMax, pcbDrvrAttr))
PEMO_RUNTIME_FUNCTION(odbc, SQL_ERROR, SQLRETURN, SQLExecDirect,
                      (SQLHSTMT StatementHandle, SQLCHAR* StatementText, SQLINTEGER TextLength),
                      (StatementHandle, StatementText, TextLength))
PEMO_RUNTIME_FUNCTION(odbc, SQL_ERROR, SQLRETURN, SQLFetch, (SQLHSTMT StatementHandle),
                      (StatementHandle))
PEMO_RUNTIME_FUNCTION(odbc, SQL_ERROR, SQLRETURN, SQLFreeHandle,
                      (SQLSMALLINT HandleType, SQLHANDLE Handle), (HandleType, Handle))
PEMO_RUNTIME_FUNCTION(odbc, SQL_ERROR, SQLRETURN, SQLGetData,
                      (SQLHSTMT StatementHandle, SQLUSMALLINT ColumnNumber, SQLSMALLINT TargetType,
                       SQLPOINTER TargetValue, SQLLEN BufferLength, SQLLEN* StrLen_or_Ind),
                      (StatementHandle, ColumnNumber, TargetType, TargetValue, BufferLength,
                       StrLen_or_Ind))
PEMO_RUNTIME_FUNCTION(odbc, SQL_ERROR, SQLRETURN, SQLGetDiagRec,
                      (SQLSMALLINT HandleType, SQLHANDLE Handle, SQLSMALLINT RecNumber,
                       SQLCHAR* Sqlstate, SQLINTEGER* NativeError, SQLCHAR* MessageText,
                       SQLSMALLINT BufferLength, SQLSMALLINT* TextLength),
                      (HandleType, Handle, RecNumber, Sqlstate, NativeError, MessageText,
                       BufferLength, TextLength))
PEMO_RUNTIME_FUNCTION(odbc, SQL_ERROR, SQLRETURN, SQLSetConnectAttr,
                      (SQLHDBC ConnectionHandle, SQLINTEGER Attribute, SQLPOINTER Value,
                       SQLINTEGER StringLength),
                      (ConnectionHandle, Attribute, Value, StringLength))
PEMO_RUNTIME_FUNCTION(odbc, SQL_ERROR, SQLRETURN, SQLSetEnvAttr,
                      (SQLHENV EnvironmentHandle, SQLINTEGER Attribute, SQLPOINTER Value,
                       SQLINTEGER StringLength),
                      (EnvironmentHandle, Attribute, Value, StringLength))
PEMO_RUNTIME_FUNCTION(odbc, SQL_ERROR, SQLRETURN, SQLTables,
                      (SQLHSTMT StatementHandle, SQLCHAR* CatalogName, SQLSMALLINT NameLength1,
                       SQLCHAR* SchemaName, SQLSMALLINT NameLength2, SQLCHAR* TableName,
                       SQLSMALLINT NameLength3, SQLCHAR* TableType, SQLSMALLINT NameLength4),
                      (StatementHandle, CatalogName, NameLength1, SchemaName, NameLength2,
                       TableName, NameLength3, TableType, NameLength4))
