# Installation and packages. `cmake --install` puts the tool in bin, its
# manual page in share/man/man1 and the README with the documents it links
# and their pictures, the examples and the copyright notice in
# share/doc/korvanref; the Windows builds put the .exe beside the documents,
# the examples and the notice. `cpack` makes a .deb and a .tar.gz in the
# native build and a .zip in the Windows builds.
include(GNUInstallDirs)

if(WIN32)
  set(korvanref_bin_dir .)
  set(korvanref_doc_dir .)
else()
  set(korvanref_bin_dir ${CMAKE_INSTALL_BINDIR})
  set(korvanref_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/korvanref)
endif()
install(TARGETS KorvanRef RUNTIME DESTINATION ${korvanref_bin_dir})
install(FILES README.md DESTINATION ${korvanref_doc_dir})
# On Windows the notice gets an extension, so that a double click opens it.
if(WIN32)
  install(FILES packaging/copyright DESTINATION ${korvanref_doc_dir} RENAME copyright.txt)
else()
  install(FILES packaging/copyright DESTINATION ${korvanref_doc_dir})
endif()
install(DIRECTORY examples DESTINATION ${korvanref_doc_dir})
# The documents the README links and the pictures they show, at the same
# paths beside it as in the source tree, so that their links resolve in the
# installed copy too.
install(DIRECTORY docs/ DESTINATION ${korvanref_doc_dir}/docs
        FILES_MATCHING PATTERN "*.md" PATTERN "*.png")
install(FILES bench/README.md DESTINATION ${korvanref_doc_dir}/bench)
install(FILES bench/results/bench.png DESTINATION ${korvanref_doc_dir}/bench/results)

# The manual page is made by running the tool (its --help and --version), so
# only a native build has it.
if(NOT CMAKE_CROSSCOMPILING)
  find_program(KORVANREF_HELP2MAN help2man)
  if(KORVANREF_HELP2MAN)
    set(korvanref_man_page ${CMAKE_BINARY_DIR}/KorvanRef.1)
    add_custom_command(
      OUTPUT ${korvanref_man_page}
      COMMAND ${CMAKE_COMMAND} -DHELP2MAN=${KORVANREF_HELP2MAN} -DTOOL=$<TARGET_FILE:KorvanRef>
              -DINCLUDE=${PROJECT_SOURCE_DIR}/packaging/KorvanRef.h2m
              -DOUTPUT=${korvanref_man_page} -P ${PROJECT_SOURCE_DIR}/cmake/man_page.cmake
      DEPENDS KorvanRef packaging/KorvanRef.h2m cmake/man_page.cmake
      COMMENT "Making the manual page KorvanRef.1"
      VERBATIM)
    add_custom_target(korvanref_man_page ALL DEPENDS ${korvanref_man_page})
    install(FILES ${korvanref_man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  else()
    message(WARNING "help2man was not found: the manual page is neither made nor installed "
                    "(Debian: apt-get install help2man)")
  endif()
endif()

set(CPACK_PACKAGE_NAME korvanref)
set(CPACK_PACKAGE_VENDOR "KorvanRef project")
set(KORVANREF_PACKAGE_CONTACT "KorvanRef project <korvanref@korvanref.invalid>"
    CACHE STRING "Maintainer of the packages: the project, never a person")
set(CPACK_PACKAGE_CONTACT "${KORVANREF_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "HTML class reference of a tree of class scripts")
set(CPACK_PACKAGE_DESCRIPTION
    "KorvanRef reads every class script (a file ending in .kc) under a source\n"
    "directory and writes a browsable HTML class reference: an index with every\n"
    "class folded under its superclass and its states beneath it, and one page\n"
    "per class or state listing its variables, events and functions.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_STRIP_FILES ON)
# Directories made for the package are 0755 whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
  else()
    set(CPACK_SYSTEM_NAME win32)
  endif()
else()
  set(CPACK_GENERATOR DEB TGZ)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  # A Debian package wants its changelog and manual page compressed; the
  # script does that in the package's staging tree only.
  configure_file(packaging/changelog.in ${CMAKE_BINARY_DIR}/changelog @ONLY)
  set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/debian_files.cmake)
  set(CPACK_KORVANREF_CHANGELOG ${CMAKE_BINARY_DIR}/changelog)
  set(CPACK_KORVANREF_DOC_DIR ${korvanref_doc_dir})
  set(CPACK_KORVANREF_MAN_DIR ${CMAKE_INSTALL_MANDIR}/man1)
endif()
include(CPack)
