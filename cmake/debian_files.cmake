# Run by cpack once the files of a package are staged: for the .deb only, it
# compresses the manual page and adds the changelog, compressed, beside the
# copyright notice, as a Debian package wants them. The installed tree and
# the other packages keep the manual page as it is.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")

# gzip -9n: best compression, and no name or time stamp in the header, so the
# same input always gives the same bytes.
function(korvanref_gzip from to)
  execute_process(COMMAND gzip -9nc "${from}" OUTPUT_FILE "${to}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${from}")
  endif()
  file(CHMOD "${to}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endfunction()

file(GLOB pages "${root}/${CPACK_KORVANREF_MAN_DIR}/*.1")
foreach(page IN LISTS pages)
  korvanref_gzip("${page}" "${page}.gz")
  file(REMOVE "${page}")
endforeach()
korvanref_gzip("${CPACK_KORVANREF_CHANGELOG}" "${root}/${CPACK_KORVANREF_DOC_DIR}/changelog.gz")
