# Shared build helpers: every target of ours goes through lw_target_defaults so that
# warnings and the sanitizer build apply per target, never through global flags.

# FreeImage ships no CMake package; find the Debian library and header.
find_path(FREEIMAGE_INCLUDE_DIR FreeImage.h REQUIRED)
find_library(FREEIMAGE_LIBRARY NAMES freeimage REQUIRED)
add_library(FreeImage::FreeImage UNKNOWN IMPORTED)
set_target_properties(FreeImage::FreeImage PROPERTIES
  IMPORTED_LOCATION "${FREEIMAGE_LIBRARY}"
  INTERFACE_INCLUDE_DIRECTORIES "${FREEIMAGE_INCLUDE_DIR}")

# Debian's cpp-httplib (libcpp-httplib-dev) is a compiled library whose types depend on
# the switches it was built with, so users must compile with the same ones.
find_path(HTTPLIB_INCLUDE_DIR httplib.h REQUIRED)
find_library(HTTPLIB_LIBRARY cpp-httplib REQUIRED)
add_library(httplib::httplib UNKNOWN IMPORTED)
set_target_properties(httplib::httplib PROPERTIES
  IMPORTED_LOCATION "${HTTPLIB_LIBRARY}"
  INTERFACE_INCLUDE_DIRECTORIES "${HTTPLIB_INCLUDE_DIR}"
  INTERFACE_COMPILE_DEFINITIONS "CPPHTTPLIB_OPENSSL_SUPPORT;CPPHTTPLIB_ZLIB_SUPPORT;CPPHTTPLIB_BROTLI_SUPPORT"
  INTERFACE_LINK_LIBRARIES Threads::Threads)

set(LW_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)

function(lw_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(LW_SANITIZE)
    target_compile_options(${target} PRIVATE ${LW_SANITIZER_FLAGS})
    target_link_options(${target} PRIVATE ${LW_SANITIZER_FLAGS})
  endif()
  if(LW_FUZZ)
    # Coverage for libFuzzer in the libraries the fuzz targets link.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# Precompiled headers: most compile time goes into parsing the same Qt and GoogleTest
# headers again for every file.
function(lw_use_pch target kind)
  target_precompile_headers(${target} PRIVATE
    "$<$<COMPILE_LANGUAGE:CXX>:${PROJECT_SOURCE_DIR}/cmake/pch/${kind}_pch.h>")
endfunction()

# lw_add_library(NAME [GLOB_DIR dir] LIBS ...): a library made of every .cpp/.h in its folder.
function(lw_add_library name)
  cmake_parse_arguments(A "" "" "LIBS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB _hdr CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT _src)
    # A folder with no code yet still gives a target others can link.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${A_LIBS})
    return()
  endif()
  add_library(${name} STATIC ${_src} ${_hdr})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${A_LIBS})
  lw_target_defaults(${name})
  list(LENGTH _src _count)
  if("${A_LIBS}" MATCHES "Qt6::" AND _count GREATER 2)
    lw_use_pch(${name} qt)
  endif()
endfunction()

# lw_add_test_folder(NAME LIBS ...): one GoogleTest program from every .cpp in the folder,
# run by CTest on Qt's offscreen platform, with the shared main that starts a QApplication.
function(lw_add_test_folder name)
  cmake_parse_arguments(A "" "TIMEOUT" "LIBS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${name} ${_src})
  target_link_libraries(${name} PRIVATE lw_testmain ${A_LIBS})
  lw_target_defaults(${name})
  # One precompiled header for every test program (see tests/CMakeLists.txt).
  target_precompile_headers(${name} REUSE_FROM lw_test_pch)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${A_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LW_SOURCE_DIR=${PROJECT_SOURCE_DIR};LW_BINARY_DIR=${CMAKE_BINARY_DIR};ASAN_OPTIONS=detect_leaks=0")
endfunction()

# lw_add_fuzz(NAME SOURCE file LIBS ... [CORPUS dir]): with LW_FUZZ a libFuzzer program;
# otherwise a replay program that runs the seed corpus as a regression test.
function(lw_add_fuzz name)
  cmake_parse_arguments(A "" "SOURCE;CORPUS" "LIBS" ${ARGN})
  if(LW_FUZZ)
    add_executable(${name} ${A_SOURCE})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  else()
    add_executable(${name} ${A_SOURCE} ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cpp)
    lw_target_defaults(${name})
    if(A_CORPUS)
      add_test(NAME ${name}_corpus COMMAND ${name} ${A_CORPUS})
      set_tests_properties(${name}_corpus PROPERTIES TIMEOUT 300
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0")
    endif()
  endif()
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
endfunction()

# lw_add_bench(NAME SOURCES ... LIBS ...): a Google Benchmark program in build/bench.
function(lw_add_bench name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE benchmark::benchmark ${A_LIBS})
  lw_target_defaults(${name})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# Adds every subfolder that has a CMakeLists.txt, so a new subsystem needs no edit here.
function(lw_add_subfolders)
  file(GLOB _subs LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(_d ${_subs})
    if(IS_DIRECTORY ${_d} AND EXISTS ${_d}/CMakeLists.txt)
      add_subdirectory(${_d})
    endif()
  endforeach()
endfunction()
