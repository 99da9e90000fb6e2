# CLI11 and nlohmann-json in a cross build. Both are header-only, so Debian's
# headers serve any target; but their CMake packages name the host's
# /usr/include, which would put the host's C library headers in front of the
# target's. Only their two folders are copied into the build tree, and the
# usual targets point there.
set(ZMR_DEBIAN_INCLUDE_DIR /usr/include CACHE PATH "Where Debian's libcli11-dev and nlohmann-json3-dev put their headers")
set(ZMR_HEADER_LIBRARIES_DIR ${CMAKE_BINARY_DIR}/header-libraries)

foreach(folder CLI nlohmann)
  if(NOT EXISTS ${ZMR_DEBIAN_INCLUDE_DIR}/${folder})
    message(FATAL_ERROR "${ZMR_DEBIAN_INCLUDE_DIR}/${folder} not found (run scripts/setup.sh)")
  endif()
  file(COPY ${ZMR_DEBIAN_INCLUDE_DIR}/${folder} DESTINATION ${ZMR_HEADER_LIBRARIES_DIR})
endforeach()

add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 INTERFACE ${ZMR_HEADER_LIBRARIES_DIR})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json INTERFACE ${ZMR_HEADER_LIBRARIES_DIR})
