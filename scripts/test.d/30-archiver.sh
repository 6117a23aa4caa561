# The stand-in archiver: its native tests, then its Windows build under Wine with its archives read
# by Python's zipfile, unzip and 7-Zip (new, updated, killed half-way, zip64). One Wine server
# serves those runs; its system processes start here, since they keep open the output of the run
# that starts them.
ctest --test-dir "$root/build/native" -L archiver --output-on-failure -j "$(nproc)"
wineserver -w && wineserver -p && wine cmd /c exit >/dev/null 2>&1 </dev/null
python3 "$root/tests/archiver/check_readers.py" "$root/build/archiver-check"
wineserver -k
