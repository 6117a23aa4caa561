# Bounded fuzzing of the code that reads untrusted text and bytes (longer: scripts/fuzz.sh 600).
# Six targets at 7 s each keep the stage, start-up included, within a minute.
"$root/scripts/fuzz.sh" 7
