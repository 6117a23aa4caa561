# Bounded fuzzing of the code that reads untrusted bytes and of the main window under random
# steps (longer: scripts/fuzz.sh 600). The targets run side by side, so the stage costs the clang
# build and one run.
"$root/scripts/fuzz.sh" 8
