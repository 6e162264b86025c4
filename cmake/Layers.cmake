# The engine's layers, each a static library that sees only its own folders
# and the layers it links to.
#
# Every source includes headers by folder ("core/apr_engine.h"). A library's
# include path is not src/ but a directory of its own under the build tree
# holding links to its folders only; linking a lower layer adds that layer's
# directory. A header of a higher layer (or of a sibling tool) is therefore
# not on the path at all, and including it fails the build, as a Qt include
# in the engine does.
set(QV_LAYER_ROOTS ${CMAKE_BINARY_DIR}/layers)

# Gives `target` an include root that holds the listed folders of src/.
function(qv_layer_include_root target)
  set(root ${QV_LAYER_ROOTS}/${target})
  file(MAKE_DIRECTORY ${root})
  foreach(folder IN LISTS ARGN)
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# qv_layer(<library> FOLDERS <folder>... [USES <lower library>...])
function(qv_layer name)
  cmake_parse_arguments(ARG "" "" "FOLDERS;USES" ${ARGN})
  set(sources)
  foreach(folder IN LISTS ARG_FOLDERS)
    file(GLOB_RECURSE folder_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp)
    list(APPEND sources ${folder_sources})
  endforeach()
  add_library(${name} STATIC ${sources})
  qv_layer_include_root(${name} ${ARG_FOLDERS})
  target_link_libraries(${name} PUBLIC ${ARG_USES})
endfunction()
