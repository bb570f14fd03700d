# SPDX-License-Identifier: GPL-3.0-or-later
# Installed layout, as Linux programs with files beside their binary have it:
#   <libdir>/glenlantern/     the binary, its windows module and web engine plugin, ReadMe.html
#                             (View Readme reads it from the binary's folder) and the launcher the
#                             desktop entry runs
#   bin/glenlantern           a relative link to the binary: a link keeps the binary's folder
#   share/glenlantern/samples Default.gls and Default.glt, copied into ~/GlenLantern by the launcher
#   share/glenlantern/catalogue  the catalogue of service lists, found from the binary's folder
#   share/applications, share/icons/hicolor, share/metainfo, share/man/man1
#   share/dbus-1/services     D-Bus activation, for the desktop's search
#   share/gnome-shell/search-providers, share/krunner/dbusplugins   the desktop's search
# The desktop entry and the manual page name absolute paths, so they are written when installing,
# with the prefix of that install (cmake --install --prefix, or /usr inside the package).

set(GL_SAMPLES_DIR "${CMAKE_INSTALL_DATADIR}/glenlantern/samples")
set(GL_ICON_SIZES 16 24 32 48 64 128 256)

set(_gl_packaging_src "${PROJECT_SOURCE_DIR}/packaging")
set(_gl_packaging_bin "${PROJECT_BINARY_DIR}/packaging")

# Paths between installed folders, so that the link and the launcher work under any prefix.
function(_gl_install_relative out from to)
    foreach(dir from to)
        if(NOT IS_ABSOLUTE "${${dir}}")
            set(${dir} "${CMAKE_INSTALL_PREFIX}/${${dir}}")
        endif()
    endforeach()
    file(RELATIVE_PATH relative "${from}" "${to}")
    set(${out} "${relative}" PARENT_SCOPE)
endfunction()

_gl_install_relative(_gl_bin_to_program "${CMAKE_INSTALL_BINDIR}" "${GL_PROGRAM_DIR}/glenlantern")
_gl_install_relative(GL_SAMPLES_FROM_PROGRAM "${GL_PROGRAM_DIR}" "${GL_SAMPLES_DIR}")
_gl_install_relative(GL_CATALOGUE_FROM_PROGRAM "${GL_PROGRAM_DIR}" "${GL_CATALOGUE_DIR}")
set_property(SOURCE "${PROJECT_SOURCE_DIR}/core/Catalogue.cpp" TARGET_DIRECTORY glcore APPEND
             PROPERTY COMPILE_DEFINITIONS GL_CATALOGUE_FROM_PROGRAM="${GL_CATALOGUE_FROM_PROGRAM}")

# --- the program, its readme and its launcher
install(TARGETS glenlantern RUNTIME DESTINATION "${GL_PROGRAM_DIR}")
# The windows module and the web engine plugin are looked for beside the binary.
install(TARGETS glwindows glmatrix glstamp glweb LIBRARY DESTINATION "${GL_PROGRAM_DIR}")
install(FILES "${PROJECT_SOURCE_DIR}/resources/ReadMe.html" DESTINATION "${GL_PROGRAM_DIR}")
configure_file("${_gl_packaging_src}/glenlantern-desktop.in"
               "${_gl_packaging_bin}/glenlantern-desktop" @ONLY)
install(PROGRAMS "${_gl_packaging_bin}/glenlantern-desktop" DESTINATION "${GL_PROGRAM_DIR}")

file(MAKE_DIRECTORY "${_gl_packaging_bin}/bin")
file(CREATE_LINK "${_gl_bin_to_program}" "${_gl_packaging_bin}/bin/glenlantern" SYMBOLIC)
install(FILES "${_gl_packaging_bin}/bin/glenlantern" DESTINATION "${CMAKE_INSTALL_BINDIR}")

