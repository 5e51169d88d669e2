# The Firebird client library (fbclient): embedded engine for a plain path,
# remote protocol for host:/path.
find_path(FIREBIRD_INCLUDE_DIR ibase.h PATH_SUFFIXES firebird REQUIRED)
find_library(FIREBIRD_CLIENT_LIBRARY NAMES fbclient REQUIRED)
add_library(Firebird::fbclient UNKNOWN IMPORTED)
set_target_properties(Firebird::fbclient PROPERTIES
    IMPORTED_LOCATION "${FIREBIRD_CLIENT_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${FIREBIRD_INCLUDE_DIR}")
