# Read by ctest once the GoogleTest cases are known (the tests folder's
# TEST_INCLUDE_FILES, after GoogleTest's own): the cases that take far longer
# than the rest start first, so that no lane ends the run with one of them
# alone. ctest keeps what each test took for the next run.
set_tests_properties(
    RegionButtonHandles.FlatOverTenThousandRecreations
    RegionButtonHandles.FlatOverTenThousandHoverCyclesAndOwnership
    PROPERTIES COST 1000)
