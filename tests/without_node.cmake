# Stands in for a test that runs in node (the browser test, the checks of the
# pages' script) where node is not installed: reports it as skipped, or as
# failed when KORVANREF_REQUIRE_BROWSER=1 asks for those tests.
if("$ENV{KORVANREF_REQUIRE_BROWSER}" STREQUAL "1")
  message(FATAL_ERROR "FAILED: node is not installed, and KORVANREF_REQUIRE_BROWSER=1 asks for the tests that run in it")
endif()
message("SKIPPED: node is not installed")
