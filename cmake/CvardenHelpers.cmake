# One test executable per test file, linking only what it tests plus Qt Test,
# run offscreen so that GUI tests need no display.
function(cvarden_add_test name)
    cmake_parse_arguments(ARG "" "" "LIBRARIES" ${ARGN})
    add_executable(${name} ${name}.cpp)
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} Qt6::Test)
    target_compile_definitions(${name} PRIVATE
        CVARDEN_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data"
        CVARDEN_SAMPLE_DATA="${PROJECT_SOURCE_DIR}/data"
        CVARDEN_SHARED_CONFIGS="${PROJECT_SOURCE_DIR}/../shared/configs")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
