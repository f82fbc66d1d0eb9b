# The help-engine stand-in that the help suite starts in place of the Windows help engine.
add_executable(winhelp_standin tests/e2e/peers/winhelp/winhelp_standin.cpp)
mirravel_strict_warnings(winhelp_standin)
