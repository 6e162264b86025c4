# Debian packages made by CPack from an installed tree.
#
# Two packages come out of one release build:
#   quorvane      the desktop program with everything else (the companion, its manual
#                 page and completion, the examples): what a desktop user installs;
#   quorvane-cli  the companion alone, without Qt, for servers and scripts.
# Both carry /usr/bin/quorvane-cli, so the full package provides, replaces and conflicts
# with the companion's: installing one takes the other's place cleanly.
#
# scripts/package.sh makes both (cpack runs twice, once whole and once for the "cli"
# component only).

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "quorvane")
set(CPACK_PACKAGE_VENDOR "The Quorvane developers")
set(CPACK_PACKAGE_CONTACT "The Quorvane developers <developers@quorvane.invalid>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "APR calculator for US consumer loans (Truth in Lending)")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://github.com/quorvane/quorvane")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_OUTPUT_FILE_PREFIX "${CMAKE_BINARY_DIR}/packages")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "math")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
# Control files and folders as dpkg expects them, whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(QV_DEB_DESCRIPTION_BODY
"Quorvane computes the annual percentage rate (APR) of a consumer loan by the
actuarial method of Regulation Z, Appendix J: type the amount financed and the
payment schedule, and it gives the APR, the total of payments and the finance
charge, and an amortization chart with Rule of 78s rebates to print or save.
Side tools handle one-payment (payday) loans, split-rate and variable-rate
debts, and figuring the payment of a regular schedule at a known rate.
.
The command-line companion quorvane-cli computes and checks whole batches of
loans (CSV, JSON Lines or saved schedules) and judges a disclosure against the
regulation's tolerances.")

# The full package (also what a component run without components would be).
set(CPACK_DEBIAN_PACKAGE_NAME "quorvane")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${QV_DEB_DESCRIPTION_BODY}")
# Qt loads its window-system plugin and the SVG icon reader at run time, so the
# shared-library scan cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_PROVIDES "quorvane-cli")
set(CPACK_DEBIAN_PACKAGE_REPLACES "quorvane-cli")
set(CPACK_DEBIAN_PACKAGE_CONFLICTS "quorvane-cli")

# One package of the listed components; cpack -D QV_PACKAGE=cli switches to the
# companion's own package (cmake/PackagingProject.cmake, read when cpack runs).
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL cli doc)
if(QV_BUILD_APP)
  list(PREPEND CPACK_COMPONENTS_ALL desktop)
endif()
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/PackagingProject.cmake)

include(CPack)
