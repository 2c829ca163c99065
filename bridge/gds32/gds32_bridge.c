/*
 * gds32.dll for Wine: a Winelib DLL whose exports forward to the Linux
 * Firebird client library (libfbclient.so.2), so that the Windows program,
 * run under Wine, attaches databases through the machine's own client and
 * embedded engine.
 *
 * - Exported functions use the Windows calling convention (WINAPI); the
 *   library's functions are called through plain (System V) pointers.
 * - Database paths in Windows form ("C:\...", "Z:\...", or any path with a
 *   backslash and no host prefix, such as "dados\v.fdb" or a Unix folder
 *   joined to a name by a Windows program, "/srv/dados\v.fdb") are turned
 *   into Unix paths with wine_get_unix_file_name, relative ones against the
 *   current folder; anything else (a "host:path" or a Unix path) is passed
 *   on unchanged. The same holds for the file named in the SQL statement
 *   CREATE DATABASE '...'. The name's bytes are UTF-8 when the parameter
 *   block says so (isc_dpb_utf8_filename), else in the ANSI code page.
 * - When libfbclient.so.2 cannot be loaded, every call fails with a status
 *   vector whose text (through fb_interpret) says so, instead of crashing.
 */
#include <dlfcn.h>
#include <langinfo.h>
#include <locale.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <windows.h>

typedef intptr_t ISC_STATUS;
typedef unsigned int FB_HANDLE;

/* Error codes of the client library used for the bridge's own failures. */
#define ISC_ARG_END 0
#define ISC_ARG_GDS 1
#define ISC_ARG_STRING 2
#define ISC_RANDOM 335544382 /* "%s" */

static void* client;
static char load_error[512];
static int load_tried;

/* The Linux client converts a UTF-8 file name to the C library's character
 * type and refuses one it cannot convert ("Invalid connection string"), as
 * in the "C" locale; the Unix paths handed to it here are UTF-8. */
static void use_utf8_file_names(void) {
  const char* codeset = nl_langinfo(CODESET);
  if (codeset && strcmp(codeset, "UTF-8") == 0) return;
  setlocale(LC_CTYPE, "C.UTF-8");
}

static void* client_symbol(const char* name) {
  if (!load_tried) {
    load_tried = 1;
    /* GDS32_BRIDGE_CLIENT names another client library (tests use it). */
    const char* name = getenv("GDS32_BRIDGE_CLIENT");
    if (!name || !*name) name = "libfbclient.so.2";
    use_utf8_file_names();
    client = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (!client) {
      const char* why = dlerror();
      snprintf(load_error, sizeof load_error,
               "gds32.dll (Wine bridge): the Firebird client library %s "
               "could not be loaded: %s",
               name, why ? why : "unknown reason");
    }
  }
  if (!client) return NULL;
  void* sym = dlsym(client, name);
  if (!sym) {
    snprintf(load_error, sizeof load_error,
             "gds32.dll (Wine bridge): libfbclient.so.2 has no function %s", name);
  }
  return sym;
}

static ISC_STATUS fail(ISC_STATUS* status) {
  if (status) {
    status[0] = ISC_ARG_GDS;
    status[1] = ISC_RANDOM;
    status[2] = ISC_ARG_STRING;
    status[3] = (ISC_STATUS)load_error;
    status[4] = ISC_ARG_END;
  }
  return ISC_RANDOM;
}

/* Declares the forwarding pointer for NAME with the given prototype; the
 * caller then writes "if (!fn) return fail(status);". */
