# wxWidgets as one interface target, nomvarix_wx, so that only the GUI targets that link it see its
# include folders and definitions (wxWidgets' use-file would set them for the whole folder).
add_library(nomvarix_wx INTERFACE)
target_include_directories(nomvarix_wx SYSTEM INTERFACE ${wxWidgets_INCLUDE_DIRS})
target_compile_definitions(nomvarix_wx INTERFACE ${wxWidgets_DEFINITIONS}
                           $<$<CONFIG:Debug>:${wxWidgets_DEFINITIONS_DEBUG}>)
separate_arguments(_wx_cxx_flags UNIX_COMMAND "${wxWidgets_CXX_FLAGS}")
target_compile_options(nomvarix_wx INTERFACE ${_wx_cxx_flags})
target_link_libraries(nomvarix_wx INTERFACE ${wxWidgets_LIBRARIES})
