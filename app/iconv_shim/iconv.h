/* A small iconv for the MinGW builds of FreeXL: conversions between the
 * Windows code pages (and UTF-16LE) that .xls files use, done with the
 * system's MultiByteToWideChar/WideCharToMultiByte. Each call converts its
 * whole input, as FreeXL calls it. Also app_utf8_fopen (iconv.c), which
 * FreeXL is built to call in place of fopen. Built into libiconv.a by
 * scripts/mingw-deps.sh; not part of the native build. */
#ifndef APP_ICONV_SHIM_H
#define APP_ICONV_SHIM_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void* iconv_t;

iconv_t iconv_open(const char* tocode, const char* fromcode);
size_t iconv(iconv_t cd, char** inbuf, size_t* inbytesleft, char** outbuf, size_t* outbytesleft);
int iconv_close(iconv_t cd);

#ifdef __cplusplus
}
#endif

#endif
