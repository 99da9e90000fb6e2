# The options of the release build in build/release, sourced by run.sh and
# test.sh: both configure it alike, so the test command reuses what the run
# command has built instead of building it again.
ZMR_RELEASE_OPTIONS=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZMR_WERROR=ON)
