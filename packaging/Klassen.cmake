# The class service for a school's server: zifferix-klassen_<version>_amd64.deb, packed from the
# native build with a CPack configuration of its own, beside the desktop program's, once the
# build is done (CPack builds nothing for a single component):
#     cpack --config build/release/CPackKlassen.cmake
# The service's files are the install component "klassen", left out of a plain install and of
# the desktop program's package, which installs every component but the excluded ones.
include(GNUInstallDirs)
find_program(GZIP gzip REQUIRED)
set(klassen ${PROJECT_SOURCE_DIR}/packaging/klassen)
set(klassen_docs ${PROJECT_BINARY_DIR}/packaging/klassen)
set(klassen_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/zifferix-klassen)

install(TARGETS zifferix-klassen RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    COMPONENT klassen EXCLUDE_FROM_ALL)
# A stripped install (the package's) also drops the compiler's notes, as for the desktop program.
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
            --remove-section=.note
            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/zifferix-klassen\"
            COMMAND_ERROR_IS_FATAL ANY)
    endif()" COMPONENT klassen EXCLUDE_FROM_ALL)
# Debian 12 keeps the units of its packages in /lib, merged with /usr/lib or not.
install(FILES ${klassen}/zifferix-klassen.service DESTINATION /lib/systemd/system
    COMPONENT klassen EXCLUDE_FROM_ALL)
# It may hold the password that opens a class and a database's connection string: root's
# alone, handed to the service by systemd as a credential.
install(FILES ${klassen}/klassen.conf DESTINATION /etc/zifferix
    PERMISSIONS OWNER_READ OWNER_WRITE COMPONENT klassen EXCLUDE_FROM_ALL)
install(FILES ${klassen}/apache.conf DESTINATION /etc/apache2/conf-available
    RENAME zifferix-klassen.conf COMPONENT klassen EXCLUDE_FROM_ALL)
install(FILES ${klassen}/nginx.conf DESTINATION /etc/nginx/snippets
    RENAME zifferix-klassen.conf COMPONENT klassen EXCLUDE_FROM_ALL)
install(FILES ${klassen}/copyright DESTINATION ${klassen_doc_dir}
    COMPONENT klassen EXCLUDE_FROM_ALL)
install(FILES ${klassen}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
    RENAME zifferix-klassen COMPONENT klassen EXCLUDE_FROM_ALL)

# The changelog is the project's, as in the other two packages, and it and the manual page are
# compressed without a name or a time in them: every build gives the same bytes.
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog ${klassen_docs}/changelog @ONLY)
add_custom_command(OUTPUT ${klassen_docs}/changelog.gz
    COMMAND ${GZIP} -9n -c ${klassen_docs}/changelog > ${klassen_docs}/changelog.gz
    DEPENDS ${klassen_docs}/changelog
    COMMENT "Compressing the class service's changelog")
add_custom_command(OUTPUT ${klassen_docs}/zifferix-klassen.1.gz
    COMMAND ${GZIP} -9n -c ${klassen}/zifferix-klassen.1 > ${klassen_docs}/zifferix-klassen.1.gz
    DEPENDS ${klassen}/zifferix-klassen.1
    COMMENT "Compressing the class service's manual page")
add_custom_target(zifferix_klassen_docs ALL
    DEPENDS ${klassen_docs}/changelog.gz ${klassen_docs}/zifferix-klassen.1.gz)
install(FILES ${klassen_docs}/changelog.gz DESTINATION ${klassen_doc_dir}
    COMPONENT klassen EXCLUDE_FROM_ALL)
install(FILES ${klassen_docs}/zifferix-klassen.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
    COMPONENT klassen EXCLUDE_FROM_ALL)

configure_file(${klassen}/CPackKlassen.cmake.in ${PROJECT_BINARY_DIR}/CPackKlassen.cmake @ONLY)
