# Shared by the tree checks run as scripts: the lines of the program's sources (every .cpp and .h
# outside the tests, build folders and hidden folders) that match a pattern.

# Sets `out` to "\n  <file>: <line>" for each line of a program source under `source_dir` that
# matches `regex`, except in the files of `allowed` (paths relative to `source_dir`).
function(orvento_program_source_lines source_dir regex allowed out)
  file(GLOB _tops LIST_DIRECTORIES true RELATIVE "${source_dir}" "${source_dir}/*")
  set(_found "")
  foreach(_top IN LISTS _tops)
    if(NOT IS_DIRECTORY "${source_dir}/${_top}" OR _top MATCHES "^(build.*|tests|\\..*)$")
      continue()
    endif()
    file(GLOB_RECURSE _files RELATIVE "${source_dir}" "${source_dir}/${_top}/*.cpp"
         "${source_dir}/${_top}/*.h")
    foreach(_file IN LISTS _files)
      if(_file IN_LIST allowed)
        continue()
      endif()
      file(STRINGS "${source_dir}/${_file}" _lines REGEX "${regex}")
      foreach(_line IN LISTS _lines)
        string(STRIP "${_line}" _line)
        string(APPEND _found "\n  ${_file}: ${_line}")
      endforeach()
    endforeach()
  endforeach()
  set(${out} "${_found}" PARENT_SCOPE)
endfunction()
