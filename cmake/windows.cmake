# Windows build: setup.exe, static, small, importing only DLLs that Windows ships.
include(${PROJECT_SOURCE_DIR}/cmake/sources.cmake)
enable_language(RC)

set(SETUP_SIZE_FLAGS -Os -ffunction-sections -fdata-sections -fno-asynchronous-unwind-tables)
add_compile_options(-Wall -Wextra ${SETUP_SIZE_FLAGS})
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
set(CMAKE_INTERPROCEDURAL_OPTIMIZATION ON)

# Everything but the entry point, shared by setup.exe and the test programs.
add_library(setup_win_core STATIC ${SETUP_CORE_SOURCES} ${SETUP_WIN32_PLATFORM_SOURCES})
target_include_directories(setup_win_core PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(setup_win_core PUBLIC shell32 user32 advapi32 kernel32)

add_executable(setup WIN32
  ${PROJECT_SOURCE_DIR}/src/app/main.cpp
  ${PROJECT_SOURCE_DIR}/src/platform/win32/setup.rc)
target_link_libraries(setup PRIVATE setup_win_core)
target_link_options(setup PRIVATE -static -static-libgcc -static-libstdc++ -s -flto-partition=one
  -Wl,--gc-sections -Wl,--dynamicbase -Wl,--nxcompat)
set_target_properties(setup PROPERTIES OUTPUT_NAME setup SUFFIX .exe)


# A real DLL that the tests plant as cabinet.dll where it must never be loaded from.
add_library(planted_cabinet SHARED ${PROJECT_SOURCE_DIR}/tests/windows/planted_cabinet.cpp)
set_target_properties(planted_cabinet PROPERTIES OUTPUT_NAME cabinet PREFIX "")
target_link_options(planted_cabinet PRIVATE -static-libgcc -s)

# Prints what the probes and the variables find on this Windows, for the Wine tests to compare
# with the prefix's registry and folders.
add_executable(system_probe ${PROJECT_SOURCE_DIR}/tests/windows/system_probe.cpp)
target_link_libraries(system_probe PRIVATE setup_win_core)
target_link_options(system_probe PRIVATE -static -static-libgcc -static-libstdc++ -s -flto-partition=one)

# Test programs and libraries of the other installation tasks' Wine tests.
include(${PROJECT_SOURCE_DIR}/cmake/windows_task_tests.cmake)

# Prints the fields of shell links, for the Wine tests of shortcuts.
add_executable(read_links ${PROJECT_SOURCE_DIR}/tests/windows/read_links.cpp)
target_link_libraries(read_links PRIVATE ole32 uuid)
target_link_options(read_links PRIVATE -static -static-libgcc -static-libstdc++ -s)

# Holds a file open without sharing, for the Wine test of a locked uninstall record.
add_executable(lock_file ${PROJECT_SOURCE_DIR}/tests/windows/lock_file.cpp)
target_link_options(lock_file PRIVATE -static -static-libgcc -s)

# setup-pack for Windows, linked with a static mingw-w64 zlib (Debian: libz-mingw-w64-dev).
find_library(SETUP_MINGW_ZLIB NAMES libz.a)
find_path(SETUP_MINGW_ZLIB_INCLUDE zlib.h)
if(SETUP_MINGW_ZLIB AND SETUP_MINGW_ZLIB_INCLUDE)
  add_library(ZLIB::ZLIB STATIC IMPORTED)
  set_target_properties(ZLIB::ZLIB PROPERTIES IMPORTED_LOCATION ${SETUP_MINGW_ZLIB}
    INTERFACE_INCLUDE_DIRECTORIES ${SETUP_MINGW_ZLIB_INCLUDE})
  add_subdirectory(${PROJECT_SOURCE_DIR}/tools/pack ${CMAKE_BINARY_DIR}/tools/pack)
  target_link_options(setup-pack PRIVATE -static -static-libgcc -static-libstdc++ -s)
  # Beside setup.exe, where it looks for its default stub. Without link-time optimisation,
  # which makes this mingw-w64 compiler fail on the packer.
  set_target_properties(setup-pack PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  set_target_properties(setup-pack setup_pack_lib PROPERTIES INTERPROCEDURAL_OPTIMIZATION OFF)
else()
  message(STATUS "no mingw-w64 zlib (libz-mingw-w64-dev): setup-pack.exe is not built")
endif()
