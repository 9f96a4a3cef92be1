# Windows targets (cross-compiled with mingw-w64): vtl.exe, the Network Drives
# add-in DLL and, with VANTREL_TESTS, the Windows test program. The reasons for
# each setting are in docs/windows.md.

# 0x0400: Windows 95 and NT 4, so that declarations of newer functions stay hidden.
add_compile_definitions(_WIN32_WINNT=0x0400 WINVER=0x0400 NOMINMAX)
# One program file: no libgcc, libstdc++ or thread DLL beside it.
add_link_options(-static -static-libgcc -static-libstdc++)
set(VANTREL_SUBSYSTEM_4_0
  -Wl,--major-subsystem-version,4 -Wl,--minor-subsystem-version,0
  -Wl,--major-os-version,4 -Wl,--minor-os-version,0)

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The real Windows API behind the platform interface.
file(GLOB_RECURSE WIN32_PLATFORM_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp)
add_library(vantrel_win32 STATIC ${WIN32_PLATFORM_SOURCES})
target_link_libraries(vantrel_win32 PUBLIC vantrel_core
  winspool comdlg32 mpr gdi32 user32 shell32 ole32 oleaut32 uuid advapi32 kernel32)

# The window: views/win32/ without its entry point is a library the tests use too.
file(GLOB_RECURSE VIEW_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/views/win32/*.cpp)
list(FILTER VIEW_SOURCES EXCLUDE REGEX "/WinMain\\.cpp$")
add_library(vantrel_views INTERFACE)
if(VIEW_SOURCES)
  add_library(vantrel_views_code STATIC ${VIEW_SOURCES})
  target_link_libraries(vantrel_views_code PUBLIC vantrel_win32 comctl32)
  target_link_libraries(vantrel_views INTERFACE vantrel_views_code)
endif()
file(GLOB_RECURSE VIEW_RESOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/views/win32/*.rc)
add_executable(vtl WIN32 views/win32/WinMain.cpp ${VIEW_RESOURCES})
target_link_libraries(vtl PRIVATE vantrel_views vantrel_win32 comctl32)
target_link_options(vtl PRIVATE ${VANTREL_SUBSYSTEM_4_0})

# A DLL from the .cpp, .def and .rc files of `dirs`, named as its .def's LIBRARY
# line says (else `fallback`).
function(vantrel_dll target fallback dirs)
  set(sources)
  foreach(dir IN LISTS dirs)
    file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.def ${dir}/*.rc)
    list(APPEND sources ${found})
  endforeach()
  list(FILTER sources EXCLUDE REGEX "/Module\\.cpp$")
  set(name ${fallback})
  foreach(src IN LISTS sources)
    if(src MATCHES "\\.def$")
      file(STRINGS ${src} library REGEX "^LIBRARY[ \t]")
      if(library MATCHES "^LIBRARY[ \t]+\"?([^ \t\".]+)")
        set(name ${CMAKE_MATCH_1})
      endif()
    endif()
  endforeach()
  add_library(${target} SHARED ${sources})
  target_link_libraries(${target} PRIVATE vantrel_win32)
  # Exports in the .def are named without the stdcall decoration.
  target_link_options(${target} PRIVATE ${VANTREL_SUBSYSTEM_4_0} -Wl,--enable-stdcall-fixup)
  set_target_properties(${target} PROPERTIES PREFIX "" IMPORT_PREFIX "" OUTPUT_NAME ${name})
endfunction()

# The Network Drives add-in: a COM in-process server with its own copy of the
# core, shipped in addins\ beside vtl.exe.
vantrel_dll(NetworkDrives NetworkDrives
  "${CMAKE_SOURCE_DIR}/addins/NetworkDrives;${CMAKE_SOURCE_DIR}/addins/NetworkDrives/win32")
set_target_properties(NetworkDrives PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/addins)
add_dependencies(vtl NetworkDrives)

if(VANTREL_TESTS)
  # GoogleTest from Debian's sources, built by the cross compiler.
  set(GTEST_SRC /usr/src/googletest/googletest)
  add_library(gtest_win STATIC ${GTEST_SRC}/src/gtest-all.cc ${GTEST_SRC}/src/gtest_main.cc)
  target_include_directories(gtest_win SYSTEM PUBLIC ${GTEST_SRC}/include PRIVATE ${GTEST_SRC})
  target_compile_options(gtest_win PRIVATE -w
    PUBLIC -include ${CMAKE_SOURCE_DIR}/cmake/gtest-notification.h)
  target_compile_definitions(gtest_win PUBLIC GTEST_HAS_NOTIFICATION_=1)

  # Each folder below tests/win32/ is a DLL the tests load (e.g. an add-in of
  # their own), built beside the test program.
  file(GLOB TEST_DLL_DIRS LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tests/win32/*)
  set(TEST_DLLS)
  foreach(dir IN LISTS TEST_DLL_DIRS)
    if(IS_DIRECTORY ${dir})
      get_filename_component(name ${dir} NAME)
      vantrel_dll(test_dll_${name} ${name} ${dir})
      list(APPEND TEST_DLLS test_dll_${name})
    endif()
  endforeach()

  # The Windows tests, and the shared tests that need no machine image.
  file(GLOB WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
  set(SHARED_TESTS test_ip_text.cpp)
  list(TRANSFORM SHARED_TESTS PREPEND ${CMAKE_SOURCE_DIR}/tests/)
  add_executable(vantrel_win_tests ${WIN_TEST_SOURCES} ${SHARED_TESTS})
  target_link_libraries(vantrel_win_tests PRIVATE vantrel_views vantrel_win32 gtest_win)
  target_compile_definitions(vantrel_win_tests PRIVATE
    VANTREL_SAMPLES_DIR="Z:${CMAKE_SOURCE_DIR}/samples")
  if(TEST_DLLS)
    add_dependencies(vantrel_win_tests ${TEST_DLLS})
  endif()
  add_dependencies(vantrel_win_tests vtl)

  # Start-up time of vtl.exe (scripts/bench-startup.sh).
  add_executable(bench_startup ${CMAKE_SOURCE_DIR}/bench/win32/bench_startup.cpp)
  target_link_libraries(bench_startup PRIVATE user32 kernel32)
  add_dependencies(bench_startup vtl)
endif()
