# Installation and the Debian package `corvelian` (cpack -G DEB).
# The desktop files live in paquete/: the entry, the icon, the AppStream
# metadata, the manual pages, the copyright and the changelog.

option(CORVELIAN_PRUEBA_PAQUETE "Test the Debian package: build it, unpack it, run lintian" OFF)

if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()

include(GNUInstallDirs)
set(PAQUETE_FUENTE ${PROJECT_SOURCE_DIR}/paquete)
set(PAQUETE_DOC ${CMAKE_INSTALL_DATAROOTDIR}/doc/${PROJECT_NAME})

foreach(programa corvelian corvelian-cli)
  if(TARGET ${programa})
    install(TARGETS ${programa} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
# The tool's companion for its Qt orders: a program of the package's own,
# found by the tool at ../lib/corvelian from where it lives.
if(TARGET corvelian-cli-qt)
  install(TARGETS corvelian-cli-qt RUNTIME DESTINATION lib/corvelian)
endif()

# Debian wants the manual pages and the changelog compressed without a
# timestamp, so two builds give the same package.
set(PAQUETE_COMPRIMIDOS)
foreach(archivo man/corvelian.1 man/corvelian-cli.1 changelog)
  get_filename_component(nombre ${archivo} NAME)
  set(salida ${CMAKE_CURRENT_BINARY_DIR}/paquete/${nombre}.gz)
  add_custom_command(OUTPUT ${salida}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/paquete
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${PAQUETE_FUENTE}/${archivo} ${salida}
    DEPENDS ${PAQUETE_FUENTE}/${archivo} VERBATIM)
  list(APPEND PAQUETE_COMPRIMIDOS ${salida})
endforeach()
add_custom_target(paquete_comprimidos ALL DEPENDS ${PAQUETE_COMPRIMIDOS})

if(TARGET corvelian)
  install(FILES ${PAQUETE_FUENTE}/corvelian.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
  install(FILES ${PAQUETE_FUENTE}/corvelian.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
  install(FILES ${PAQUETE_FUENTE}/iconos/corvelian.svg
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
  foreach(lado 16 32 48 64 128 256)
    install(FILES ${PAQUETE_FUENTE}/iconos/corvelian-${lado}.png
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${lado}x${lado}/apps
            RENAME corvelian.png)
  endforeach()
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/paquete/corvelian.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/paquete/corvelian-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PAQUETE_FUENTE}/copyright ${CMAKE_CURRENT_BINARY_DIR}/paquete/changelog.gz
        DESTINATION ${PAQUETE_DOC})
install(FILES ${PROJECT_SOURCE_DIR}/ejemplos/equipos.txt ${PROJECT_SOURCE_DIR}/ejemplos/parametros.ini
              ${PROJECT_SOURCE_DIR}/ejemplos/decisiones.csv
        DESTINATION ${PAQUETE_DOC}/ejemplos)

set(CORVELIAN_MANTENEDOR "CORVELIAN maintainers <maintainers@users.noreply.c-seed-00cfdcec.example>"
    CACHE STRING "Maintainer of the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CORVELIAN_MANTENEDOR})
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries: the window cannot open without Qt's platform plugins
# (only recommended by Qt), and the PDF documents are drawn in DejaVu Sans Mono.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
# The spreadsheet library is loaded by name when a workbook is exported, so
# the libraries' dependencies do not show it: its package is named here.
if(XLSXWRITER_SONAME)
  get_filename_component(xlsx_real ${XLSXWRITER_LIB} REALPATH)
  execute_process(COMMAND dpkg-query -S ${xlsx_real} OUTPUT_VARIABLE xlsx_paquete OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE xlsx_sin_paquete)
  if(NOT xlsx_sin_paquete)
    string(REGEX REPLACE "[:,].*" "" xlsx_paquete "${xlsx_paquete}")
    execute_process(COMMAND dpkg-query -W -f=\${Version} ${xlsx_paquete} OUTPUT_VARIABLE xlsx_version)
    string(REGEX REPLACE "-[^-]*$" "" xlsx_version "${xlsx_version}")
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ${xlsx_paquete} (>= ${xlsx_version})")
  endif()
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The first line is the synopsis; Debian's description is in English,
# the program and its manual pages speak Spanish.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "classroom business-simulation game (in Spanish)
CORVELIAN is a business-simulation game for the classroom. A game master runs
it on one desktop for several competing teams; each team manages one company
that makes and sells one product. Every period the teams hand in their
decisions, the game master types them in, and the program simulates the
period for all companies and writes their reports as text files.

Juego de simulación de empresas para el aula: el docente carga las decisiones
de los equipos y el programa simula cada período y escribe los informes.

This package holds the desktop program (corvelian) and the command-line tool
(corvelian-cli), which plays the same game without a display.")
include(CPack)

if(CORVELIAN_PRUEBA_PAQUETE)
  if(NOT TARGET corvelian OR NOT TARGET corvelian-cli)
    message(FATAL_ERROR "CORVELIAN_PRUEBA_PAQUETE needs the window and the tool (CORVELIAN_VENTANA=ON)")
  endif()
  add_test(NAME paquete.debian
           COMMAND bash ${PROJECT_SOURCE_DIR}/tests/paquete/paquete_test.sh
                   ${CMAKE_BINARY_DIR} ${PROJECT_VERSION} $<TARGET_FILE:corvelian-cli>)
  # Alone: cpack re-checks the whole build tree and lintian is slow.
  set_tests_properties(paquete.debian PROPERTIES RUN_SERIAL ON TIMEOUT 600)
endif()
