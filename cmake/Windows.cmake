# What the Windows build adds beside the program: GoogleTest for the target
# and a private Wine in which CTest runs the Windows tests.
set(SORAMADO_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources to build for Windows")
if(SORAMADO_BUILD_TESTS)
    if(NOT EXISTS ${SORAMADO_GTEST_SOURCE_DIR}/CMakeLists.txt)
        message(FATAL_ERROR "No GoogleTest sources at ${SORAMADO_GTEST_SOURCE_DIR}; "
                            "scripts/setup.sh installs Debian's googletest package")
    endif()
    add_subdirectory(${PROJECT_SOURCE_DIR}/cmake/googletest ${PROJECT_BINARY_DIR}/googletest-build)
endif()

# One Wine prefix for the whole build tree, so no test touches ~/.wine.
set(SORAMADO_WINEPREFIX ${PROJECT_BINARY_DIR}/wineprefix)
find_program(SORAMADO_WINESERVER NAMES wineserver64 wineserver PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(SORAMADO_WINESERVER NAMES wineserver)
set(SORAMADO_WINE_ENVIRONMENT
    WINEPREFIX=${SORAMADO_WINEPREFIX}
    WINEDEBUG=-all
    # No Mono or Gecko install prompt in a prefix made for tests, and no
    # entries in the user's desktop menus.
    "WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe=d"
    WINESERVER=${SORAMADO_WINESERVER}
    WINELOADER=${SORAMADO_WINE64})

# The tests that run Windows programs require the fixture "wine": a private
# X server, a persistent wineserver and a booted prefix. Started from a test, a Wine
# service would keep CTest's output pipe open and CTest would wait for it, so
# the script detaches their standard streams.
if(SORAMADO_BUILD_TESTS)
    add_test(NAME wine.start
        COMMAND sh ${PROJECT_SOURCE_DIR}/tests/win32/wine-start.sh
                ${SORAMADO_WINEPREFIX} ${SORAMADO_WINE64} ${SORAMADO_WINESERVER})
    add_test(NAME wine.stop
        COMMAND sh ${PROJECT_SOURCE_DIR}/tests/win32/wine-stop.sh
                ${SORAMADO_WINEPREFIX} ${SORAMADO_WINESERVER})
    set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 180
        FIXTURES_REQUIRED real-home ENVIRONMENT "${SORAMADO_WINE_ENVIRONMENT}" LABELS "unit;windows")
    set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine
        FIXTURES_REQUIRED real-home ENVIRONMENT "${SORAMADO_WINE_ENVIRONMENT}" LABELS "unit;windows")
    # The scripts give every Wine program a home of its own (wine-home.sh);
    # the fixture "real-home" lists the real one before the Windows tests and
    # fails after them if anything there is new.
    set(home_list ${PROJECT_BINARY_DIR}/real-home.list)
    add_test(NAME windows.home-before
        COMMAND sh ${PROJECT_SOURCE_DIR}/tests/win32/real-home.sh snapshot ${home_list})
    add_test(NAME windows.home-after
        COMMAND sh ${PROJECT_SOURCE_DIR}/tests/win32/real-home.sh compare ${home_list})
    set_tests_properties(windows.home-before PROPERTIES FIXTURES_SETUP real-home LABELS "unit;windows")
    set_tests_properties(windows.home-after PROPERTIES FIXTURES_CLEANUP real-home LABELS "unit;windows")
endif()

# soramado_add_wine_test(NAME name COMMAND target args... [LABELS labels...])
# One CTest test for a whole Windows test program, run under Wine on the
# fixture's display.
function(soramado_add_wine_test)
    cmake_parse_arguments(T "" "NAME" "COMMAND;LABELS" ${ARGN})
    list(POP_FRONT T_COMMAND program)
    add_test(NAME ${T_NAME}
        COMMAND sh ${PROJECT_SOURCE_DIR}/tests/win32/wine-run.sh ${SORAMADO_WINEPREFIX}
                ${SORAMADO_WINE64} $<TARGET_FILE:${program}> ${T_COMMAND})
    set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED "wine;real-home"
        ENVIRONMENT "${SORAMADO_WINE_ENVIRONMENT}" LABELS "${T_LABELS}" TIMEOUT 300)
endfunction()
