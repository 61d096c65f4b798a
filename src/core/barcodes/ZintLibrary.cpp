// libzint, which encodes barcodes and QR codes, opened when a code is first encoded
// instead of linked.
#include <zint.h>

#include "core/platform/RuntimeLibrary.h"

PEMO_RUNTIME_LIBRARY(zint, "libzint.so.2.11")

PEMO_RUNTIME_FUNCTION(zint, nullptr, struct zint_symbol*, ZBarcode_Create, (void), ())
PEMO_RUNTIME_FUNCTION(zint, void(), void, ZBarcode_Delete, (struct zint_symbol * symbol), (symbol))
PEMO_RUNTIME_FUNCTION(zint, ZINT_ERROR_MEMORY, int, ZBarcode_Encode_and_Buffer_Vector,
                      (struct zint_symbol * symbol, const unsigned char* source, int length,
                       int rotate_angle),
                      (symbol, source, length, rotate_angle))
