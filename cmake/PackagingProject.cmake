# Read by cpack after its generated configuration. `cpack -D QV_PACKAGE=cli`
# makes the companion's own package: quorvane-cli without Qt, its manual page,
# completion and documentation, for servers and scripts.
if(QV_PACKAGE STREQUAL "cli")
  set(CPACK_COMPONENTS_ALL cli clidoc)
  set(CPACK_PACKAGE_NAME "quorvane-cli")
  set(CPACK_DEBIAN_PACKAGE_NAME "quorvane-cli")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "APR calculator for US consumer loans, command line only")
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"quorvane-cli computes the annual percentage rate (APR) of consumer loans by
the actuarial method of Regulation Z, Appendix J, from CSV, JSON Lines or
saved payment schedules, prints amortization charts, and judges a loan
disclosure against the regulation's tolerances. It needs neither Qt nor a
display.
.
This package holds the companion of the Quorvane desktop program alone; the
quorvane package holds both.")
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "")
  set(CPACK_DEBIAN_PACKAGE_PROVIDES "")
  set(CPACK_DEBIAN_PACKAGE_REPLACES "")
  set(CPACK_DEBIAN_PACKAGE_CONFLICTS "quorvane")
endif()
