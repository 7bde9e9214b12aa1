# Run with cmake -P: fails when Qt's SQLite plugin (PLUGIN) loads another
# libsqlite3 than the one the lazy row loader links (LIBRARY). The loader
# works on the plugin's sqlite3 handle, so both must be the same library.
file(GET_RUNTIME_DEPENDENCIES
    LIBRARIES "${PLUGIN}"
    RESOLVED_DEPENDENCIES_VAR resolved
    UNRESOLVED_DEPENDENCIES_VAR unresolved
    PRE_INCLUDE_REGEXES "^libsqlite3"
    PRE_EXCLUDE_REGEXES ".*")
if(NOT resolved)
    message(FATAL_ERROR "${PLUGIN} links no libsqlite3 that can be found (unresolved: ${unresolved})")
endif()
list(GET resolved 0 pluginSqlite)
file(REAL_PATH "${pluginSqlite}" pluginSqliteFile)
file(REAL_PATH "${LIBRARY}" linkedSqliteFile)
if(NOT pluginSqliteFile STREQUAL linkedSqliteFile)
    message(FATAL_ERROR "Qt's SQLite driver ${PLUGIN} loads ${pluginSqliteFile}, but the lazy row loader "
                        "would link ${linkedSqliteFile}: point SQLite3_LIBRARY at the plugin's libsqlite3")
endif()
