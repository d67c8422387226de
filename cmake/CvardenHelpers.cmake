# SPDX-License-Identifier: GPL-2.0-or-later
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

# The programs go on the PATH. On Windows options.dat and its choice lists lie
# beside them; elsewhere in the architecture-independent data folder, where
# the installed programs look for them (settings/cataloguelocation.h).
include(GNUInstallDirs)
set(CVARDEN_PROGRAM_DIR ${CMAKE_INSTALL_BINDIR})
set(CVARDEN_FULL_PROGRAM_DIR ${CMAKE_INSTALL_FULL_BINDIR})
if(WIN32)
    set(CVARDEN_CATALOGUE_DIR ${CMAKE_INSTALL_BINDIR})
else()
    set(CVARDEN_CATALOGUE_DIR ${CMAKE_INSTALL_DATADIR}/cvarden)
endif()
set(CVARDEN_FULL_CATALOGUE_DIR ${CMAKE_INSTALL_PREFIX}/${CVARDEN_CATALOGUE_DIR})

function(cvarden_install_program target)
    install(TARGETS ${target} RUNTIME DESTINATION ${CVARDEN_PROGRAM_DIR})
endfunction()
