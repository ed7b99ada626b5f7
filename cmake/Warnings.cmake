# Every target of ours gets the same warnings and, when asked, the sanitizers.
add_library(tarnwick_options INTERFACE)
target_compile_options(tarnwick_options INTERFACE -Wall -Wextra)
if(TARNWICK_SANITIZE)
  # Line tables are all a sanitizer report needs; full debug info of every test
  # object made the build several gigabytes and filled small CI disks.
  # GCC leaves float-to-int overflow out of "undefined"; hostile files reach it.
  target_compile_options(tarnwick_options INTERFACE
    -fsanitize=address,undefined,float-cast-overflow -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined,float-cast-overflow -g1)
  target_link_options(tarnwick_options INTERFACE -fsanitize=address,undefined,float-cast-overflow)
endif()

# Collects the sources of one folder tree, so adding a file needs no build edit.
function(tarnwick_sources out)
  set(all)
  foreach(dir ${ARGN})
    file(GLOB_RECURSE found CONFIGURE_DEPENDS
      ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND all ${found})
  endforeach()
  set(${out} ${all} PARENT_SCOPE)
endfunction()
