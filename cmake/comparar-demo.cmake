# Plays the demo with the Windows tool (under EMULADOR) and with the native
# one, and compares both folders file by file, byte for byte.
#   cmake -DEMULADOR=... -DCLI_WINDOWS=... -DCLI_NATIVO=... -DCARPETA=... -P comparar-demo.cmake
# EMULADOR separates its words with '|'.
string(REPLACE "|" ";" EMULADOR "${EMULADOR}")
# Both run under the C settings: the reports follow the decimal separator.
set(ENV{LC_ALL} C.UTF-8)
file(REMOVE_RECURSE "${CARPETA}")
file(MAKE_DIRECTORY "${CARPETA}")

foreach(lado windows nativo)
  if(lado STREQUAL "windows")
    set(orden ${EMULADOR} "${CLI_WINDOWS}")
  else()
    set(orden "${CLI_NATIVO}")
  endif()
  execute_process(COMMAND ${orden} demo ${lado} WORKING_DIRECTORY "${CARPETA}"
                  RESULT_VARIABLE codigo OUTPUT_QUIET ERROR_VARIABLE errores)
  if(NOT codigo EQUAL 0)
    message(FATAL_ERROR "La demo (${lado}) terminó con ${codigo}: ${errores}")
  endif()
  file(GLOB_RECURSE entradas_${lado} LIST_DIRECTORIES true RELATIVE "${CARPETA}/${lado}" "${CARPETA}/${lado}/*")
  list(SORT entradas_${lado})
endforeach()

if(NOT entradas_windows STREQUAL entradas_nativo)
  set(solo_windows ${entradas_windows})
  list(REMOVE_ITEM solo_windows ${entradas_nativo})
  set(solo_nativo ${entradas_nativo})
  list(REMOVE_ITEM solo_nativo ${entradas_windows})
  message(FATAL_ERROR "Las demos no tienen los mismos archivos.\n"
                      "Solo en Windows: ${solo_windows}\nSolo en el nativo: ${solo_nativo}")
endif()
set(archivos 0)
set(distintos)
foreach(entrada IN LISTS entradas_windows)
  if(IS_DIRECTORY "${CARPETA}/windows/${entrada}")
    continue()
  endif()
  math(EXPR archivos "${archivos} + 1")
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${CARPETA}/windows/${entrada}" "${CARPETA}/nativo/${entrada}"
                  RESULT_VARIABLE igual)
  if(NOT igual EQUAL 0)
    list(APPEND distintos "${entrada}")
  endif()
endforeach()
if(archivos EQUAL 0)
  message(FATAL_ERROR "La demo no escribió ningún archivo.")
endif()
if(distintos)
  message(FATAL_ERROR "Archivos distintos entre Windows y el nativo: ${distintos}")
endif()
message(STATUS "Demo de Windows igual a la nativa: ${archivos} archivos, byte por byte.")
