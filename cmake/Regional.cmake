# Whole-game tests run twice: under the C locale's decimal point and under the
# Argentine decimal comma of a Spanish desktop, where a game once wrote a
# history that no reader could open while every test ran pinned to C. The
# first run keeps the test's name, the second ends in ".es_AR". Each run sets
# LC_ALL; the tests take their number format from it. The Windows build runs
# each program once under Wine, whose locale does not come from LC_ALL.
set(CORVELIAN_LOCALE_PUNTO C.UTF-8)
set(CORVELIAN_LOCALE_COMA es_AR.UTF-8)

# corvelian_prueba_regional(NOMBRE COMMAND orden... [PROPIEDADES nombre valor...])
# add_test twice. ENVIRONMENT is taken for LC_ALL: other variables go in
# ENVIRONMENT_MODIFICATION (as "VARIABLE=set:valor").
function(corvelian_prueba_regional nombre)
  cmake_parse_arguments(PARSE_ARGV 1 A "" "" "COMMAND;PROPIEDADES")
  foreach(sufijo "" ".es_AR")
    set(locale ${CORVELIAN_LOCALE_PUNTO})
    if(sufijo)
      set(locale ${CORVELIAN_LOCALE_COMA})
    endif()
    add_test(NAME ${nombre}${sufijo} COMMAND ${A_COMMAND})
    set_tests_properties(${nombre}${sufijo} PROPERTIES ENVIRONMENT "LC_ALL=${locale}" ${A_PROPIEDADES})
  endforeach()
endfunction()

# corvelian_descubrir_regional(OBJETIVO [FILTRO gtest_filter] [PROPIEDADES nombre valor...])
# The GoogleTest cases of OBJETIVO, each as its own test, under C; those that
# FILTRO chooses (all when absent) once more under the decimal comma.
function(corvelian_descubrir_regional objetivo)
  cmake_parse_arguments(PARSE_ARGV 1 A "" "FILTRO" "PROPIEDADES")
  gtest_discover_tests(${objetivo} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "LC_ALL=${CORVELIAN_LOCALE_PUNTO}" ${A_PROPIEDADES})
  set(filtro)
  if(A_FILTRO)
    set(filtro TEST_FILTER "${A_FILTRO}")
  endif()
  gtest_discover_tests(${objetivo} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 TEST_SUFFIX .es_AR ${filtro}
                       PROPERTIES ENVIRONMENT "LC_ALL=${CORVELIAN_LOCALE_COMA}" ${A_PROPIEDADES})
endfunction()
