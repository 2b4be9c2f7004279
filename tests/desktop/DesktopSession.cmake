# The private desktop (Xvfb, openbox, trayer, the program on it) as a library of its own: the
# desktop tests and the benchmark of the icon's menu both drive the program through it.
include_guard(GLOBAL)
find_package(X11 REQUIRED)
find_package(GTest REQUIRED)
add_library(verbanto_desktop STATIC
  ${CMAKE_CURRENT_LIST_DIR}/DesktopSession.cpp ${CMAKE_CURRENT_LIST_DIR}/DesktopSession.h
  ${CMAKE_CURRENT_LIST_DIR}/XWindows.cpp ${CMAKE_CURRENT_LIST_DIR}/XWindows.h)
target_link_libraries(verbanto_desktop PUBLIC verbanto GTest::gtest X11::X11)
target_include_directories(verbanto_desktop PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_compile_definitions(verbanto_desktop PRIVATE VERBANTO_PROGRAM="$<TARGET_FILE:GestioneVerbanto>")
add_dependencies(verbanto_desktop GestioneVerbanto)
