# Checks the includes of every folder against the layers it may use, that no library without a
# user interface includes a QtWidgets header, and that the pricing arithmetic stays pure (its own
# headers, the standard library and Qt Core only). Within ui/, a subsystem's windows (ui/<sub>/)
# include none of another subsystem, and ui/ itself none of a subsystem but in ui/ProgramNavigator,
# the program side of the navigator. Run as a script:
#   cmake -DSOURCE_DIR=<tree> -DWIDGET_HEADERS=<file listing QtWidgets header names>
#         [-DCORE_HEADERS=<file listing QtCore header names>] -P CheckLayering.cmake
# Every spelling of an include counts: "core/X.h", <core/X.h> and "../core/X.h" all name core/.
# A violation is reported with its file and line and fails the script (and with it the build).

# What each folder may include besides itself and third-party headers. A folder that is not
# listed may include everything (app, tests, bench).
set(_allowed_core "")
set(_allowed_services "core")
set(_allowed_catalogue "services;core")
set(_allowed_offers "catalogue;services;core")
set(_allowed_addressbook "catalogue;services;core")
set(_allowed_import "offers;addressbook;catalogue;services;core")
set(_allowed_output "offers;addressbook;catalogue;services;core")
set(_allowed_backup "services;core")
set(_allowed_notes "services;core")
set(_allowed_ui "notes;backup;output;import;addressbook;offers;catalogue;services;core")
set(_allowed_pelmack "services;core")
set(_allowed_dastrel "output;core")
set(_allowed_tools "import;offers;addressbook;catalogue;services;core")
set(_layers core services catalogue offers addressbook import output backup notes ui pelmack tools
            dastrel)
# The libraries that have no user interface: a QtWidgets header there is a mistake.
set(_ui_free core services catalogue offers addressbook import output backup notes tools)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR not set")
endif()
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)

set(_widget_headers "")
if(WIDGET_HEADERS AND EXISTS "${WIDGET_HEADERS}")
  file(STRINGS "${WIDGET_HEADERS}" _widget_headers)
endif()
set(_core_headers "")
if(CORE_HEADERS AND EXISTS "${CORE_HEADERS}")
  file(STRINGS "${CORE_HEADERS}" _core_headers)
endif()

# The pure folder: prices are computed there without a database, files or windows.
set(_pure_folder "catalogue/pricing")

# Inside ui/, the windows of a subsystem (ui/<sub>/) include no window of another subsystem, and
# the shared windows of ui/ itself none of a subsystem: another subsystem's window is asked for
# through the navigator, whose program side alone includes them all.
set(_ui_navigator_files "ui/ProgramNavigator.h" "ui/ProgramNavigator.cpp")

# The subsystem folder of ui/ that a path of the tree lies in ("offers" for ui/offers/X.h); empty
# for ui/ itself and for every other path.
function(_ui_subsystem path out)
  set(_sub "")
  if(path MATCHES "^ui/([^/]+)/")
    set(_sub ${CMAKE_MATCH_1})
  endif()
  set(${out} "${_sub}" PARENT_SCOPE)
endfunction()

# The path in the tree that an include names, as the compiler finds it: a quoted name beside the
# including file first (and always so for "./" and "../"), else from the tree's root; an angled
# one from the root. Empty when the include names no file of the tree (a library's header).
function(_included_path file delimiter name out)
  get_filename_component(_dir "${file}" DIRECTORY)
  if(delimiter STREQUAL "\"" AND (EXISTS "${_dir}/${name}" OR name MATCHES "^\\.\\.?/"))
    get_filename_component(_found "${_dir}/${name}" ABSOLUTE)
  else()
    get_filename_component(_found "${SOURCE_DIR}/${name}" ABSOLUTE)
  endif()
  file(RELATIVE_PATH _rel "${SOURCE_DIR}" "${_found}")
  set(_first "")
  if(_rel MATCHES "^([A-Za-z0-9_]+)/")
    set(_first ${CMAKE_MATCH_1})
  endif()
  list(FIND _layers "${_first}" _is_layer)
  if(_rel MATCHES "^\\.\\./" OR (NOT EXISTS "${_found}" AND _is_layer EQUAL -1))
    set(_rel "")
  endif()
  set(${out} "${_rel}" PARENT_SCOPE)
