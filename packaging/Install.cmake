# Installs the program like any other desktop application, with the documentation a Debian
# package carries.
include(GNUInstallDirs)
install(TARGETS zifferix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (the package's) also drops the compiler's notes, as Debian's own tools do.
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
            --remove-section=.note
            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/zifferix\"
            COMMAND_ERROR_IS_FATAL ANY)
    endif()")
install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.zifferix.Zifferix.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.zifferix.Zifferix.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/assets/zifferix.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME org.zifferix.Zifferix.svg)

# The manual page is compressed without a name or a time in it, as the changelog is: every build
# gives the same bytes.
include(${PROJECT_SOURCE_DIR}/packaging/Changelog.cmake)
add_custom_command(OUTPUT ${docs}/zifferix.6.gz
    COMMAND ${GZIP} -9n -c ${PROJECT_SOURCE_DIR}/packaging/zifferix.6 > ${docs}/zifferix.6.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/zifferix.6
    COMMENT "Compressing the manual page")
add_custom_target(zifferix_docs ALL DEPENDS ${docs}/changelog.gz ${docs}/zifferix.6.gz)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${docs}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${docs}/zifferix.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
