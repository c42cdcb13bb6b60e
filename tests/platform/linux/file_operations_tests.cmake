calvora_add_gtest(NAME platform_linux_file_operations_tests
    SOURCES file_operations_test.cpp
    LIBS calvora_platform_linux)
