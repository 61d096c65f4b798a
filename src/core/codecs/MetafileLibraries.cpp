// libwmf and libemf2svg, which turn WMF and EMF pictures into SVG, opened when a metafile
// is first drawn instead of linked.
#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>
#include <cstddef>

#include "core/platform/RuntimeLibrary.h"

PEMO_RUNTIME_LIBRARY(wmf, "libwmf-0.2.so.7")
PEMO_RUNTIME_LIBRARY(emf, "libemf2svg.so.1")

PEMO_RUNTIME_FUNCTION(wmf, wmf_E_DeviceError, wmf_error_t, wmf_api_create,
                      (wmfAPI * *a0, unsigned long a1, wmfAPI_Options* a2), (a0, a1, a2))
PEMO_RUNTIME_FUNCTION(wmf, wmf_E_DeviceError, wmf_error_t, wmf_api_destroy, (wmfAPI * a0), (a0))
PEMO_RUNTIME_FUNCTION(wmf, wmf_E_DeviceError, wmf_error_t, wmf_display_size,
                      (wmfAPI * a0, unsigned int* a1, unsigned int* a2, double a3, double a4),
                      (a0, a1, a2, a3, a4))
PEMO_RUNTIME_FUNCTION(wmf, wmf_E_DeviceError, wmf_error_t, wmf_mem_close, (wmfAPI * a0), (a0))
PEMO_RUNTIME_FUNCTION(wmf, wmf_E_DeviceError, wmf_error_t, wmf_mem_open,
                      (wmfAPI * a0, unsigned char* a1, long a2), (a0, a1, a2))
PEMO_RUNTIME_FUNCTION(wmf, wmf_E_DeviceError, wmf_error_t, wmf_play,
                      (wmfAPI * a0, unsigned long a1, wmfD_Rect* a2), (a0, a1, a2))
PEMO_RUNTIME_FUNCTION(wmf, wmf_E_DeviceError, wmf_error_t, wmf_scan,
                      (wmfAPI * a0, unsigned long a1, wmfD_Rect* a2), (a0, a1, a2))
PEMO_RUNTIME_FUNCTION(wmf, nullptr, wmfStream*, wmf_stream_create, (wmfAPI * a0, FILE* a1),
                      (a0, a1))
PEMO_RUNTIME_FUNCTION(wmf, void(), void, wmf_stream_destroy,
                      (wmfAPI * a0, wmfStream* a1, char** a2, unsigned long* a3), (a0, a1, a2, a3))
PEMO_RUNTIME_FUNCTION(wmf, void(), void, wmf_svg_function, (wmfAPI * a0), (a0))
PEMO_RUNTIME_FUNCTION(emf, 0, int, emf2svg,
                      (char* contents, size_t length, char** out, size_t* out_length,
                       generatorOptions* options),
                      (contents, length, out, out_length, options))
