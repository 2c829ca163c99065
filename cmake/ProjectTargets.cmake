# Target helpers. Each folder adds its targets with one call:
#   add_portable_library(name src...)   plain C++ core, every preset
#   add_windows_library(name src...)    Win32 layer, MinGW presets only
#   add_windows_program(name src...)    a Windows GUI/console .exe (wmain/wWinMain)
#   add_portable_tool(name src...)      a command-line tool for every preset
# Libraries to link are added afterwards with target_link_libraries as usual.

add_library(project_options INTERFACE)
target_compile_features(project_options INTERFACE cxx_std_20)
target_include_directories(project_options INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_options(project_options INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Werror>
  $<$<COMPILE_LANGUAGE:C>:-Wall -Wextra -Werror>)

if(WIN32)
  target_compile_definitions(project_options INTERFACE
    UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  # Every .exe must run on a bare Windows without MinGW's runtime DLLs.
  target_link_options(project_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()

if(PROJECT_SANITIZE AND NOT WIN32)
  target_compile_options(project_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(project_options INTERFACE -fsanitize=address,undefined)
endif()

function(add_portable_library name)
  add_library(${name} STATIC ${ARGN})
  target_link_libraries(${name} PUBLIC project_options)
endfunction()

function(add_windows_library name)
  if(WIN32)
    add_library(${name} STATIC ${ARGN})
    target_link_libraries(${name} PUBLIC project_options)
  endif()
endfunction()

function(add_windows_program name)
  if(WIN32)
    add_executable(${name} WIN32 ${ARGN})
    target_link_libraries(${name} PRIVATE project_options)
    target_link_options(${name} PRIVATE -municode)
  endif()
endfunction()

function(add_portable_tool name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE project_options)
endfunction()

# The Firebird client API's C header (Debian's firebird-dev), usable by the
# MinGW builds too: only ibase.h is exposed, not the rest of /usr/include.
add_library(firebird_headers INTERFACE)
if(EXISTS /usr/include/ibase.h)
  file(COPY /usr/include/ibase.h DESTINATION ${CMAKE_BINARY_DIR}/include/firebird-c)
endif()
target_include_directories(firebird_headers SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/include/firebird-c)
