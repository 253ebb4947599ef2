# The manual page, orvale(1), written from the program's own help texts at build time
# (tools/make-manpage), so that it cannot disagree with `orvale --help`.
include(GNUInstallDirs)
set(ORVALE_MANPAGE ${CMAKE_CURRENT_BINARY_DIR}/orvale.1)
add_custom_command(
  OUTPUT ${ORVALE_MANPAGE}
  COMMAND ${PROJECT_SOURCE_DIR}/tools/make-manpage $<TARGET_FILE:orvale_program> ${ORVALE_MANPAGE}
  DEPENDS orvale_program ${PROJECT_SOURCE_DIR}/tools/make-manpage
  COMMENT "Writing the orvale(1) manual page from the help texts")
add_custom_target(orvale_manpage ALL DEPENDS ${ORVALE_MANPAGE})
install(FILES ${ORVALE_MANPAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

