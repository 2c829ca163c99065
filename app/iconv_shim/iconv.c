/* See iconv.h. A descriptor holds the source and target code pages; the
 * value 1200 stands for UTF-16LE, which needs no first step. */
#include "iconv.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "localcharset.h"

#define CODEPAGE_UTF16LE 1200u

typedef struct {
  unsigned from;
  unsigned to;
} converter;

static int ieq(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    char x = *a, y = *b;
    if (x >= 'a' && x <= 'z') x = (char)(x - 32);
    if (y >= 'a' && y <= 'z') y = (char)(y - 32);
    if (x != y) return 0;
  }
  return *a == *b;
}

/* Code page of an iconv name, 0 when unknown. */
static unsigned code_page(const char* name) {
  if (ieq(name, "UTF-8") || ieq(name, "UTF8")) return CP_UTF8;
  if (ieq(name, "UTF-16LE") || ieq(name, "UCS-2LE")) return CODEPAGE_UTF16LE;
  if (ieq(name, "ASCII") || ieq(name, "US-ASCII")) return 20127;
  if (ieq(name, "MACROMAN") || ieq(name, "MACINTOSH")) return 10000;
  if ((name[0] == 'C' || name[0] == 'c') && (name[1] == 'P' || name[1] == 'p')) {
    char* end = NULL;
    unsigned long cp = strtoul(name + 2, &end, 10);
    if (end != name + 2 && *end == '\0' && cp > 0 && cp < 65536) {
      return IsValidCodePage((UINT)cp) ? (unsigned)cp : 0;
    }
  }
  return 0;
}

iconv_t iconv_open(const char* tocode, const char* fromcode) {
  unsigned to = code_page(tocode), from = code_page(fromcode);
  converter* c;
  if (to == 0 || from == 0) {
    errno = EINVAL;
    return (iconv_t)-1;
  }
  c = (converter*)malloc(sizeof *c);
  if (c == NULL) {
    errno = ENOMEM;
    return (iconv_t)-1;
  }
  c->from = from;
  c->to = to;
  return c;
}

int iconv_close(iconv_t cd) {
  free(cd);
  return 0;
}

size_t iconv(iconv_t cd, char** inbuf, size_t* inbytesleft, char** outbuf, size_t* outbytesleft) {
  const converter* c = (const converter*)cd;
  WCHAR* wide = NULL;
  int wide_len, out_len;
  if (inbuf == NULL || *inbuf == NULL || *inbytesleft == 0) return 0; /* no shift state */
  if (*inbytesleft > 0x7FFFFFFF) {
    errno = E2BIG;
    return (size_t)-1;
  }
  if (c->from == CODEPAGE_UTF16LE) {
    if (*inbytesleft % 2 != 0) {
      errno = EINVAL;
      return (size_t)-1;
    }
    wide_len = (int)(*inbytesleft / 2);
    wide = (WCHAR*)malloc((size_t)wide_len * sizeof(WCHAR) + 1);
    if (wide == NULL) {
      errno = ENOMEM;
      return (size_t)-1;
    }
    memcpy(wide, *inbuf, (size_t)wide_len * 2);
  } else {
    wide_len =
        MultiByteToWideChar(c->from, MB_ERR_INVALID_CHARS, *inbuf, (int)*inbytesleft, NULL, 0);
    if (wide_len <= 0) {
      errno = EILSEQ;
      return (size_t)-1;
    }
    wide = (WCHAR*)malloc((size_t)wide_len * sizeof(WCHAR));
    if (wide == NULL) {
      errno = ENOMEM;
      return (size_t)-1;
    }
    MultiByteToWideChar(c->from, 0, *inbuf, (int)*inbytesleft, wide, wide_len);
  }
  if (c->to == CODEPAGE_UTF16LE) {
    if ((size_t)wide_len * 2 > *outbytesleft) {
      free(wide);
      errno = E2BIG;
      return (size_t)-1;
    }
    memcpy(*outbuf, wide, (size_t)wide_len * 2);
    out_len = wide_len * 2;
  } else {
    out_len = WideCharToMultiByte(c->to, 0, wide, wide_len, NULL, 0, NULL, NULL);
    if (out_len <= 0) {
      free(wide);
      errno = EILSEQ;
      return (size_t)-1;
    }
    if ((size_t)out_len > *outbytesleft) {
      free(wide);
      errno = E2BIG;
      return (size_t)-1;
    }
    WideCharToMultiByte(c->to, 0, wide, wide_len, *outbuf, out_len, NULL, NULL);
  }
  free(wide);
  *inbuf += *inbytesleft;
  *inbytesleft = 0;
  *outbuf += out_len;
  *outbytesleft -= (size_t)out_len;
  return 0;
}

/* FreeXL opens its file with fopen, which takes the ANSI code page on
 * Windows; it is built with fopen renamed to this function, so that the
 * UTF-8 paths the program passes reach _wfopen intact. */
FILE* app_utf8_fopen(const char* path, const char* mode) {
  WCHAR wpath[4096], wmode[16];
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wpath, 4096) <= 0 ||
      MultiByteToWideChar(CP_UTF8, 0, mode, -1, wmode, 16) <= 0) {
    return fopen(path, mode);
  }
  return _wfopen(wpath, wmode);
}

const char* locale_charset(void) {
  static char name[16];
  snprintf(name, sizeof name, "CP%u", GetACP());
  return name;
}
