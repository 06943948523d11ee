# Run by CPack on the staged files, before it packs them: every directory 0755, as Debian has
# them. CMake makes directories with mkdir, which the packer's umask narrows (umask 027 would
# ship 0750 directories that no user but root can enter); the files get their modes from the
# install rules already.
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(path IN LISTS staged)
    if(IS_DIRECTORY "${path}" AND NOT IS_SYMLINK "${path}")
        file(CHMOD "${path}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
            GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    endif()
endforeach()
