# The changelog takes its version from the project, so the two cannot disagree. Zifferix is
# packed by its own developers, with no Debian revision in the version: a native package, whose
# changelog Debian names changelog.gz rather than changelog.Debian.gz. It is compressed without
# a name or a time in it: every build gives the same bytes. Sets `docs`, where it is made.
find_program(GZIP gzip REQUIRED)
set(docs ${PROJECT_BINARY_DIR}/packaging)
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog ${docs}/changelog @ONLY)
add_custom_command(OUTPUT ${docs}/changelog.gz
    COMMAND ${GZIP} -9n -c ${docs}/changelog > ${docs}/changelog.gz
    DEPENDS ${docs}/changelog
    COMMENT "Compressing the changelog")
