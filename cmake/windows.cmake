# The program and its Windows tests, cross-compiled with MinGW-w64.
enable_language(RC)

set(QV_WINDOWS_FLAGS ${QV_CHARSET_FLAGS} ${QV_WARNING_FLAGS})
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # Windows XP, Vista and 7 run on CPUs without SSE2: no SSE instructions,
    # floating point on the x87 unit.
    list(APPEND QV_WINDOWS_FLAGS -march=i686 -mfpmath=387)
endif()
# The program is built against the Windows XP headers, so the compiler refuses
# any call that XP lacks. Tests and tools may use newer calls: they get their
# own definitions (QV_TOOL_DEFINITIONS).
set(QV_PROGRAM_DEFINITIONS WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600)
set(QV_TOOL_DEFINITIONS WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0800)
set(QV_RC_FLAGS "-c 65001")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} ${QV_RC_FLAGS}")

file(GLOB QV_PROGRAM_SOURCES CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/base/*.cpp ${PROJECT_SOURCE_DIR}/browse/*.cpp ${PROJECT_SOURCE_DIR}/vault/*.cpp
    ${PROJECT_SOURCE_DIR}/fileops/*.cpp ${PROJECT_SOURCE_DIR}/app/*.cpp)
list(REMOVE_ITEM QV_PROGRAM_SOURCES ${PROJECT_SOURCE_DIR}/app/main.cpp)
add_library(quillvane_core STATIC ${QV_PROGRAM_SOURCES})
target_include_directories(quillvane_core PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_definitions(quillvane_core PRIVATE ${QV_PROGRAM_DEFINITIONS})
target_compile_options(quillvane_core PUBLIC ${QV_WINDOWS_FLAGS})
target_link_libraries(quillvane_core PUBLIC comctl32 shell32 shlwapi ole32 gdi32 user32 kernel32 advapi32)
# No link time in the PE header: the same sources give the same program.
target_link_options(quillvane_core PUBLIC -static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp)

# windres reads the manifest and the icons; CMake doesn't see that by itself.
file(GLOB QV_RESOURCE_FILES ${PROJECT_SOURCE_DIR}/res/*.ico ${PROJECT_SOURCE_DIR}/res/*.manifest)
set_source_files_properties(${PROJECT_SOURCE_DIR}/res/Quillvane.rc PROPERTIES OBJECT_DEPENDS "${QV_RESOURCE_FILES}")
add_executable(Quillvane WIN32 app/main.cpp res/Quillvane.rc)
target_link_libraries(Quillvane PRIVATE quillvane_core)
target_compile_definitions(Quillvane PRIVATE ${QV_PROGRAM_DEFINITIONS})
set_target_properties(Quillvane PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
# The MinGW runtime brings its own debug info and every object its symbols; the
# shipped program carries neither.
target_link_options(Quillvane PRIVATE $<$<CONFIG:Release>:-s>)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # The header's subsystem and OS version is the oldest Windows that loads
    # the program: 5.01 is Windows XP. Set here, it stays so whatever the
    # linker's default (ld 2.40 writes 4.0).
    target_link_options(Quillvane PRIVATE -Wl,--major-subsystem-version,5,--minor-subsystem-version,1
                                          -Wl,--major-os-version,5,--minor-os-version,1)
endif()

# Tests, benchmark and the screenshot driver are built for both
# architectures: where the kernel can't run 32-bit programs, Wine runs the
# 64-bit build.
add_subdirectory(tests/win)
add_subdirectory(bench)
add_subdirectory(tools)