#define CLIENT_FN(ret, name, args) \
  typedef ret(*name##_fn) args;    \
  name##_fn fn = (name##_fn)client_symbol(#name)

/* A Windows path becomes a Unix path in a buffer owned by the caller's heap;
 * NULL when the name is not one. A Unix path joined to a name with a
 * backslash would otherwise reach the client as one file name with a
 * backslash in it, in the wrong folder. */
static char* unix_path(const char* name, short length, UINT code_page) {
  size_t len = length > 0 ? (size_t)length : strlen(name);
  const int drive = len >= 3 && name[1] == ':' && (name[2] == '\\' || name[2] == '/') &&
                    ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
  if (!drive && (memchr(name, '\\', len) == NULL || memchr(name, ':', len) != NULL)) return NULL;
  WCHAR wide[MAX_PATH * 4];
  int n = MultiByteToWideChar(code_page, 0, name, (int)len, wide, MAX_PATH * 4 - 1);
  if (n <= 0) return NULL;
  wide[n] = 0;
  return wine_get_unix_file_name(wide);
}

/* The code page of a file name in an attach or create call: UTF-8 when the
 * parameter block carries isc_dpb_utf8_filename (as a Windows client that
 * sends names outside ASCII does), the ANSI code page otherwise, as the
 * Windows client library takes it. The block is a version byte, then items
 * of a tag, a length byte and that many bytes. */
#define DPB_UTF8_FILENAME 77
static UINT file_name_code_page(const char* dpb, short length) {
  if (!dpb || length < 1) return CP_ACP;
  for (int i = 1; i + 1 < length;) {
    const unsigned char tag = (unsigned char)dpb[i];
    const unsigned char size = (unsigned char)dpb[i + 1];
    if (tag == DPB_UTF8_FILENAME) return CP_UTF8;
    i += 2 + size;
  }
  return CP_ACP;
}

ISC_STATUS WINAPI bridge_isc_attach_database(ISC_STATUS* status, short length, const char* name,
                                             FB_HANDLE* db, short dpb_length, const char* dpb) {
  CLIENT_FN(ISC_STATUS, isc_attach_database,
            (ISC_STATUS*, short, const char*, FB_HANDLE*, short, const char*));
  if (!fn) return fail(status);
  char* path = unix_path(name, length, file_name_code_page(dpb, dpb_length));
  ISC_STATUS rc = path ? fn(status, 0, path, db, dpb_length, dpb)
                       : fn(status, length, name, db, dpb_length, dpb);
  if (path) HeapFree(GetProcessHeap(), 0, path);
  return rc;
}

ISC_STATUS WINAPI bridge_isc_create_database(ISC_STATUS* status, short length, const char* name,
                                             FB_HANDLE* db, short dpb_length, const char* dpb,
                                             short type) {
  CLIENT_FN(ISC_STATUS, isc_create_database,
            (ISC_STATUS*, short, const char*, FB_HANDLE*, short, const char*, short));
  if (!fn) return fail(status);
  char* path = unix_path(name, length, file_name_code_page(dpb, dpb_length));
  ISC_STATUS rc = path ? fn(status, 0, path, db, dpb_length, dpb, type)
                       : fn(status, length, name, db, dpb_length, dpb, type);
  if (path) HeapFree(GetProcessHeap(), 0, path);
  return rc;
}

#define FORWARD_HANDLE1(name)                                         \
  ISC_STATUS WINAPI bridge_##name(ISC_STATUS* status, FB_HANDLE* h) { \
    CLIENT_FN(ISC_STATUS, name, (ISC_STATUS*, FB_HANDLE*));           \
    if (!fn) return fail(status);                                     \
    return fn(status, h);                                             \
  }

FORWARD_HANDLE1(isc_detach_database)
FORWARD_HANDLE1(isc_drop_database)
FORWARD_HANDLE1(isc_commit_transaction)
FORWARD_HANDLE1(isc_commit_retaining)
FORWARD_HANDLE1(isc_rollback_transaction)
FORWARD_HANDLE1(isc_rollback_retaining)

ISC_STATUS WINAPI bridge_isc_database_info(ISC_STATUS* status, FB_HANDLE* db, short items_length,
                                           const char* items, short buffer_length, char* buffer) {
  CLIENT_FN(ISC_STATUS, isc_database_info,
            (ISC_STATUS*, FB_HANDLE*, short, const char*, short, char*));
  if (!fn) return fail(status);
  return fn(status, db, items_length, items, buffer_length, buffer);
}

