find_package(GTest REQUIRED)

set(VELMORA_TEST_ENVIRONMENT
    QT_QPA_PLATFORM=offscreen
    # The program's first start follows the desktop's language; the tests expect English.
    LC_ALL=C.UTF-8
    ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    "TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:ignore_noninstrumented_modules=1"
    LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp)

# velmora_add_test(<name> SOURCES <files...> [LIBRARIES <targets...>] [TIMEOUT <seconds>])
# One GoogleTest executable, registered as one CTest test that runs offscreen.
function(velmora_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gmock)
    add_test(NAME ${name} COMMAND ${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT "${VELMORA_TEST_ENVIRONMENT}")
endfunction()
