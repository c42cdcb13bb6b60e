calvora_add_gtest(NAME platform_linux_code_pages_tests
    SOURCES code_pages_test.cpp
    LIBS calvora_platform_linux)