/* The transaction existence block of isc_start_multiple: the same layout on
 * both sides (a pointer, a 32-bit length padded to 8, a pointer). */
typedef struct {
  FB_HANDLE* db;
  intptr_t tpb_length;
  const char* tpb;
} TEB;

ISC_STATUS WINAPI bridge_isc_start_multiple(ISC_STATUS* status, FB_HANDLE* tr, short count,
                                            void* teb) {
  CLIENT_FN(ISC_STATUS, isc_start_multiple, (ISC_STATUS*, FB_HANDLE*, short, void*));
  if (!fn) return fail(status);
  return fn(status, tr, count, teb);
}

/* Variadic on Windows: (db handle pointer, tpb length, tpb) per database. */
ISC_STATUS WINAPIV bridge_isc_start_transaction(ISC_STATUS* status, FB_HANDLE* tr, short count,
                                                ...) {
  CLIENT_FN(ISC_STATUS, isc_start_multiple, (ISC_STATUS*, FB_HANDLE*, short, void*));
  if (!fn) return fail(status);
  if (count <= 0 || count > 16) {
    snprintf(load_error, sizeof load_error, "gds32.dll (Wine bridge): bad database count %d",
             count);
    return fail(status);
  }
  TEB teb[16];
  __ms_va_list args;
  __ms_va_start(args, count);
  for (int i = 0; i < count; ++i) {
    teb[i].db = va_arg(args, FB_HANDLE*);
    teb[i].tpb_length = va_arg(args, int);
    teb[i].tpb = va_arg(args, const char*);
  }
  __ms_va_end(args);
  return fn(status, tr, count, teb);
}

ISC_STATUS WINAPI bridge_isc_dsql_allocate_statement(ISC_STATUS* status, FB_HANDLE* db,
                                                     FB_HANDLE* stmt) {
  CLIENT_FN(ISC_STATUS, isc_dsql_allocate_statement, (ISC_STATUS*, FB_HANDLE*, FB_HANDLE*));
  if (!fn) return fail(status);
  return fn(status, db, stmt);
}

ISC_STATUS WINAPI bridge_isc_dsql_alloc_statement2(ISC_STATUS* status, FB_HANDLE* db,
                                                   FB_HANDLE* stmt) {
  CLIENT_FN(ISC_STATUS, isc_dsql_alloc_statement2, (ISC_STATUS*, FB_HANDLE*, FB_HANDLE*));
  if (!fn) return fail(status);
  return fn(status, db, stmt);
}

ISC_STATUS WINAPI bridge_isc_dsql_prepare(ISC_STATUS* status, FB_HANDLE* tr, FB_HANDLE* stmt,
                                          unsigned short length, const char* sql,
                                          unsigned short dialect, void* sqlda) {
  CLIENT_FN(
      ISC_STATUS, isc_dsql_prepare,
      (ISC_STATUS*, FB_HANDLE*, FB_HANDLE*, unsigned short, const char*, unsigned short, void*));
  if (!fn) return fail(status);
  return fn(status, tr, stmt, length, sql, dialect, sqlda);
}

#define FORWARD_DESCRIBE(name)                                                                 \
  ISC_STATUS WINAPI bridge_##name(ISC_STATUS* status, FB_HANDLE* stmt, unsigned short version, \
                                  void* sqlda) {                                               \
    CLIENT_FN(ISC_STATUS, name, (ISC_STATUS*, FB_HANDLE*, unsigned short, void*));             \
    if (!fn) return fail(status);                                                              \
    return fn(status, stmt, version, sqlda);                                                   \
  }

FORWARD_DESCRIBE(isc_dsql_describe)
FORWARD_DESCRIBE(isc_dsql_describe_bind)
FORWARD_DESCRIBE(isc_dsql_fetch)

ISC_STATUS WINAPI bridge_isc_dsql_execute(ISC_STATUS* status, FB_HANDLE* tr, FB_HANDLE* stmt,
                                          unsigned short version, const void* sqlda) {
  CLIENT_FN(ISC_STATUS, isc_dsql_execute,
            (ISC_STATUS*, FB_HANDLE*, FB_HANDLE*, unsigned short, const void*));
  if (!fn) return fail(status);
  return fn(status, tr, stmt, version, sqlda);
}

