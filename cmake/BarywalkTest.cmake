# barywalk_add_test(NAME SOURCES file... [LIBS lib...] [GUI])
#
# One GoogleTest program registered as one CTest test. Core tests get
# gtest's own main and the label "core". GUI tests link the shared wx test
# main (tests/support), which starts the toolkit and a top-level window
# before the tests run; they get the label "gui" and need an X display
# (make test starts Xvfb when there is none).
function(barywalk_add_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  if(T_GUI)
    target_link_libraries(${name} PRIVATE barywalk_gui_test_main)
    set(label gui)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
    set(label core)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    LABELS ${label}
    TIMEOUT 600
    ENVIRONMENT "NO_AT_BRIDGE=1;GTK_A11Y=none")
  if(T_GUI)
    # GUI tests share one X display: pointer grabs of drop-downs and
    # simulated input of one program must not reach another's windows.
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK x_display)
  endif()
endfunction()

# Adds src/<sub>, tests/<sub> or bench/<sub> for each subsystem whose folder
# has a CMakeLists.txt.
macro(barywalk_add_subsystems)
  foreach(sub ${ARGN})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/CMakeLists.txt)
      add_subdirectory(${sub})
    endif()
  endforeach()
endmacro()
