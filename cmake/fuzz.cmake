# Fuzz build: one libFuzzer program per fuzz/*_fuzz.cpp over the portable logic, the POSIX
# stand-ins and the test fakes, with AddressSanitizer and UBSan. Needs clang:
#   cmake -S . -B build/fuzz -G Ninja -DKELVO_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "KELVO_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
endif()

find_package(PkgConfig REQUIRED)
pkg_check_modules(PCRE2 REQUIRED IMPORTED_TARGET libpcre2-16)

if(NOT CMAKE_BUILD_TYPE)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "" FORCE)
endif()

set(FUZZ_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer)
add_compile_options(-Wall -Wextra -g)

# The code under test gets coverage instrumentation; only the targets link libFuzzer's main.
set(FUZZ_SUPPORT ${SUPPORT_SOURCES})
add_library(kelvo_fuzz_core STATIC ${PORTABLE_SOURCES} ${POSIX_SOURCES} ${FUZZ_SUPPORT})
target_include_directories(kelvo_fuzz_core PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests
                           ${CMAKE_SOURCE_DIR}/fuzz)
target_compile_options(kelvo_fuzz_core PUBLIC ${FUZZ_SANITIZE} -fsanitize=fuzzer-no-link)
target_link_options(kelvo_fuzz_core PUBLIC ${FUZZ_SANITIZE})
target_link_libraries(kelvo_fuzz_core PUBLIC PkgConfig::PCRE2)

file(GLOB FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*_fuzz.cpp)
foreach(source ${FUZZ_TARGETS})
  get_filename_component(target ${source} NAME_WE)
  add_executable(${target} ${source})
  target_compile_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${target} PRIVATE kelvo_fuzz_core)
endforeach()
