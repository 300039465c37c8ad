# Release builds for Linux carry the hardening a distribution expects of a program: checked string
# and memory functions, stack protection, a position-independent executable and a relocation table
# that is read-only once the program has started (full RELRO with immediate binding).
if(NOT WIN32 AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  include(CheckPIESupported)
  check_pie_supported(LANGUAGES CXX)
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  add_compile_options("$<$<CONFIG:Release>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2;-fstack-protector-strong>")
  add_link_options("$<$<CONFIG:Release>:LINKER:-z,relro,-z,now>")
endif()
