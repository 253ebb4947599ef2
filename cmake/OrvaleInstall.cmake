# Installs the library, its headers and a package configuration so that users
# write find_package(Orvale) and link Orvale::orvale (and Orvale::orvale_ui for panes).
include(CMakePackageConfigHelpers)

# The public headers, at the paths they are included by; what sits in an internal/
# folder belongs to the library's own sources and is not installed.
foreach(header IN LISTS ORVALE_HEADERS)
  file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR} ${header})
  if(relative MATCHES "/internal/")
    continue()
  endif()
  get_filename_component(folder ${relative} DIRECTORY)
  install(FILES ${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${folder})
endforeach()

install(TARGETS orvale orvale_ui EXPORT OrvaleTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(EXPORT OrvaleTargets NAMESPACE Orvale::
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Orvale)

configure_package_config_file(cmake/OrvaleConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/OrvaleConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Orvale)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/OrvaleConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/OrvaleConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/OrvaleConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Orvale)
