# The Firebird client library (fbclient): embedded engine for a plain path,
# remote protocol for host:/path. The data layer loads the library at run time
# (ConnectionSettings::clientLibrary), so that a machine without it gets a clear
# message at connect time; the build only needs its headers.
find_path(FIREBIRD_INCLUDE_DIR ibase.h PATH_SUFFIXES firebird REQUIRED)
add_library(Firebird::fbclient INTERFACE IMPORTED)
set_target_properties(Firebird::fbclient PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${FIREBIRD_INCLUDE_DIR}"
    INTERFACE_LINK_LIBRARIES "${CMAKE_DL_LIBS}")
