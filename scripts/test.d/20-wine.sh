# The Windows build's tests under Wine: platform layer, then the real program.
ctest --test-dir "$root/build/win" --output-on-failure
