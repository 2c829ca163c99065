/* locale_charset() of the MinGW iconv layer: "CP" and the ANSI code page. */
#ifndef APP_LOCALCHARSET_SHIM_H
#define APP_LOCALCHARSET_SHIM_H

#ifdef __cplusplus
extern "C" {
#endif

const char* locale_charset(void);

#ifdef __cplusplus
}
#endif

#endif