endfunction()

set(_problems "")
foreach(_layer IN LISTS _layers)
  if(NOT IS_DIRECTORY "${SOURCE_DIR}/${_layer}")
    continue()
  endif()
  file(GLOB_RECURSE _files "${SOURCE_DIR}/${_layer}/*.h" "${SOURCE_DIR}/${_layer}/*.cpp")
  set(_may ${_layer} ${_allowed_${_layer}})
  list(FIND _ui_free ${_layer} _is_ui_free)
  foreach(_file IN LISTS _files)
    file(STRINGS "${_file}" _lines REGEX "^[ \t]*#[ \t]*include")
    file(RELATIVE_PATH _rel "${SOURCE_DIR}" "${_file}")
    string(FIND "${_rel}" "${_pure_folder}/" _in_pure)
    _ui_subsystem("${_rel}" _own_ui_sub)
    list(FIND _ui_navigator_files "${_rel}" _is_navigator)
    foreach(_line IN LISTS _lines)
      if(NOT _line MATCHES "#[ \t]*include[ \t]*([\"<])([^\">]+)[\">]")
        continue()
      endif()
      set(_delimiter "${CMAKE_MATCH_1}")
      set(_name "${CMAKE_MATCH_2}")
      _included_path("${_file}" "${_delimiter}" "${_name}" _path)
      if(_path MATCHES "^([A-Za-z0-9_]+)/")
        set(_target ${CMAKE_MATCH_1})
        list(FIND _layers ${_target} _is_layer)
        list(FIND _may ${_target} _ok)
        if(_is_layer GREATER -1 AND _ok EQUAL -1)
          list(APPEND _problems "${_rel}: ${_layer}/ may not include ${_target}/ (${_line})")
        endif()
      endif()
      if(_layer STREQUAL "ui" AND _is_navigator EQUAL -1)
        _ui_subsystem("${_path}" _target_ui_sub)
        if(_target_ui_sub AND NOT _target_ui_sub STREQUAL _own_ui_sub)
          if(_own_ui_sub)
            set(_who "ui/${_own_ui_sub}/ may not include ui/${_target_ui_sub}/")
          else()
            set(_who "only ui/ProgramNavigator may include ui/${_target_ui_sub}/")
          endif()
          set(_how "ask the navigator for the window or move a shared widget to ui/")
          list(APPEND _problems "${_rel}: ${_who}, ${_how} (${_line})")
        endif()
      endif()
      if(_in_pure EQUAL 0)
        if(_path)
          string(FIND "${_path}" "${_pure_folder}/" _pure_target)
          if(NOT _pure_target EQUAL 0)
            list(APPEND _problems
                 "${_rel}: ${_pure_folder}/ may include only its own headers (${_line})")
          endif()
        elseif(NOT _name MATCHES "^[a-z_0-9]+$")
          string(REGEX REPLACE "^QtCore/" "" _bare "${_name}")
          string(REGEX REPLACE "\\.h$" "" _bare "${_bare}")
          list(FIND _core_headers ${_bare} _is_core)
          if(_is_core EQUAL -1)
            list(APPEND _problems "${_rel}: ${_pure_folder}/ may use only the standard library "
                                  "and Qt Core (${_line})")
          endif()
        endif()
      endif()
      if(_is_ui_free GREATER -1 AND _delimiter STREQUAL "<")
        string(REGEX REPLACE "\\.h$" "" _header "${_name}")
        string(REGEX REPLACE "^QtWidgets/" "" _bare "${_header}")
        list(FIND _widget_headers ${_bare} _is_widget)
        if(_header MATCHES "^QtWidgets" OR _is_widget GREATER -1)
          list(APPEND _problems "${_rel}: ${_layer}/ has no user interface but includes <${_header}>")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(_problems)
  list(JOIN _problems "\n  " _text)
  message(FATAL_ERROR "Layering violated:\n  ${_text}")
endif()
if(STAMP)
  file(TOUCH "${STAMP}")
endif()
