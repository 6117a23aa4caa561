# The Windows build's tests under Wine: the platform layer, and the unit suite built with 16-bit
# wchar_t as the program ships.
ctest --test-dir "$root/build/win" --output-on-failure
