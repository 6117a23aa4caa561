# Native unit tests of the portable core, with address and undefined-behaviour sanitizers.
ctest --test-dir "$root/build/native" --output-on-failure -j "$(nproc)" -LE archiver
