# A program that restarts itself the way the Settings page's "Ok" does; the restart test runs it.
add_executable(restart_spawn_helper restart_spawn_helper.cpp)
target_link_libraries(restart_spawn_helper PRIVATE calvora_platform_linux)

calvora_add_gtest(NAME platform_linux_settings_tests
    SOURCES profile_document_test.cpp profile_ini_file_test.cpp registry_reg_file_test.cpp
        special_folders_xdg_test.cpp language_locale_env_test.cpp restart_spawn_test.cpp
    LIBS calvora_platform_linux)
target_compile_definitions(platform_linux_settings_tests PRIVATE
    RESTART_HELPER="$<TARGET_FILE:restart_spawn_helper>")
add_dependencies(platform_linux_settings_tests restart_spawn_helper)