# The licence, where Debian keeps each package's copyright file.
install(FILES "${_gl_packaging_src}/copyright" DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/glenlantern")

install(FILES "${PROJECT_SOURCE_DIR}/samples/Default.gls" "${PROJECT_SOURCE_DIR}/samples/Default.glt"
        DESTINATION "${GL_SAMPLES_DIR}")
install(FILES ${GL_CATALOGUE_FILES} DESTINATION "${GL_CATALOGUE_DIR}")

# --- icons: the SVG is the only drawing; the PNG sizes are rendered from it when building, so
# they never go stale. Older menus and docks that do not read SVG use the PNGs.
install(FILES "${PROJECT_SOURCE_DIR}/resources/glenlantern.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
find_program(GL_RSVG_CONVERT rsvg-convert)
find_program(GL_IMAGEMAGICK_CONVERT convert)
set(_gl_pngs)
foreach(size IN LISTS GL_ICON_SIZES)
    set(png "${_gl_packaging_bin}/icons/hicolor/${size}x${size}/apps/glenlantern.png")
    if(GL_RSVG_CONVERT)
        set(render "${GL_RSVG_CONVERT}" --width ${size} --height ${size} --keep-aspect-ratio
                   --output "${png}" "${PROJECT_SOURCE_DIR}/resources/glenlantern.svg")
    elseif(GL_IMAGEMAGICK_CONVERT)
        set(render "${GL_IMAGEMAGICK_CONVERT}" -background none -density 1200
                   "${PROJECT_SOURCE_DIR}/resources/glenlantern.svg" -resize ${size}x${size}
                   "PNG32:${png}")
    else()
        message(WARNING "Neither rsvg-convert nor ImageMagick found: only the SVG icon is installed")
        break()
    endif()
    add_custom_command(OUTPUT "${png}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${_gl_packaging_bin}/icons/hicolor/${size}x${size}/apps"
        COMMAND ${render}
        DEPENDS "${PROJECT_SOURCE_DIR}/resources/glenlantern.svg"
        COMMENT "Rendering the ${size}x${size} icon" VERBATIM)
    list(APPEND _gl_pngs "${png}")
    install(FILES "${png}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps")
endforeach()
if(_gl_pngs)
    add_custom_target(glenlantern_icons ALL DEPENDS ${_gl_pngs})
    # Whoever builds the program has what installing it needs.
    add_dependencies(glenlantern glenlantern_icons)
endif()

# --- AppStream metadata, named after its component id as the AppStream tools expect.
# The day the version in project() was released; change them together.
set(GL_RELEASE_DATE "2026-12-08")
set(GL_METAINFO "${_gl_packaging_bin}/${GL_APPSTREAM_ID}.metainfo.xml")
configure_file("${_gl_packaging_src}/glenlantern.metainfo.xml.in" "${GL_METAINFO}" @ONLY)
install(FILES "${GL_METAINFO}" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

# --- desktop entry and manual page. They name absolute paths: a copy with this build's prefix is
# made now for the validators, and the installed one is written when installing, with the prefix
# of that install (cmake --install --prefix, or /usr inside the package).
function(_gl_installed_path out dir prefix)
    if(IS_ABSOLUTE "${dir}")
        set(${out} "${dir}" PARENT_SCOPE)
    else()
        set(${out} "${prefix}/${dir}" PARENT_SCOPE)
    endif()
endfunction()

set(GL_DESKTOP_FILE "${_gl_packaging_bin}/glenlantern.desktop")
_gl_installed_path(GL_MAN_PROGRAM_DIR "${GL_PROGRAM_DIR}" "${CMAKE_INSTALL_PREFIX}")
_gl_installed_path(GL_MAN_SAMPLES_DIR "${GL_SAMPLES_DIR}" "${CMAKE_INSTALL_PREFIX}")
set(GL_LAUNCHER "${GL_MAN_PROGRAM_DIR}/glenlantern-desktop")
configure_file("${_gl_packaging_src}/glenlantern.desktop" "${GL_DESKTOP_FILE}" @ONLY)

set(_gl_installed "${_gl_packaging_bin}/installed")
_gl_installed_path(_gl_program_dir "${GL_PROGRAM_DIR}" "\${CMAKE_INSTALL_PREFIX}")
_gl_installed_path(_gl_samples_dir "${GL_SAMPLES_DIR}" "\${CMAKE_INSTALL_PREFIX}")
_gl_installed_path(_gl_data_dir "${CMAKE_INSTALL_DATADIR}" "\${CMAKE_INSTALL_PREFIX}")
set(_gl_write_at_install "
    set(GL_LAUNCHER \"${_gl_program_dir}/glenlantern-desktop\")
    set(GL_MAN_PROGRAM_DIR \"${_gl_program_dir}\")
    set(GL_MAN_SAMPLES_DIR \"${_gl_samples_dir}\")
    set(PROJECT_VERSION \"${PROJECT_VERSION}\")
    set(GL_MAKER_HOST \"${GL_MAKER_HOST}\")
    set(GL_APPSTREAM_ID \"${GL_APPSTREAM_ID}\")
    set(GL_DATA_DIR \"${_gl_data_dir}\")
    configure_file(\"${_gl_packaging_src}/glenlantern.desktop\" \"${_gl_installed}/glenlantern.desktop\" @ONLY)
    configure_file(\"${_gl_packaging_src}/glenlantern.1\" \"${_gl_installed}/glenlantern.1\" @ONLY)
")
# Manual pages go compressed, as Debian keeps them.
find_program(GL_GZIP gzip)
set(_gl_manual "${_gl_installed}/glenlantern.1")
if(GL_GZIP)
    string(APPEND _gl_write_at_install "
    execute_process(COMMAND \"${GL_GZIP}\" -9nf \"${_gl_installed}/glenlantern.1\"
                    COMMAND_ERROR_IS_FATAL ANY)
")
    set(_gl_manual "${_gl_installed}/glenlantern.1.gz")
endif()
# The session bus starts the program (through the launcher, in the user's folder) when the
# desktop's search asks for it and it is not running.
string(APPEND _gl_write_at_install "
    configure_file(\"${_gl_packaging_src}/glenlantern.service.in\"
                   \"${_gl_installed}/${GL_APPSTREAM_ID}.service\" @ONLY)
")
# An example pair of systemd user units that search a case again every morning.
_gl_installed_path(_gl_bin_dir "${CMAKE_INSTALL_BINDIR}" "\${CMAKE_INSTALL_PREFIX}")
string(APPEND _gl_write_at_install "
    set(GL_BIN_PATH \"${_gl_bin_dir}/glenlantern\")
    configure_file(\"${_gl_packaging_src}/glenlantern-rerun@.service.in\"
                   \"${_gl_installed}/glenlantern-rerun@.service\" @ONLY)
")
install(CODE "${_gl_write_at_install}")
install(FILES "${_gl_installed}/glenlantern.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${_gl_installed}/glenlantern-rerun@.service" "${_gl_packaging_src}/glenlantern-rerun@.timer"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/glenlantern/examples")
install(FILES "${_gl_manual}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${_gl_installed}/${GL_APPSTREAM_ID}.service"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/dbus-1/services")

# --- the desktop's search: GNOME Shell's search provider and KRunner's plugin name the program's
# bus name and the paths of its providers (the bus name with "/" for ".", "_" for "-").
string(REPLACE "." "/" GL_BUS_PATH "/${GL_APPSTREAM_ID}")
string(REPLACE "-" "_" GL_BUS_PATH "${GL_BUS_PATH}")
configure_file("${_gl_packaging_src}/glenlantern.search-provider.ini.in"
               "${_gl_packaging_bin}/${GL_APPSTREAM_ID}.search-provider.ini" @ONLY)
install(FILES "${_gl_packaging_bin}/${GL_APPSTREAM_ID}.search-provider.ini"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/gnome-shell/search-providers")
configure_file("${_gl_packaging_src}/glenlantern-krunner.desktop.in"
               "${_gl_packaging_bin}/krunner/${GL_APPSTREAM_ID}.desktop" @ONLY)
install(FILES "${_gl_packaging_bin}/krunner/${GL_APPSTREAM_ID}.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/krunner/dbusplugins")

# --- the validators run with the tests when the set-up installed them.
if(GL_BUILD_TESTS)
    find_program(GL_DESKTOP_FILE_VALIDATE desktop-file-validate)
    find_program(GL_APPSTREAMCLI appstreamcli)
    if(GL_DESKTOP_FILE_VALIDATE)
        add_test(NAME packaging_desktop_entry
                 COMMAND "${GL_DESKTOP_FILE_VALIDATE}" "${GL_DESKTOP_FILE}")
        # It exits with success on warnings and hints; those fail the test too.
        set_tests_properties(packaging_desktop_entry PROPERTIES LABELS packaging
                             FAIL_REGULAR_EXPRESSION "(error|warning|hint):")
    endif()
    # The example units as systemd reads them, an instance of them naming this build's program.
    find_program(GL_SYSTEMD_ANALYZE systemd-analyze)
    if(GL_SYSTEMD_ANALYZE)
        set(GL_BIN_PATH "${PROJECT_BINARY_DIR}/glenlantern")
        configure_file("${_gl_packaging_src}/glenlantern-rerun@.service.in"
                       "${_gl_packaging_bin}/units/glenlantern-rerun@example.service" @ONLY)
        configure_file("${_gl_packaging_src}/glenlantern-rerun@.timer"
                       "${_gl_packaging_bin}/units/glenlantern-rerun@example.timer" COPYONLY)
        add_test(NAME packaging_rerun_units
                 COMMAND "${GL_SYSTEMD_ANALYZE}" verify
                         "${_gl_packaging_bin}/units/glenlantern-rerun@example.timer"
                         "${_gl_packaging_bin}/units/glenlantern-rerun@example.service")
        set_tests_properties(packaging_rerun_units PROPERTIES LABELS packaging)
    endif()
    if(GL_APPSTREAMCLI)
        add_test(NAME packaging_metainfo
                 COMMAND "${GL_APPSTREAMCLI}" validate --no-net "${GL_METAINFO}")
        set_tests_properties(packaging_metainfo PROPERTIES LABELS packaging)
    endif()
endif()
