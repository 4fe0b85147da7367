# What `cmake --install` puts where (and so what the Debian package holds):
#   bin/                       kestrix, kestrix-drives
#   share/applications/        the desktop entry, <app id>.desktop
#   share/metainfo/            the AppStream description, <app id>.metainfo.xml
#   share/icons/hicolor/       the program's icon at the usual sizes (drawn by
#                              scripts/make_pictures.py)
#   share/man/man1/            kestrix(1), kestrix-drives(1)
#   share/doc/kestrix/         copyright, changelog
#   share/kestrix/             the read-only data the program looks for there
#                              (kestrix4.chm, Kestrix4.hlp); a "bin" beside
#                              a "share/kestrix" is how a copy knows it is
#                              installed and keeps its settings in
#                              ~/.config/kestrix/.
include(GNUInstallDirs)

set(KESTRIX_APP_ID "org.example.kestrix" CACHE STRING
    "The id of the desktop entry and the AppStream component")
set(KESTRIX_HOMEPAGE "https://kestrix.example.org/" CACHE STRING "The project's web site, with a trailing /")
set(KESTRIX_CONTACT "The Kestrix developers <kestrix@example.org>" CACHE STRING "Who answers for the package")
# The installed copy finds its data beside its bin folder: keep both relative.
set(KESTRIX_DATADIR share/kestrix)

# kestrix_install_data(<files...>): read-only files of the program (help),
# installed where an installed copy looks for them. Any CMakeLists may call it.
function(kestrix_install_data)
  install(FILES ${ARGN} DESTINATION ${KESTRIX_DATADIR})
endfunction()

# Called from the top level once every target exists.
function(kestrix_install_rules)
  install(TARGETS kestrix kestrix-drives RUNTIME DESTINATION bin)
  # The installed programs get the hardening Debian asks of packaged
  # binaries: a read-only symbol table after start-up, and checked string
  # and memory calls in their own sources (the sanitizer build has its own
  # checks and does not mix with these).
  if(NOT KESTRIX_SANITIZE)
    foreach(target kestrix kestrix-drives)
      target_compile_definitions(${target} PRIVATE _FORTIFY_SOURCE=2)
      target_link_options(${target} PRIVATE -Wl,-z,relro -Wl,-z,now)
    endforeach()
  endif()
  # The compilers' version notes (.comment) serve nobody in an installed
  # binary; the strip that CPack runs leaves them.
  foreach(program kestrix kestrix-drives)
    install(CODE "execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                                  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/${program}\")")
  endforeach()

  set(out ${CMAKE_BINARY_DIR}/packaging)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/kestrix.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications RENAME ${KESTRIX_APP_ID}.desktop)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/kestrix.metainfo.xml.in ${out}/${KESTRIX_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${out}/${KESTRIX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

  # Manual pages and the changelog go compressed, without a time stamp in
  # the gzip header, so that two builds give the same bytes.
  set(compressed)
  foreach(file man/kestrix.1 man/kestrix-drives.1 changelog)
    get_filename_component(name ${file} NAME)
    add_custom_command(OUTPUT ${out}/${name}.gz
                       COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" gzip ${CMAKE_SOURCE_DIR}/packaging/${file}
                               ${out}/${name}.gz
                       DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${file} VERBATIM)
    list(APPEND compressed ${out}/${name}.gz)
  endforeach()
  add_custom_target(kestrix_packaging_files ALL DEPENDS ${compressed})
  install(FILES ${out}/kestrix.1.gz ${out}/kestrix-drives.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${out}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kestrix)

  # The data folder always exists in an installation, help or not.
  install(DIRECTORY DESTINATION ${KESTRIX_DATADIR})
  # The help as the program finds it beside a portable copy (src/app puts
  # both into the build folder): the compiled help and the help window's
  # page under the name the program gives it.
  kestrix_install_data(${CMAKE_BINARY_DIR}/kestrix4.chm ${CMAKE_BINARY_DIR}/Kestrix4.hlp)
endfunction()
