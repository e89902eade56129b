# Headers under a folder's internal/ are that folder's library's own: a file
# of any other folder that includes one stops the build, naming the file and
# the header. A library names its own as "internal/NAME.h"; any other way to
# reach an internal/ folder ("../data/internal/...", "reader/internal/...",
# <internal/...>) is refused wherever it stands. Run as a script on every
# build: cmake -DROOT=DIR -P this.
if(NOT ROOT)
  message(FATAL_ERROR "CheckOwnHeaders: ROOT, the source tree, is not given")
endif()
# Every folder of the tree but the builds' and the hidden ones.
file(GLOB children RELATIVE "${ROOT}" "${ROOT}/*")
set(files)
foreach(child IN LISTS children)
  if(IS_DIRECTORY "${ROOT}/${child}" AND NOT child MATCHES "^(build|\\.)")
    file(GLOB_RECURSE found RELATIVE "${ROOT}" "${ROOT}/${child}/*.cpp" "${ROOT}/${child}/*.h")
    list(APPEND files ${found})
  endif()
endforeach()
set(wrong)
foreach(f IN LISTS files)
  file(STRINGS "${ROOT}/${f}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"][^>\"]*internal/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[^<\"]*[<\"]([^>\"]+)[>\"].*$" "\\1" header "${line}")
    get_filename_component(dir "${f}" DIRECTORY)
    # A header inside internal/ names its siblings from its library's folder.
    string(REGEX REPLACE "/internal(/.*)?$" "" owner "${dir}")
    if(NOT line MATCHES "\"internal/" OR NOT EXISTS "${ROOT}/${owner}/${header}")
      list(APPEND wrong "  ${f} includes \"${header}\", which is another library's own")
    endif()
  endforeach()
endforeach()
if(wrong)
  list(JOIN wrong "\n" said)
  message(FATAL_ERROR "Headers under internal/ are their library's own:\n${said}\n"
                      "Give what is needed a public header of that library instead.")
endif()
