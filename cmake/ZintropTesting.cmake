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
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=*.debug=false")
endfunction()

# zintrop_add_library(NAME name [QT module ...] [LIBS lib ...])
# A static library made of every .cpp/.h/.qrc file in the calling folder, so
# that adding a class never means editing a shared list. Its tests/ folder,
# when present, is added too.
function(zintrop_add_library)
  cmake_parse_arguments(L "" "NAME" "QT;LIBS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/*.h
    ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  list(FILTER _src INCLUDE REGEX "\\.(cpp|qrc)$")
  if(NOT _src)
    return()  # nothing written yet
  endif()
  file(GLOB _src CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/*.h
    ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  add_library(${L_NAME} STATIC ${_src})
  target_include_directories(${L_NAME} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  set(_qt)
  foreach(m ${L_QT})
    list(APPEND _qt Qt5::${m})
  endforeach()
  target_link_libraries(${L_NAME} PUBLIC ${_qt} ${L_LIBS})
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/tests/CMakeLists.txt)
    add_subdirectory(tests)
  endif()
endfunction()

# zintrop_add_tests(LIBS lib ... [TIMEOUT s])
# Every tst_*.cpp in the calling folder becomes one test program linked with
# LIBS; other .cpp/.h files of the folder (fixtures, reference code) are
# compiled into each of them.
function(zintrop_add_tests)
  cmake_parse_arguments(T "" "TIMEOUT" "LIBS" ${ARGN})
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
  file(GLOB _common CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(REMOVE_ITEM _common ${_tests})
  foreach(t ${_tests})
    get_filename_component(_name ${t} NAME_WE)
    zintrop_add_test(NAME ${_name} SOURCES ${t} ${_common} LIBS ${T_LIBS} TIMEOUT ${T_TIMEOUT})
  endforeach()
endfunction()
