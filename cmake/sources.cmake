# Source lists shared by the native and the Windows build.
file(GLOB SETUP_CORE_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/src/app/*.cpp
  ${PROJECT_SOURCE_DIR}/src/cab/*.cpp
  ${PROJECT_SOURCE_DIR}/src/text/*.cpp
  ${PROJECT_SOURCE_DIR}/src/system/*.cpp
  ${PROJECT_SOURCE_DIR}/src/wizard/*.cpp
  ${PROJECT_SOURCE_DIR}/src/install/*.cpp)
list(REMOVE_ITEM SETUP_CORE_SOURCES ${PROJECT_SOURCE_DIR}/src/app/main.cpp)
file(GLOB SETUP_HOST_PLATFORM_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/src/platform/*.cpp
  ${PROJECT_SOURCE_DIR}/src/platform/host/*.cpp
  ${PROJECT_SOURCE_DIR}/src/platform/host/cabinet/*.cpp)
file(GLOB SETUP_WIN32_PLATFORM_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/src/platform/*.cpp
  ${PROJECT_SOURCE_DIR}/src/platform/win32/*.cpp)
