# SPDX-License-Identifier: GPL-3.0-or-later
# gl_add_test(<name> LAYER unit|ui SOURCES ... [LIBS ...])
# One Qt Test executable per test file, registered with CTest and labelled with its layer.
# Settings, data and cache folders of each test program's own (tests/support/TestEnvironment.cpp).
add_library(gltestenvironment OBJECT ${CMAKE_CURRENT_LIST_DIR}/support/TestEnvironment.cpp)
target_link_libraries(gltestenvironment PRIVATE Qt6::Core)

function(gl_add_test name)
    cmake_parse_arguments(T "" "LAYER" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test glcore gltestenvironment ${T_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
    target_compile_definitions(${name} PRIVATE
        GL_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
        GL_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        GL_BINARY_DIR="${PROJECT_BINARY_DIR}")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS ${T_LAYER} TIMEOUT 300)
    if(T_LAYER STREQUAL "ui")
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    endif()
endfunction()
