# Stands in for the browser test where node is not installed: reports it as
# skipped, or as failed when KORVANREF_REQUIRE_BROWSER=1 asks for it.
if("$ENV{KORVANREF_REQUIRE_BROWSER}" STREQUAL "1")
  message(FATAL_ERROR "FAILED: node is not installed, and KORVANREF_REQUIRE_BROWSER=1 asks for the browser test")
endif()
message("SKIPPED: node is not installed")
