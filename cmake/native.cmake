# Native build: setup-host, setup-pack, the tests, and the Windows build as a sub-build.
include(${PROJECT_SOURCE_DIR}/cmake/sources.cmake)

option(SETUP_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(SETUP_WINDOWS "Also cross-build setup.exe with mingw-w64" ON)
option(SETUP_TESTS "Build the tests" ON)

find_package(ZLIB REQUIRED)

set(SETUP_WARNINGS -Wall -Wextra)
if(SETUP_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# The host's wizard window is the headless form, and its INI service is the runtime's own INI
# file, both of which live in the core: they link with the core.
list(REMOVE_ITEM SETUP_HOST_PLATFORM_SOURCES
  ${PROJECT_SOURCE_DIR}/src/platform/host/host_wizard_window.cpp
  ${PROJECT_SOURCE_DIR}/src/platform/host/host_ini_service.cpp)
add_library(setup_platform_host STATIC ${SETUP_HOST_PLATFORM_SOURCES})
target_include_directories(setup_platform_host PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_compile_options(setup_platform_host PRIVATE ${SETUP_WARNINGS})
target_link_libraries(setup_platform_host PUBLIC ZLIB::ZLIB)

add_library(setup_core STATIC ${SETUP_CORE_SOURCES}
  ${PROJECT_SOURCE_DIR}/src/platform/host/host_wizard_window.cpp
  ${PROJECT_SOURCE_DIR}/src/platform/host/host_ini_service.cpp)
target_include_directories(setup_core PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_compile_options(setup_core PRIVATE ${SETUP_WARNINGS})
target_link_libraries(setup_core PUBLIC setup_platform_host)

add_executable(setup-host ${PROJECT_SOURCE_DIR}/src/app/main.cpp)
target_compile_options(setup-host PRIVATE ${SETUP_WARNINGS})
target_link_libraries(setup-host PRIVATE setup_core)

add_subdirectory(${PROJECT_SOURCE_DIR}/tools/pack ${CMAKE_BINARY_DIR}/tools/pack)
add_subdirectory(${PROJECT_SOURCE_DIR}/bench ${CMAKE_BINARY_DIR}/bench)

if(SETUP_WINDOWS)
  find_program(MINGW_CXX i686-w64-mingw32-g++)
  if(MINGW_CXX)
    include(ExternalProject)
    ExternalProject_Add(windows
      SOURCE_DIR ${PROJECT_SOURCE_DIR}
      BINARY_DIR ${CMAKE_BINARY_DIR}/windows
      CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-i686.cmake
                 -DCMAKE_BUILD_TYPE=MinSizeRel
      INSTALL_COMMAND ""
      BUILD_ALWAYS ON
      USES_TERMINAL_BUILD ON)
    set(SETUP_EXE ${CMAKE_BINARY_DIR}/windows/setup.exe)
  else()
    message(WARNING "i686-w64-mingw32-g++ not found: setup.exe is not built")
  endif()
endif()

include(${PROJECT_SOURCE_DIR}/cmake/install.cmake)

if(SETUP_TESTS)
  enable_testing()
  add_subdirectory(${PROJECT_SOURCE_DIR}/tests ${CMAKE_BINARY_DIR}/tests)
endif()
