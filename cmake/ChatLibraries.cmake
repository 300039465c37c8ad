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
  # Headers only: the build machine's copy serves every target.
  find_path(NOMVARIX_JSON_INCLUDE_DIR nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${NOMVARIX_JSON_INCLUDE_DIR})
else()
  find_package(CURL REQUIRED)
  find_package(nlohmann_json 3.11 REQUIRED)
endif()
