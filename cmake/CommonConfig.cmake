# One interface target that every target of the project links: language level,
# warnings and Qt's strictness macros.
add_library(CommonConfig INTERFACE)
target_compile_features(CommonConfig INTERFACE cxx_std_20)
target_compile_options(CommonConfig INTERFACE -Wall -Wextra -Wpedantic)
target_compile_definitions(CommonConfig INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CONTEXTLESS_CONNECT
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_USE_QSTRINGBUILDER)

option(STATION_WERROR "Treat warnings as errors" OFF)
if(STATION_WERROR)
    target_compile_options(CommonConfig INTERFACE -Werror)
endif()
