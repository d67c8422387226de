# One test executable per test file, linking only what it tests plus Qt Test,
# run offscreen so that GUI tests need no display.
function(cvarden_add_test name)
    cmake_parse_arguments(ARG "" "" "LIBRARIES" ${ARGN})
    add_executable(${name} ${name}.cpp)
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} Qt6::Test)
    target_compile_definitions(${name} PRIVATE
        CVARDEN_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data"
        CVARDEN_SAMPLE_DATA="${PROJECT_SOURCE_DIR}/data"
        CVARDEN_SHARED_CONFIGS="${PROJECT_SOURCE_DIR}/../shared/configs"
        CVARDEN_SHARED_FACTS="${PROJECT_SOURCE_DIR}/../shared/facts"
        CVARDEN_SHARED_FINDINGS="${PROJECT_SOURCE_DIR}/../shared/findings")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# The programs read options.dat and its choice lists from their own folder, so
# they are installed beside them, and the command on the PATH links to each.
include(GNUInstallDirs)
if(WIN32)
    set(CVARDEN_PROGRAM_DIR ${CMAKE_INSTALL_BINDIR})
else()
    set(CVARDEN_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/cvarden)
endif()

function(cvarden_install_program target)
    install(TARGETS ${target} RUNTIME DESTINATION ${CVARDEN_PROGRAM_DIR})
    if(UNIX AND NOT APPLE)
        file(RELATIVE_PATH launcher_target /${CMAKE_INSTALL_BINDIR} /${CVARDEN_PROGRAM_DIR}/${target})
        install(CODE "
            set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
            file(MAKE_DIRECTORY \"\${bin}\")
            file(CREATE_LINK \"${launcher_target}\" \"\${bin}/${target}\" SYMBOLIC)
            message(STATUS \"Installing: \${bin}/${target} -> ${launcher_target}\")")
    endif()
endfunction()
