# The format library on image files and loop devices, checked with the file systems' own tools.
calvora_add_gtest(NAME format_library_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/format_library_fixture.cpp
        ${CMAKE_CURRENT_LIST_DIR}/format_library_plan_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/format_library_format_test.cpp
        ${CMAKE_CURRENT_LIST_DIR}/format_library_refusal_test.cpp
    LIBS calvora_platform_linux)
