# Windows build: Kelvo.exe, the Windows unit tests and the end-to-end driver.
set(PCRE2_WIN_DIR ${CMAKE_SOURCE_DIR}/build/deps/pcre2-win CACHE PATH "PCRE2 built for Windows")
add_library(pcre2_16 STATIC IMPORTED)
set_target_properties(pcre2_16 PROPERTIES
  IMPORTED_LOCATION ${PCRE2_WIN_DIR}/lib/libpcre2-16.a
  INTERFACE_INCLUDE_DIRECTORIES ${PCRE2_WIN_DIR}/include
  INTERFACE_COMPILE_DEFINITIONS PCRE2_STATIC)

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
# Win32 structures are zero-initialised with a size member first ({sizeof(s)}) on purpose.
add_compile_options(-Wall -Wextra -Wno-missing-field-initializers -O2 -ffunction-sections
                    -fdata-sections)
# Reproducible output: the same sources give the same bytes in any folder. Paths in the objects
# are made relative (the build folder is named last: it may lie inside the source folder, and the
# last map given is tried first), and the linker writes no time stamp into the PE header.
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=.)
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp)
set(WIN_LIBS user32 gdi32 shell32 ole32 oleaut32 uuid comctl32 advapi32 winmm
    windowscodecs shlwapi)

