# The Windows builds: the module as a DLL named Vorlinde.dxl that needs no
# DLL beyond the system's, and the command-line host.
enable_language(RC)
# Resource scripts are UTF-8 (ours says so itself too); their texts must reach
# the module as exact UTF-16.
string(APPEND CMAKE_RC_FLAGS " --codepage=65001")

add_library(Vorlinde SHARED
  $<TARGET_OBJECTS:vorlinde_objects>
  host/system_clock.cpp
  resources/vorlinde.def
  resources/vorlinde.rc
)
target_include_directories(Vorlinde PRIVATE ${CMAKE_SOURCE_DIR})
set_target_properties(Vorlinde PROPERTIES PREFIX "" SUFFIX ".dxl" OUTPUT_NAME Vorlinde)
target_link_options(Vorlinde PRIVATE -static -static-libgcc -static-libstdc++
                    -Wl,--enable-stdcall-fixup)
target_link_libraries(Vorlinde PRIVATE comdlg32 user32 kernel32)

add_executable(vorlinde-host tools/vorlinde_host.cpp tools/terminal_windows.cpp)
target_include_directories(vorlinde-host PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(vorlinde-host PRIVATE VORLINDE_DEFAULT_MODULE="Vorlinde.dxl")
target_link_options(vorlinde-host PRIVATE -static -static-libgcc -static-libstdc++)
