# What `cmake --install` puts on a machine, and the Debian package made of it
# (`cpack -G DEB`). Included from the top-level CMakeLists.txt.

set(TANDOR_APP_ID org.tandor.Tandor)
set(TANDOR_HOMEPAGE "https://tandor.org" CACHE STRING "Tandor's web page (AppStream homepage and screenshot)")

# The manual pages tandor(1) and tandor-batch(1), written by a small tool from
# the source of `tandor-batch --help`, compressed as Debian keeps them.
add_executable(tandor-man src/app/man_main.cpp)
target_link_libraries(tandor-man PRIVATE tandor_batch_commands)
set_target_properties(tandor-man PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
set(man_dir ${CMAKE_BINARY_DIR}/man)
add_custom_command(
  OUTPUT ${man_dir}/tandor.1 ${man_dir}/tandor-batch.1 ${man_dir}/tandor.1.gz ${man_dir}/tandor-batch.1.gz
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 $<TARGET_FILE:tandor-man> ${man_dir} ${TANDOR_RELEASE_DATE}
  COMMAND gzip -9nkf ${man_dir}/tandor.1 ${man_dir}/tandor-batch.1
  DEPENDS tandor-man
  COMMENT "Writing the manual pages")
add_custom_target(man_pages ALL DEPENDS ${man_dir}/tandor.1.gz ${man_dir}/tandor-batch.1.gz)

# The AppStream metainfo, with this version and its release date.
configure_file(packaging/${TANDOR_APP_ID}.metainfo.xml.in ${CMAKE_BINARY_DIR}/${TANDOR_APP_ID}.metainfo.xml @ONLY)

# The icon: the scalable drawing, and PNG pictures of it made at build time.
set(icon_svg ${CMAKE_SOURCE_DIR}/packaging/${TANDOR_APP_ID}.svg)
find_program(RSVG_CONVERT rsvg-convert)
if(RSVG_CONVERT)
  set(icon_pngs)
  foreach(size 48 128 256)
    set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/${TANDOR_APP_ID}.png)
    add_custom_command(
      OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
      COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${icon_svg}
      DEPENDS ${icon_svg})
    list(APPEND icon_pngs ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(icons ALL DEPENDS ${icon_pngs})
else()
  message(WARNING "rsvg-convert (package librsvg2-bin) was not found: the 48, 128 and 256 px icons "
                  "are neither built nor installed (bash scripts/setup.sh installs it)")
endif()

install(TARGETS tandor tandor-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${TANDOR_PROGRAM_DIR}/tdrUman.pdf ${TANDOR_PROGRAM_DIR}/tdr_state_abbreviations.pdf
              ${CMAKE_SOURCE_DIR}/data/TDRPARAM.TXT
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tandor)
install(FILES packaging/${TANDOR_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/${TANDOR_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${man_dir}/tandor.1.gz ${man_dir}/tandor-batch.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package. Its library dependencies are found by dpkg-shlibdeps;
# the fonts of the print grid are found at run time, so they are named here
# (Qt's window-system and offscreen plugins come with libqt6gui6).
set(CPACK_PACKAGE_NAME tandor)
set(CPACK_PACKAGE_VENDOR "The Tandor developers")
set(CPACK_PACKAGE_CONTACT "The Tandor developers <tandor@tandor.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "mailing labels, envelopes and an address book")
set(CPACK_PACKAGE_DESCRIPTION
    "Tandor prints mailing labels on any position of a 30-up letter sheet, envelopes in seven \
sizes and 80-up return-address sheets, laid out on the character grid of a fixed-pitch \
font, and keeps an address book of contacts with search, bulk labels, printed lists, \
birthday reminders, CSV import and export. tandor-batch offers the same commands on \
the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TANDOR_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-open-sans")
# Opens the help documents and the web look-ups; the label-template library
# adds its label sheets to the built-in ones.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, glabels-data")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
