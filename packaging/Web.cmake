# The browser edition for a school's own server: `./package.sh` builds
# zifferix-web_<version>_all.deb, with the site in /usr/share/zifferix/web, served at /zifferix/
# by Apache's configuration (enabled on install) or nginx's snippet, and
# zifferix-web-<version>.tar.gz, the site alone for any other static host.
set(site ${CMAKE_BINARY_DIR}/site)
set(web ${PROJECT_SOURCE_DIR}/packaging/web)
install(DIRECTORY ${site}/ DESTINATION share/zifferix/web
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(FILES ${web}/apache.conf DESTINATION /etc/apache2/conf-available RENAME zifferix.conf)
install(FILES ${web}/nginx.conf DESTINATION /etc/nginx/snippets RENAME zifferix.conf)
install(FILES ${web}/copyright DESTINATION share/doc/zifferix-web)
# Apache's configuration is named after the program and the address, not after the package:
# `a2disconf zifferix` turns off /zifferix/.
install(FILES ${web}/lintian-overrides DESTINATION share/lintian/overrides RENAME zifferix-web)
include(${PROJECT_SOURCE_DIR}/packaging/Changelog.cmake)
add_custom_target(zifferix_web_docs ALL DEPENDS ${docs}/changelog.gz)
install(FILES ${docs}/changelog.gz DESTINATION share/doc/zifferix-web)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zifferix-web)
set(CPACK_PACKAGE_VENDOR "Zifferix")
set(CPACK_PACKAGE_CONTACT "Zifferix maintainers <maintainers@zifferix.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Kopfrechentrainer für Schulkinder, im Browser")
set(CPACK_PACKAGE_DESCRIPTION "mental-arithmetic trainer for schoolchildren, as a web site
Zifferix in the browser, for a school's own server: a static site that a
browser on any tablet or PC plays, with nothing to install there. It asks
for nothing outside its own files and stores nothing.
.
Apache serves it at /zifferix/ as soon as the package is installed; a
snippet for nginx is included. links.html lists every game and level as a
link and a QR code for the class.")
# The configuration has absolute places in /etc, which CPack packs when it installs into a
# staging folder (DESTDIR) with /usr as the prefix.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_PACKAGE_SOURCE zifferix)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "apache2 | nginx | httpd")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${web}/conffiles ${web}/postinst ${web}/prerm ${web}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/packaging/Permissions.cmake)
include(CPack)

# The site alone, as one folder zifferix-web-<version>. Its files keep the times they were built
# at: a static server revalidates them by that time, so a new build must not look older.
set(archive zifferix-web-${PROJECT_VERSION})
add_custom_target(web_archive
    COMMAND sh -c "tar --create --sort=name --owner=0 --group=0 --numeric-owner \
--mode=u=rwX,go=rX --transform=s,^site,${archive}, -C '${CMAKE_BINARY_DIR}' site \
| gzip -9n > '${CMAKE_BINARY_DIR}/${archive}.tar.gz'"
    COMMENT "Packing the site as ${archive}.tar.gz"
    VERBATIM)
add_dependencies(web_archive site)
