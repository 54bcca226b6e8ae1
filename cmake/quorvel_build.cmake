# Compiler checks every target gets: warnings (errors in CI) and the sanitizer builds.

option(QUORVEL_WERROR "Treat compiler warnings as errors (CI turns this on)" OFF)

set(QUORVEL_SANITIZE "" CACHE STRING "Sanitizers to build with: empty, address,undefined or thread")
set_property(CACHE QUORVEL_SANITIZE PROPERTY STRINGS "" "address,undefined" "thread")

# A sanitizer has to see every object and the link, or its reports go missing; so these are
# the one place where options are global.
if(QUORVEL_SANITIZE STREQUAL "address,undefined")
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(QUORVEL_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT QUORVEL_SANITIZE STREQUAL "")
  message(FATAL_ERROR
    "QUORVEL_SANITIZE is '${QUORVEL_SANITIZE}'; use empty, 'address,undefined' or 'thread'")
endif()

function(quorvel_target_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(QUORVEL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# Walks the directory tree once everything is declared, so a target added later cannot be
# left without its warnings.
function(quorvel_warnings_in_tree dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
      quorvel_target_warnings(${target})
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    quorvel_warnings_in_tree(${subdir})
  endforeach()
endfunction()
