# The stand-in archiver: its native tests, then its Windows build under Wine with its archives read
# by Python's zipfile, unzip and 7-Zip (new, updated, killed half-way, zip64), all served by one
# Wine server.
ctest --test-dir "$root/build/native" -L archiver --output-on-failure -j "$(nproc)"
wine_server
python3 "$root/tests/archiver/check_readers.py" "$root/build/archiver-check"
wineserver -k
