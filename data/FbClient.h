#pragma once

#include "data/DbError.h"

#include <QString>
#include <ibase.h>

/// The entry points of the Firebird client library that the data layer uses,
/// loaded at run time, so that a missing library is a clear error at connect
/// time and not a program that cannot start.
struct FbClient
{
    decltype(&::isc_attach_database) attachDatabase;
    decltype(&::isc_create_database) createDatabase;
    decltype(&::isc_detach_database) detachDatabase;
    decltype(&::isc_drop_database) dropDatabase;
    decltype(&::isc_start_multiple) startMultiple;
    decltype(&::isc_commit_transaction) commitTransaction;
    decltype(&::isc_rollback_transaction) rollbackTransaction;
    decltype(&::isc_dsql_allocate_statement) allocateStatement;
    decltype(&::isc_dsql_prepare) prepare;
    decltype(&::isc_dsql_describe) describe;
    decltype(&::isc_dsql_describe_bind) describeBind;
    decltype(&::isc_dsql_execute) execute;
    decltype(&::isc_dsql_execute2) execute2;
    decltype(&::isc_dsql_execute_immediate) executeImmediate;
    decltype(&::isc_dsql_fetch) fetch;
    decltype(&::isc_dsql_free_statement) freeStatement;
    decltype(&::isc_dsql_sql_info) sqlInfo;
    decltype(&::isc_open_blob2) openBlob;
    decltype(&::isc_get_segment) getSegment;
    decltype(&::isc_close_blob) closeBlob;
    decltype(&::isc_sqlcode) sqlcode;
    decltype(&::fb_interpret) interpret;
    decltype(&::isc_vax_integer) vaxInteger;
    decltype(&::fb_cancel_operation) cancelOperation;
    decltype(&::fb_ping) ping;

    /// The library of that name, loaded once per process. Throws DbError when
    /// it cannot be loaded or lacks an entry point.
    static const FbClient &load(const QString &library);

    /// The error that a failed call left in status, with the library's text.
    DbError error(const ISC_STATUS *status, const QString &context = QString()) const;
    /// Throws error(status) when the call failed.
    void check(const ISC_STATUS *status, const QString &context = QString()) const
    {
        if (status[0] == 1 && status[1] != 0)
            throw error(status, context);
    }
};

/// ISC_STATUS vector of the size the API asks for.
struct FbStatus
{
    ISC_STATUS_ARRAY vector {};
    operator ISC_STATUS *() { return vector; }
    bool failed() const { return vector[0] == 1 && vector[1] != 0; }
};
