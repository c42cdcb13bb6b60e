calvora_add_gtest(NAME drive_table_tests
    SOURCES drive_table_rules_test.cpp drive_table_media_test.cpp
    LIBS calvora_platform_linux)
