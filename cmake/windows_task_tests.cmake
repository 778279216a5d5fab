# Windows programs and libraries that the Wine tests of fonts, ActiveX, type libraries and the
# like install and check (built by the Windows sub-build, never shipped).

# A library whose DllRegisterServer writes HKCU\Software\Setup Test\Registered, and the same
# library without that export. --kill-at exports the undecorated names, as Windows looks them up.
add_library(register_me SHARED ${PROJECT_SOURCE_DIR}/tests/windows/register_me.cpp)
set_target_properties(register_me PROPERTIES PREFIX "")
target_link_libraries(register_me PRIVATE advapi32)
target_link_options(register_me PRIVATE -static-libgcc -s -Wl,--kill-at)

add_library(no_register SHARED ${PROJECT_SOURCE_DIR}/tests/windows/register_me.cpp)
set_target_properties(no_register PROPERTIES PREFIX "")
target_compile_definitions(no_register PRIVATE SETUP_TEST_NO_REGISTER)
target_link_options(no_register PRIVATE -static-libgcc -s -Wl,--kill-at)

# A type library compiled from IDL by widl (Debian mingw-w64-tools); the other tasks' type
# library Wine test needs it.
find_program(SETUP_WIDL NAMES i686-w64-mingw32-widl widl)
if(SETUP_WIDL)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/test_library.tlb
    COMMAND ${SETUP_WIDL} -t -o ${CMAKE_BINARY_DIR}/test_library.tlb
            ${PROJECT_SOURCE_DIR}/tests/windows/test_library.idl
    DEPENDS ${PROJECT_SOURCE_DIR}/tests/windows/test_library.idl
    COMMENT "Compiling the test type library")
  add_custom_target(test_library ALL DEPENDS ${CMAKE_BINARY_DIR}/test_library.tlb)
else()
  message(WARNING "widl not found (package mingw-w64-tools): test_library.tlb is not built")
endif()

# Drives the real wizard window without a setup file: checks its live controls, or shows a
# page for a screenshot. Run by hand under Wine.
add_executable(wizard_view_demo ${PROJECT_SOURCE_DIR}/tests/windows/wizard_view_demo.cpp)
target_link_libraries(wizard_view_demo PRIVATE setup_win_core gdi32)
target_link_options(wizard_view_demo PRIVATE -static -static-libgcc -static-libstdc++ -s
  -flto-partition=one)
