# The Debian package of an installed copy: `cpack -G DEB` in a configured build folder
# (scripts/package.sh). CPack writes the control files; the libraries the binaries link
# are found by dpkg-shlibdeps, the rest of what the program needs at run time is named here.

# The package's documents: its copyright and its changelog, compressed as Debian keeps them.
set(PEMO_CHANGELOG ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${PEMO_CHANGELOG}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/packaging
  COMMAND sh -c "gzip -9n -c \"$0\" > \"$1\"" ${CMAKE_CURRENT_SOURCE_DIR}/packaging/changelog
          ${PEMO_CHANGELOG}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/packaging/changelog
  VERBATIM)
add_custom_target(pemo_changelog ALL DEPENDS ${PEMO_CHANGELOG})
install(FILES packaging/copyright ${PEMO_CHANGELOG} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pemo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pemo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Pemo developers")
set(CPACK_PACKAGE_CONTACT "The Pemo developers <pemo@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "design and print price tags, posters and sale signs")
set(CPACK_PACKAGE_DESCRIPTION
    "A design-and-print program for shop-floor promotion material. A designer
lays out a sign once; the program pours product records (typed in, or
imported from text files, spreadsheets and desktop databases) through it and
prints one sign per product: by item or by copies, on proof sheets, tiled
over several sheets or merged several to a sheet.

It comes with a starter library of backgrounds, templates, pictures and
textures, of which each user gets a working copy on first use.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Loaded at run time, so no linker sees them: the typefaces the font boxes offer, the icon
# theme of the toolbars, Qt's image plugins (TIFF among them) and Qt's own dialogs in
# Chinese; the CUPS client, the workbook writer and the libraries of the file formats (the
# ODBC driver manager, SQLite, the .xls reader, the metafile converters, the barcode
# encoder), which the program opens when it first needs them.
# Qt's SVG plugins come with libqt6svg6, which the program links.
set(PEMO_RUNTIME_PACKAGES
    libcups2 libxlsxwriter4 libodbc2 libsqlite3-0 libfreexl1 libwmf-0.2-7 libemf2svg1 libzint2.11
    fontconfig fonts-noto-cjk fonts-lxgw-wenkai fonts-arphic-ukai fonts-arphic-uming
    fonts-smiley-sans fonts-liberation2 fonts-roboto-unhinted fonts-urw-base35 fonts-dejavu-core
    breeze-icon-theme qt6-image-formats-plugins qt6-translations-l10n)
list(JOIN PEMO_RUNTIME_PACKAGES ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
# The program works without these: the light and heavy weights of the CJK faces, the
# ODBC drivers that open .mdb and SQLite files for import, and the label catalogue whose
# products the label-sheet printing offers (without it, only measured sheets).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk-extra, odbc-mdbtools, libsqliteodbc, glabels-data")
# The outside picture editors, and the barcode reader that checks printed codes.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gimp | krita, inkscape, zbar-tools")

include(CPack)