ISC_STATUS WINAPI bridge_isc_dsql_execute2(ISC_STATUS* status, FB_HANDLE* tr, FB_HANDLE* stmt,
                                           unsigned short version, const void* in_sqlda,
                                           const void* out_sqlda) {
  CLIENT_FN(ISC_STATUS, isc_dsql_execute2,
            (ISC_STATUS*, FB_HANDLE*, FB_HANDLE*, unsigned short, const void*, const void*));
  if (!fn) return fail(status);
  return fn(status, tr, stmt, version, in_sqlda, out_sqlda);
}

/* True when the text at p starts with `word` (upper case), in any case. */
static int keyword_at(const char* p, const char* end, const char* word) {
  size_t n = strlen(word);
  if ((size_t)(end - p) < n) return 0;
  for (size_t i = 0; i < n; ++i) {
    char c = p[i];
    if (c >= 'a' && c <= 'z') c = (char)(c - 32);
    if (c != word[i]) return 0;
  }
  return 1;
}

static const char* skip_space(const char* p, const char* end) {
  while (p < end && (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n'))
    ++p;
  return p;
}

/* "CREATE DATABASE '<path>' ..." (or SCHEMA) with a Windows path in the
 * quoted literal: the same statement with the Unix path, in a buffer owned
 * by the caller's heap; NULL for any other statement. */
static char* create_database_sql(const char* sql, unsigned short length) {
  const char* end = sql + (length > 0 ? length : strlen(sql));
  const char* p = skip_space(sql, end);
  if (!keyword_at(p, end, "CREATE")) return NULL;
  const char* q = skip_space(p + 6, end);
  if (q == p + 6) return NULL;
  if (keyword_at(q, end, "DATABASE")) {
    q += 8;
  } else if (keyword_at(q, end, "SCHEMA")) {
    q += 6;
  } else {
    return NULL;
  }
  q = skip_space(q, end);
  if (q >= end || *q != '\'') return NULL;
  /* The literal, with doubled quotes made single. */
  char name[MAX_PATH * 4];
  size_t n = 0;
  const char* r = q + 1;
  for (;; ++r) {
    if (r >= end || n + 1 >= sizeof name) return NULL;
    if (*r == '\'') {
      if (r + 1 < end && r[1] == '\'') {
        ++r;
      } else {
        break;
      }
    }
    name[n++] = *r;
  }
  name[n] = 0;
  /* The statement text carries no flag: a name that is well-formed UTF-8 is
   * taken as such (the program's texts are UTF-8), any other in the ANSI
   * code page. */
  const UINT code_page =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, (int)n, NULL, 0) > 0 ? CP_UTF8
                                                                                    : CP_ACP;
  char* path = unix_path(name, 0, code_page);
  if (!path) return NULL;
  size_t quotes = 0;
  for (const char* c = path; *c; ++c)
    quotes += *c == '\'';
  size_t size = (size_t)(q - sql) + strlen(path) + quotes + 2 + (size_t)(end - (r + 1)) + 1;
  char* out = HeapAlloc(GetProcessHeap(), 0, size);
  if (out) {
    char* w = out;
    memcpy(w, sql, (size_t)(q - sql));
    w += q - sql;
    *w++ = '\'';
    for (const char* c = path; *c; ++c) {
      *w++ = *c;
      if (*c == '\'') *w++ = '\'';
    }
    *w++ = '\'';
    memcpy(w, r + 1, (size_t)(end - (r + 1)));
    w += end - (r + 1);
    *w = 0;
  }
  HeapFree(GetProcessHeap(), 0, path);
  return out;
}

ISC_STATUS WINAPI bridge_isc_dsql_execute_immediate(ISC_STATUS* status, FB_HANDLE* db,
                                                    FB_HANDLE* tr, unsigned short length,
                                                    const char* sql, unsigned short dialect,
                                                    const void* sqlda) {
  CLIENT_FN(ISC_STATUS, isc_dsql_execute_immediate,
            (ISC_STATUS*, FB_HANDLE*, FB_HANDLE*, unsigned short, const char*, unsigned short,
             const void*));
  if (!fn) return fail(status);
  char* converted = create_database_sql(sql, length);
  ISC_STATUS rc = converted ? fn(status, db, tr, 0, converted, dialect, sqlda)
                            : fn(status, db, tr, length, sql, dialect, sqlda);
  if (converted) HeapFree(GetProcessHeap(), 0, converted);
  return rc;
}

ISC_STATUS WINAPI bridge_isc_dsql_free_statement(ISC_STATUS* status, FB_HANDLE* stmt,
                                                 unsigned short option) {
  CLIENT_FN(ISC_STATUS, isc_dsql_free_statement, (ISC_STATUS*, FB_HANDLE*, unsigned short));
  if (!fn) return fail(status);
  return fn(status, stmt, option);
}

ISC_STATUS WINAPI bridge_isc_dsql_sql_info(ISC_STATUS* status, FB_HANDLE* stmt, short items_length,
                                           const char* items, short buffer_length, char* buffer) {
  CLIENT_FN(ISC_STATUS, isc_dsql_sql_info,
            (ISC_STATUS*, FB_HANDLE*, short, const char*, short, char*));
  if (!fn) return fail(status);
  return fn(status, stmt, items_length, items, buffer_length, buffer);
}

/* The bridge's own failure vector is read here when the library is absent. */
static int is_bridge_failure(const ISC_STATUS* v) {
  return v && v[0] == ISC_ARG_GDS && v[1] == ISC_RANDOM && v[2] == ISC_ARG_STRING &&
         v[3] == (ISC_STATUS)load_error;
}

int WINAPI bridge_isc_sqlcode(const ISC_STATUS* status) {
  CLIENT_FN(int, isc_sqlcode, (const ISC_STATUS*));
  if (!fn || is_bridge_failure(status)) return -904; /* unavailable database */
  return fn(status);
}

void WINAPI bridge_isc_sql_interprete(short sqlcode, char* buffer, short length) {
  CLIENT_FN(void, isc_sql_interprete, (short, char*, short));
  if (!fn) {
    if (buffer && length > 0) snprintf(buffer, (size_t)length, "%s", load_error);
    return;
  }
  fn(sqlcode, buffer, length);
}

int WINAPI bridge_fb_interpret(char* buffer, unsigned int length, const ISC_STATUS** vector) {
  if (vector && is_bridge_failure(*vector)) {
    if (!buffer || length == 0) return 0;
    int n = snprintf(buffer, length, "%s", load_error);
    *vector += 4; /* the bridge's vector holds one message */
    return n < 0 ? 0 : (n >= (int)length ? (int)length - 1 : n);
  }
  CLIENT_FN(int, fb_interpret, (char*, unsigned int, const ISC_STATUS**));
  if (!fn) return 0;
  return fn(buffer, length, vector);
}

int WINAPI bridge_isc_interprete(char* buffer, const ISC_STATUS** vector) {
  return bridge_fb_interpret(buffer, 512, vector);
}

int WINAPI bridge_isc_vax_integer(const char* p, short length) {
  /* Little-endian integer of 1 to 4 bytes; no need for the library. */
  int value = 0;
  if (!p || length <= 0 || length > 4) return 0;
  for (int i = 0; i < length; ++i)
    value |= (int)((unsigned char)p[i]) << (8 * i);
  if (length < 4 && (p[length - 1] & 0x80)) value |= (int)(~0u << (8 * length));
  return value;
}

long long WINAPI bridge_isc_portable_integer(const unsigned char* p, short length) {
  long long value = 0;
  if (!p || length <= 0 || length > 8) return 0;
  for (int i = 0; i < length; ++i)
    value |= (long long)p[i] << (8 * i);
  if (length < 8 && (p[length - 1] & 0x80)) value |= (long long)(~0ull << (8 * length));
  return value;
}
