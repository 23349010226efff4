# Native build: the portable logic and its unit tests, with sanitizers.
find_package(PkgConfig REQUIRED)
pkg_check_modules(PCRE2 REQUIRED IMPORTED_TARGET libpcre2-16)

set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
add_compile_options(-Wall -Wextra -g)

add_library(kelvo_core STATIC ${PORTABLE_SOURCES} ${POSIX_SOURCES})
target_include_directories(kelvo_core PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(kelvo_core PUBLIC ${SANITIZE})
target_link_options(kelvo_core PUBLIC ${SANITIZE})
target_link_libraries(kelvo_core PUBLIC PkgConfig::PCRE2)

add_executable(kelvo_unit_tests ${UNIT_TESTS_PORTABLE} ${UNIT_TESTS_POSIX} ${SUPPORT_SOURCES})
target_include_directories(kelvo_unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(kelvo_unit_tests PRIVATE kelvo_core gmock gtest_main)
# The checker's test reads the shipped samples.
target_compile_definitions(kelvo_unit_tests PRIVATE KELVO_SAMPLE_DIR="${CMAKE_SOURCE_DIR}/docs/sample")
# A test scans Kelvo's sources for handles made outside the creation helpers.
target_compile_definitions(kelvo_unit_tests PRIVATE KELVO_SOURCE_DIR="${CMAKE_SOURCE_DIR}/src")
target_compile_options(gtest PRIVATE ${SANITIZE})
target_compile_options(gmock PRIVATE ${SANITIZE})
target_compile_options(gtest_main PRIVATE ${SANITIZE})
