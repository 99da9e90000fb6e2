# GoogleTest in a cross build: Debian ships its sources (googletest package) in
# /usr/src/googletest; they are built here with the cross compiler, and give
# the same GTest::gtest and GTest::gtest_main targets as find_package(GTest).
set(ZMR_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's sources")
if(NOT EXISTS ${ZMR_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest's sources not found in ${ZMR_GOOGLETEST_SOURCE_DIR} (run scripts/setup.sh)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${ZMR_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
