# qlx_layer(<name> SOURCES <files...> [LINKS <targets...>])
#
# One static library per layer, qlx_<name>, built from the sources of the
# calling folder. Its headers are included as "<name>/header.h" through an
# include root of its own that holds nothing but that folder, so a target
# sees a layer's headers only when it links the layer: including a header of
# a layer that is not linked (a higher one) fails to compile.
function(qlx_layer name)
  cmake_parse_arguments(L "" "" "SOURCES;LINKS" ${ARGN})
  add_library(qlx_${name} STATIC ${L_SOURCES})
  set(root ${PROJECT_BINARY_DIR}/include/${name})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${name} SYMBOLIC)
  target_include_directories(qlx_${name} PUBLIC ${root})
  if(L_LINKS)
    target_link_libraries(qlx_${name} PUBLIC ${L_LINKS})
  endif()
endfunction()
