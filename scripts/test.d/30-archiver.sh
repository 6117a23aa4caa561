# The stand-in archiver: its native tests, then its archives read by unzip, Python's zipfile and
# 7-Zip, failing and killed runs, zip64, and the Windows build under Wine.
ctest --test-dir "$root/build/native" -L archiver --output-on-failure -j "$(nproc)"
python3 "$root/tests/archiver/check_readers.py" \
  --wzzip "$root/build/native/tools/archiver/wzzip" \
  --wzzip-exe "$root/build/win/tools/archiver/wzzip.exe" \
  --work "$root/build/archiver-check"
