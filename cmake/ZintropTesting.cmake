# In the sanitised build every test reports the first fault and fails;
# full stacks let the suppressions name Qt's own one-off allocations.
set(ZINTROP_SANITIZER_ENV
  "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
  "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan.supp:fast_unwind_on_malloc=0")
if(NOT ZINTROP_SANITIZE)
  set(ZINTROP_SANITIZER_ENV)
endif()

# Tests see DejaVu only (test-fonts.conf.in), so that what they measure or
# draw of text is the same whatever fonts the machine has; the font cache
# stays in the build folder. A test program run by hand gets the same with
# FONTCONFIG_FILE=<build>/test-fonts/fonts.conf.
find_path(ZINTROP_DEJAVU_DIR DejaVuSans.ttf
  PATHS /usr/share/fonts /usr/local/share/fonts
  PATH_SUFFIXES truetype/dejavu dejavu dejavu-sans-fonts TTF
  NO_DEFAULT_PATH
  DOC "The folder of fonts-dejavu-core, the only fonts the tests use")
set(ZINTROP_TEST_FONT_ENV)
if(ZINTROP_DEJAVU_DIR)
  set(ZINTROP_FONT_CACHE_DIR ${CMAKE_BINARY_DIR}/test-fonts/cache)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/test-fonts.conf.in
                 ${CMAKE_BINARY_DIR}/test-fonts/fonts.conf @ONLY)
  set(ZINTROP_TEST_FONT_ENV "FONTCONFIG_FILE=${CMAKE_BINARY_DIR}/test-fonts/fonts.conf")
else()
  message(WARNING "DejaVuSans.ttf not found (fonts-dejavu-core): "
                  "the tests will measure text in whatever fonts this machine has")
endif()

# zintrop_add_test(NAME name SOURCES a.cpp ... LIBS lib ... [TIMEOUT s] [LABELS l ...])
# One QTest executable, registered with CTest. Tests run headless and with a
# timeout so that nothing can wait forever on a display, a bus or a device.
function(zintrop_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE Qt5::Test ${T_LIBS})
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    LABELS "${T_LABELS}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=*.debug=false;${ZINTROP_TEST_FONT_ENV};${ZINTROP_SANITIZER_ENV}")
endfunction()

# With Ninja, moc's step only reruns for the headers it parsed last time, so a
# header added to a target (a new class, or one arriving with a merge) would
# never be moc'ed in an incremental build. When the list of sources changes,
# drop the step's stamp so that it runs again.
function(zintrop_refresh_moc_on_new_headers target sources)
  string(MD5 _hash "${sources}")
  if(NOT "${_hash}" STREQUAL "${ZINTROP_SOURCES_HASH_${target}}")
    file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/timestamp)
    set(ZINTROP_SOURCES_HASH_${target} "${_hash}" CACHE INTERNAL "")
  endif()
endfunction()

# zintrop_add_library(NAME name [QT module ...] [LIBS lib ...] [EXCLUDE dir ...])
# A static library made of every .cpp/.h/.qrc file in the calling folder and
# its family subfolders, so that adding a class never means editing a shared
# list. Left out: tests/, the folders named in EXCLUDE, and any subfolder with
# a CMakeLists.txt of its own (a target of its own). Every folder that holds a
# header is a public include folder, so includes name the file only and
# survive moving a class between families. The tests/ folder, when present,
# is added too.
function(zintrop_add_library)
  cmake_parse_arguments(L "" "NAME" "QT;LIBS;EXCLUDE" ${ARGN})
  set(_root ${CMAKE_CURRENT_SOURCE_DIR})
  file(GLOB_RECURSE _all CONFIGURE_DEPENDS ${_root}/*.cpp ${_root}/*.h ${_root}/*.qrc)
  file(GLOB_RECURSE _subLists ${_root}/*/CMakeLists.txt)
  set(_skip ${_root}/tests)
  foreach(d ${L_EXCLUDE})
    list(APPEND _skip ${_root}/${d})
  endforeach()
  foreach(f ${_subLists})
    get_filename_component(_d ${f} DIRECTORY)
    list(APPEND _skip ${_d})
  endforeach()
  set(_src)
  foreach(f ${_all})
    set(_keep TRUE)
    foreach(d ${_skip})
      string(FIND "${f}" "${d}/" _at)
      if(_at EQUAL 0)
        set(_keep FALSE)
      endif()
    endforeach()
    if(_keep)
      list(APPEND _src ${f})
    endif()
  endforeach()
  set(_compiled ${_src})
  list(FILTER _compiled INCLUDE REGEX "\\.(cpp|qrc)$")
  if(NOT _compiled)
    return()  # nothing written yet
  endif()
  if(ZINTROP_SANITIZE AND NOT L_NAME IN_LIST ZINTROP_SANITIZED_LIBRARIES)
    return()  # the sanitised build holds the non-GUI libraries only
  endif()
  set(_includes ${_root})
  foreach(f ${_src})
    if(f MATCHES "\\.h$")
      get_filename_component(_d ${f} DIRECTORY)
      list(APPEND _includes ${_d})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES _includes)
  add_library(${L_NAME} STATIC ${_src})
  target_include_directories(${L_NAME} PUBLIC ${_includes})
  zintrop_refresh_moc_on_new_headers(${L_NAME} "${_src}")
  set(_qt)
  foreach(m ${L_QT})
    list(APPEND _qt Qt5::${m})
  endforeach()
  target_link_libraries(${L_NAME} PUBLIC ${_qt} ${L_LIBS})
  if(EXISTS ${_root}/tests/CMakeLists.txt AND NOT ZINTROP_FUZZ)
    add_subdirectory(tests)
  endif()
endfunction()

# zintrop_add_tests(LIBS lib ... [TIMEOUT s])
# Every tst_*.cpp in the calling folder becomes one test program linked with
# LIBS. The other .cpp/.h files of the folder (fixtures, reference code) form
# one small library that every program of the folder links, so they are
# compiled once, not once per program.
function(zintrop_add_tests)
  cmake_parse_arguments(T "" "TIMEOUT" "LIBS" ${ARGN})
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
  file(GLOB _common CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(REMOVE_ITEM _common ${_tests})
  set(_libs ${T_LIBS})
  set(_compiled ${_common})
  list(FILTER _compiled INCLUDE REGEX "\\.cpp$")
  if(_compiled)
    string(MD5 _id "${CMAKE_CURRENT_SOURCE_DIR}")
    string(SUBSTRING ${_id} 0 8 _id)
    set(_fixtures testfixtures_${_id})
    add_library(${_fixtures} STATIC ${_common})
    target_include_directories(${_fixtures} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${_fixtures} PUBLIC Qt5::Test ${T_LIBS})
    list(APPEND _libs ${_fixtures})
  endif()
  foreach(t ${_tests})
    get_filename_component(_name ${t} NAME_WE)
    zintrop_add_test(NAME ${_name} SOURCES ${t} LIBS ${_libs} TIMEOUT ${T_TIMEOUT})
  endforeach()
endfunction()
