# libcurl and nlohmann/json, which the AI assistant's chat client uses, as the targets
# CURL::libcurl and nlohmann_json::nlohmann_json.
if(CMAKE_CROSSCOMPILING AND MINGW)
  # The static libcurl (Schannel) of scripts/windows/build-deps.sh, with the system libraries it
  # calls into.
  find_path(NOMVARIX_CURL_INCLUDE_DIR curl/curl.h REQUIRED)
  find_library(NOMVARIX_CURL_LIBRARY NAMES libcurl.a curl REQUIRED)
  find_library(NOMVARIX_ZLIB_LIBRARY NAMES libz.a z REQUIRED)
  add_library(CURL::libcurl STATIC IMPORTED)
  set_target_properties(CURL::libcurl PROPERTIES
    IMPORTED_LOCATION ${NOMVARIX_CURL_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${NOMVARIX_CURL_INCLUDE_DIR}
    INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB
    INTERFACE_LINK_LIBRARIES "${NOMVARIX_ZLIB_LIBRARY};ws2_32;crypt32;secur32;bcrypt;advapi32;iphlpapi;normaliz")
  # Headers only: the build machine's copy serves every target. Its folder is linked into the build
  # tree on its own, since the build machine's system headers must not be seen.
  find_path(NOMVARIX_JSON_INCLUDE_DIR nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(_json_include ${CMAKE_BINARY_DIR}/host-headers)
  file(MAKE_DIRECTORY ${_json_include})
  file(CREATE_LINK ${NOMVARIX_JSON_INCLUDE_DIR}/nlohmann ${_json_include}/nlohmann SYMBOLIC)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${_json_include})
else()
  find_package(CURL REQUIRED)
  find_package(nlohmann_json 3.11 REQUIRED)
endif()
