// libfreexl, which reads old workbooks (.xls), opened when one is first read instead of
// linked.
#include <freexl.h>

#include "core/platform/RuntimeLibrary.h"

PEMO_RUNTIME_LIBRARY(freexl, "libfreexl.so.1")

PEMO_RUNTIME_FUNCTION(freexl, FREEXL_FILE_NOT_FOUND, int, freexl_close, (const void* xls_handle),
                      (xls_handle))
PEMO_RUNTIME_FUNCTION(freexl, FREEXL_FILE_NOT_FOUND, int, freexl_get_cell_value,
                      (const void* xls_handle, unsigned int row, unsigned short column,
                       FreeXL_CellValue* value),
                      (xls_handle, row, column, value))
PEMO_RUNTIME_FUNCTION(freexl, FREEXL_FILE_NOT_FOUND, int, freexl_get_info,
                      (const void* xls_handle, unsigned short what, unsigned int* info),
                      (xls_handle, what, info))
PEMO_RUNTIME_FUNCTION(freexl, FREEXL_FILE_NOT_FOUND, int, freexl_get_worksheet_name,
                      (const void* xls_handle, unsigned short sheet_index, const char** string),
                      (xls_handle, sheet_index, string))
PEMO_RUNTIME_FUNCTION(freexl, FREEXL_FILE_NOT_FOUND, int, freexl_open,
                      (const char* path, const void** xls_handle), (path, xls_handle))
PEMO_RUNTIME_FUNCTION(freexl, FREEXL_FILE_NOT_FOUND, int, freexl_select_active_worksheet,
                      (const void* xls_handle, unsigned short sheet_index),
                      (xls_handle, sheet_index))
PEMO_RUNTIME_FUNCTION(freexl, FREEXL_FILE_NOT_FOUND, int, freexl_worksheet_dimensions,
                      (const void* xls_handle, unsigned int* rows, unsigned short* columns),
                      (xls_handle, rows, columns))