add_library(kelvo_core STATIC ${PORTABLE_SOURCES} ${WIN_SOURCES})
target_include_directories(kelvo_core PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(kelvo_core PUBLIC pcre2_16 ${WIN_LIBS})

add_executable(Kelvo WIN32 ${CMAKE_SOURCE_DIR}/src/app/main_win.cpp ${CMAKE_SOURCE_DIR}/res/kelvo.rc)
target_link_libraries(Kelvo PRIVATE kelvo_core -municode)
set_target_properties(Kelvo PROPERTIES OUTPUT_NAME Kelvo)
# A lean image: unused code and data dropped, and a file alignment of the page size so that the
# loader maps the image from the file instead of copying it into private memory (Wine copies
# images whose sections are not page-aligned in the file).
target_link_options(Kelvo PRIVATE -Wl,--gc-sections -Wl,--file-alignment,4096
                    -Wl,--section-alignment,4096)
# Kelvo.exe ships stripped; its symbols stay beside it in Kelvo.debug for crash analysis.
# objcopy and strip stamp the time of the run into the PE header they write unless
# SOURCE_DATE_EPOCH names one: 0, as the linker left it.
set(BINUTILS_NO_TIME ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0)
add_custom_command(TARGET Kelvo POST_BUILD
  COMMAND ${BINUTILS_NO_TIME} ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:Kelvo>
          ${CMAKE_BINARY_DIR}/Kelvo.debug
  COMMAND ${BINUTILS_NO_TIME} ${CMAKE_STRIP} --strip-all $<TARGET_FILE:Kelvo>
  COMMAND ${BINUTILS_NO_TIME} ${CMAKE_OBJCOPY} --add-gnu-debuglink=${CMAKE_BINARY_DIR}/Kelvo.debug
          $<TARGET_FILE:Kelvo>
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
# The user's guide ships beside Kelvo.exe as a text for Notepad (Kelvo-README.txt) and a page for
# the browser (Kelvo-README.html, which the about box's link opens), both made from docs/GUIDE.md.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(GUIDE_OUTPUTS ${CMAKE_BINARY_DIR}/Kelvo-README.txt ${CMAKE_BINARY_DIR}/Kelvo-README.html)
add_custom_command(OUTPUT ${GUIDE_OUTPUTS}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/render_guide.py
          ${CMAKE_SOURCE_DIR}/docs/GUIDE.md ${GUIDE_OUTPUTS}
  DEPENDS ${CMAKE_SOURCE_DIR}/docs/GUIDE.md ${CMAKE_SOURCE_DIR}/scripts/render_guide.py
  VERBATIM)
add_custom_target(user_guide ALL DEPENDS ${GUIDE_OUTPUTS})
add_dependencies(Kelvo user_guide)

# The settings checker, a console program shipped beside Kelvo.exe; the same resources give it
# Kelvo's version, from which it knows the upgrades a load applies.
add_executable(KelvoCheck ${CMAKE_SOURCE_DIR}/src/check/main_win.cpp ${CMAKE_SOURCE_DIR}/res/kelvo.rc)
target_link_libraries(KelvoCheck PRIVATE kelvo_core -municode)
target_link_options(KelvoCheck PRIVATE -Wl,--gc-sections -s)

add_executable(kelvo_unit_tests ${UNIT_TESTS_PORTABLE} ${UNIT_TESTS_WIN} ${SUPPORT_SOURCES}
               ${SUPPORT_WIN})
target_include_directories(kelvo_unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(kelvo_unit_tests PRIVATE kelvo_core gmock gtest_main)
# A test reads Kelvo.exe's import table.
add_dependencies(kelvo_unit_tests Kelvo)

# Driving Kelvo from outside (starting programs, waiting, reading windows and files, the leak
# probes): one library for the end-to-end driver and the benchmarks, without GoogleTest.
file(GLOB DRIVE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/drive/*.cpp)
add_library(kelvo_drive STATIC ${DRIVE_SOURCES})
target_include_directories(kelvo_drive PUBLIC ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(kelvo_drive PUBLIC kelvo_core)

file(GLOB E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
if(E2E_SOURCES)
  add_executable(kelvo_e2e ${E2E_SOURCES} ${SUPPORT_WIN})
  target_include_directories(kelvo_e2e PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)
  # zlib (Debian's libz-mingw-w64-dev) unpacks the release zip that the package test opens.
  target_link_libraries(kelvo_e2e PRIVATE kelvo_drive gtest_main z)
  # The driver runs the programs it tests from its own folder.
  add_dependencies(kelvo_e2e Kelvo KelvoCheck user_guide)
endif()

file(GLOB E2E_HELPERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/programs/*.cpp)
foreach(helper ${E2E_HELPERS})
  get_filename_component(name ${helper} NAME_WE)
  add_executable(${name} WIN32 ${helper})
  target_link_libraries(${name} PRIVATE user32 -municode)
  if(name STREQUAL "kelvo_poke")
    set_target_properties(${name} PROPERTIES WIN32_EXECUTABLE OFF)
  endif()
endforeach()

# What every benchmark shares besides the driving library: timing, figures, key presses and the
# long runs' session.
add_library(kelvo_bench_support STATIC ${CMAKE_SOURCE_DIR}/bench/support/bench_support_win.cpp
            ${CMAKE_SOURCE_DIR}/bench/support/bench_session_win.cpp)
target_include_directories(kelvo_bench_support PUBLIC ${CMAKE_SOURCE_DIR}/bench)
target_link_libraries(kelvo_bench_support PUBLIC kelvo_drive psapi)

# The floors: minimal programs that do what one of Kelvo's windows does at the Win32 level, with
# Kelvo's manifest, measured beside Kelvo in the same run.
add_executable(kelvo_floor ${CMAKE_SOURCE_DIR}/bench/floors/kelvo_floor.cpp
               ${CMAKE_SOURCE_DIR}/bench/floors/kelvo_floor.rc)
target_include_directories(kelvo_floor PRIVATE ${CMAKE_SOURCE_DIR}/res)
target_link_libraries(kelvo_floor PRIVATE comctl32 -municode)

file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_win.cpp)
foreach(bench ${BENCH_SOURCES})
  get_filename_component(name ${bench} NAME_WE)
  add_executable(${name} ${bench})
  target_link_libraries(${name} PRIVATE kelvo_bench_support -municode)
endforeach()

# A library the unit tests place beside themselves under a system library's name, and whose
# icon resource (the application icon) they load.
add_library(kelvo_probe_library SHARED
            ${CMAKE_SOURCE_DIR}/tests/support/probe_library/probe_library.cpp
            ${CMAKE_SOURCE_DIR}/tests/support/probe_library/probe_library.rc)
target_include_directories(kelvo_probe_library PRIVATE ${CMAKE_SOURCE_DIR}/res)
set_target_properties(kelvo_probe_library PROPERTIES PREFIX "")
add_dependencies(kelvo_unit_tests kelvo_probe_library)
