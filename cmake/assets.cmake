# The pages' own script and style are files of their own under
# src/writer/common/assets, built into the tool so that it stays one
# self-contained file: each becomes a generated source (made by
# cmake/embed_asset.cmake, made anew when the file changes) defining the
# std::string_view named beside it here and declared in
# src/writer/common/assets.h. The script files are listed in
# korvanref_script_assets for the node checks under tests/node.
set(korvanref_asset_dir ${PROJECT_SOURCE_DIR}/src/writer/common/assets)
set(korvanref_assets
  index.css kIndexStyle
  index.js kIndexScript
  find.js kFindScript
  reference.css kReferenceStyle
)

set(korvanref_script_assets "")
set(korvanref_asset_sources "")
list(LENGTH korvanref_assets korvanref_asset_count)
math(EXPR korvanref_asset_last "${korvanref_asset_count} - 1")
foreach(at RANGE 0 ${korvanref_asset_last} 2)
  math(EXPR name_at "${at} + 1")
  list(GET korvanref_assets ${at} asset)
  list(GET korvanref_assets ${name_at} name)
  set(input ${korvanref_asset_dir}/${asset})
  string(MAKE_C_IDENTIFIER ${asset} stem)
  set(output ${CMAKE_BINARY_DIR}/assets/${stem}.cc)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DNAME=${name}
            -P ${PROJECT_SOURCE_DIR}/cmake/embed_asset.cmake
    DEPENDS ${input} ${PROJECT_SOURCE_DIR}/cmake/embed_asset.cmake
    COMMENT "Embedding ${asset}"
    VERBATIM)
  list(APPEND korvanref_asset_sources ${output})
  if(asset MATCHES "\\.js$")
    list(APPEND korvanref_script_assets ${input})
  endif()
endforeach()
