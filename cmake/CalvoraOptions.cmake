# Build-wide options: warnings as errors, optional sanitizers, Qt detection.

option(CALVORA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(CALVORA_WITH_QT "Build the Qt windows and widgets" ON)
option(CALVORA_WITH_BENCH "Build the benchmarks" ON)
option(CALVORA_WITH_FUZZ "Build the libFuzzer targets (clang only)" OFF)

add_compile_options(-Wall -Wextra -Werror)

if(CALVORA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

if(CALVORA_WITH_QT)
    find_package(Qt6 6.4 COMPONENTS Widgets Test QUIET)
    if(NOT Qt6_FOUND)
        message(STATUS "Qt 6 not found: windows and widgets are not built")
        set(CALVORA_WITH_QT OFF)
    endif()
endif()

find_package(GTest REQUIRED)
include(GoogleTest)

# calvora_add_gtest(NAME name SOURCES ... LIBS ...): one test program, its tests listed in CTest.
function(calvora_add_gtest)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "CALVORA_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
        ENVIRONMENT_MODIFICATION "QT_QPA_PLATFORM=set:offscreen")
endfunction()
