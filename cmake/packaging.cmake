# Debian packages: "purseward" (the program, its launcher, desktop entry, icon, sound, example
# import files and language libraries) and "purseward-sandbox" (the local simulator).
#   cmake --build <release build> && (cd <release build> && cpack -G DEB)
set(PW_PACKAGE_RES ${PROJECT_SOURCE_DIR}/res)
set(PW_MAN_OUT ${PROJECT_BINARY_DIR}/package)

# Manual pages and the Debian change log go into the packages compressed, as Debian wants them.
set(PW_GZ_FILES)
foreach(src man/purseward.1 man/purseward-sandbox.1 package/changelog.Debian)
  get_filename_component(name ${src} NAME)
  set(out ${PW_MAN_OUT}/${name}.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PW_MAN_OUT}
    COMMAND gzip -9nc ${PW_PACKAGE_RES}/${src} > ${out}
    DEPENDS ${PW_PACKAGE_RES}/${src} VERBATIM)
  list(APPEND PW_GZ_FILES ${out})
endforeach()
add_custom_target(pw_package_files ALL DEPENDS ${PW_GZ_FILES})

if(PW_GUI)
  set(PW_DESKTOP_EXEC purseward)
  file(READ ${PW_PACKAGE_RES}/purseward.desktop desktop)
  string(REPLACE "@EXEC@" "purseward" desktop "${desktop}")
  string(REGEX REPLACE "# Exec is filled in[^\n]*\n" "" desktop "${desktop}")
  file(WRITE ${PW_MAN_OUT}/purseward.desktop "${desktop}")

  install(TARGETS purseward RUNTIME DESTINATION lib/purseward COMPONENT program)
  install(PROGRAMS ${PW_PACKAGE_RES}/package/purseward.sh DESTINATION bin RENAME purseward
          COMPONENT program)
  install(FILES ${PW_MAN_OUT}/purseward.desktop DESTINATION share/applications COMPONENT program)
  install(FILES ${PW_PACKAGE_RES}/icons/purseward.svg
          DESTINATION share/icons/hicolor/scalable/apps COMPONENT program)
  install(FILES ${PW_PACKAGE_RES}/sound/notify.wav DESTINATION share/purseward/Sound
          COMPONENT program)
  if(EXISTS ${PW_PACKAGE_RES}/Sample)
    install(DIRECTORY ${PW_PACKAGE_RES}/Sample/ DESTINATION share/purseward/Sample
            COMPONENT program FILES_MATCHING PATTERN "*.csv")
  endif()
  # The language libraries install themselves (res/translations), stripped like the program.
  install(FILES ${PW_MAN_OUT}/purseward.1.gz DESTINATION share/man/man1 COMPONENT program)
  install(FILES ${PW_PACKAGE_RES}/package/copyright DESTINATION share/doc/purseward
          COMPONENT program)
  install(FILES ${PW_MAN_OUT}/changelog.Debian.gz DESTINATION share/doc/purseward
          COMPONENT program)
endif()

install(TARGETS purseward-sandbox RUNTIME DESTINATION bin COMPONENT sandbox)
install(FILES ${PW_MAN_OUT}/purseward-sandbox.1.gz DESTINATION share/man/man1 COMPONENT sandbox)
install(FILES ${PW_PACKAGE_RES}/package/copyright DESTINATION share/doc/purseward-sandbox
        COMPONENT sandbox)
install(FILES ${PW_MAN_OUT}/changelog.Debian.gz DESTINATION share/doc/purseward-sandbox
        COMPONENT sandbox)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME purseward)
set(CPACK_PACKAGE_VENDOR "The Purseward developers")
set(CPACK_PACKAGE_CONTACT "Purseward developers <developers@purseward.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program sandbox)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://purseward.example/")
set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME purseward)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION utils)
# The window system plug-ins and the multimedia back end are loaded, not linked.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_SANDBOX_PACKAGE_NAME purseward-sandbox)
set(CPACK_DEBIAN_SANDBOX_PACKAGE_SECTION utils)
set(CPACK_COMPONENT_PROGRAM_DESCRIPTION "desktop client for e-currency accounts
Purseward shows the accounts of six e-currency payment systems in one window:
balances, history with filters, a timed refresh with a tray notice when a
balance changes, history export and receipts. It sends single, mass and
scheduled payments. Credentials are kept enciphered under a program password.")
set(CPACK_COMPONENT_SANDBOX_DESCRIPTION "local simulator of the payment interfaces for Purseward
purseward-sandbox serves the payment interfaces that Purseward talks to on
127.0.0.1, with demo accounts, histories and balances, as strictly as the
real services. It is for trying Purseward out and for its tests.")
include(CPack)
