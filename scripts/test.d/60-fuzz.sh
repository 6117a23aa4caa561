# Bounded fuzzing of the code that reads untrusted text and bytes (longer: scripts/fuzz.sh 600).
"$root/scripts/fuzz.sh" 8
