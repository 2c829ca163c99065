// The Firebird client's C API as the published header (ibase.h) declares it:
// its types, and one pointer per entry point the client uses, each of the
// type of the header's own declaration, so that the calling convention
// (stdcall on Windows) and the argument types cannot drift from it. Private
// to app/database: included by the client and by its error translation.
#pragma once

#include <ibase.h>

#include <cstddef>
#include <cstdint>

namespace app {

namespace fb {
using Handle = FB_API_HANDLE;  // 32-bit integer on 64-bit platforms, a pointer on 32-bit ones
using Status = ISC_STATUS;
using XSQLVAR = ::XSQLVAR;
using XSQLDA = ::XSQLDA;
constexpr int kStatusLength = ISC_STATUS_LENGTH;

// Bytes of an XSQLDA with room for `n` variables; at most 32,767 of them,
// so the product stays far from wrapping even in 32 bits.
constexpr size_t XsqldaLength(int16_t n) {
  return sizeof(XSQLDA) + static_cast<size_t>(n > 0 ? n - 1 : 0) * sizeof(XSQLVAR);
}

// One database of isc_start_multiple (the header declares the argument as
// void*; the client library reads this layout).
struct TransactionBlock {
  Handle* database;
  ISC_LONG tpb_length;
  const ISC_SCHAR* tpb;
};
}  // namespace fb

// The 32-bit Windows client is what many sites have installed; this build
// cannot be run here, so what it hands to that client is checked when it is
// compiled: sizes and offsets of the 32-bit layout of the published header.
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(void*) == 4);
static_assert(sizeof(fb::Handle) == 4 && sizeof(fb::Status) == 4);
static_assert(sizeof(ISC_STATUS_ARRAY) == 80);
static_assert(sizeof(ISC_LONG) == 4 && sizeof(ISC_SHORT) == 2);
static_assert(offsetof(XSQLVAR, sqltype) == 0 && offsetof(XSQLVAR, sqlscale) == 2);
static_assert(offsetof(XSQLVAR, sqlsubtype) == 4 && offsetof(XSQLVAR, sqllen) == 6);
static_assert(offsetof(XSQLVAR, sqldata) == 8 && offsetof(XSQLVAR, sqlind) == 12);
static_assert(offsetof(XSQLVAR, sqlname_length) == 16 && offsetof(XSQLVAR, sqlname) == 18);
static_assert(offsetof(XSQLVAR, relname_length) == 50 && offsetof(XSQLVAR, relname) == 52);
static_assert(offsetof(XSQLVAR, ownname_length) == 84 && offsetof(XSQLVAR, ownname) == 86);
static_assert(offsetof(XSQLVAR, aliasname_length) == 118 && offsetof(XSQLVAR, aliasname) == 120);
static_assert(sizeof(XSQLVAR) == 152);
static_assert(offsetof(XSQLDA, version) == 0 && offsetof(XSQLDA, sqldaid) == 2);
static_assert(offsetof(XSQLDA, sqldabc) == 12 && offsetof(XSQLDA, sqln) == 16);
static_assert(offsetof(XSQLDA, sqld) == 18 && offsetof(XSQLDA, sqlvar) == 20);
static_assert(sizeof(XSQLDA) == 172);
static_assert(sizeof(fb::TransactionBlock) == 12 && offsetof(fb::TransactionBlock, tpb) == 8);
// The largest XSQLDA the client builds (32,767 variables) fits in 32 bits.
static_assert(fb::XsqldaLength(INT16_MAX) < (size_t{1} << 23));
#endif

// isc_interprete is the only way to the error text in old client libraries;
// the header marks it deprecated.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
using OldInterpreteFn = decltype(&isc_interprete);
#pragma GCC diagnostic pop

struct TFbApi {
  decltype(&isc_attach_database) attach_database;
  decltype(&isc_detach_database) detach_database;
  decltype(&isc_start_multiple) start_multiple;
  decltype(&isc_commit_transaction) commit_transaction;
  decltype(&isc_rollback_transaction) rollback_transaction;
  decltype(&isc_dsql_allocate_statement) dsql_allocate_statement;
  decltype(&isc_dsql_prepare) dsql_prepare;
  decltype(&isc_dsql_describe_bind) dsql_describe_bind;
  decltype(&isc_dsql_execute) dsql_execute;
  decltype(&isc_dsql_execute2) dsql_execute2;
  decltype(&isc_dsql_free_statement) dsql_free_statement;
  decltype(&isc_dsql_execute_immediate) dsql_execute_immediate;
  decltype(&isc_dsql_describe) dsql_describe;
  decltype(&isc_dsql_fetch) dsql_fetch;
  decltype(&isc_dsql_sql_info) dsql_sql_info;
  decltype(&isc_sqlcode) sqlcode;
  decltype(&fb_interpret) interpret;
  decltype(&fb_shutdown) shutdown;  // optional: old clients lack it
  OldInterpreteFn old_interprete;
};

}  // namespace app
