#!/usr/bin/env bash
# Folder-metrics benchmark. Generates a deterministic tree (about 50,000 files in 5,000 folders)
# and times, in one run and in alternating rounds:
#   - the metrics refresh under Wine (bench_scan.exe, listing as the program does),
#   - the same refresh listed one folder after the other on the calling thread, reading each
#     folder until the file system says it is done (how the program listed before),
#   - both again with the program and its wineserver held to one core (taskset),
#   - the literal two-walk ANSI scan under Wine (bench_scan_literal.exe, the baseline),
#   - du -sb --apparent-size plus find -type d natively,
#   - tessel.exe from launch to its main window, with the tree as the user's Documents and a
#     destination holding one archive (start-up refreshes each of the two panels twice).
# Checks that all of them agree on files, bytes and folders, then prints medians and ratios.
# Usage: scripts/bench-scan.sh [ROUNDS]   (RUNS=n sets the runs per program and round; default 3)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
rounds="${1:-5}"
runs="${RUNS:-3}"

"$root/scripts/build.sh" win >/dev/null
# A prefix of its own: start-up reads the settings file and probes for the archiver there.
export TESSEL_WINEPREFIX="$root/build/wine/bench-prefix"
source "$root/scripts/wine.sh"
wine_display
wine_prefix
# One wineserver for the whole run, so its CPU can be read and its core set between programs.
wineserver -p

work="$root/build/bench"
tree="$work/scan-tree"
mkdir -p "$work"
# Programs run from here, so nothing they do can touch the sources.
cd "$work"

stamp="$(sha1sum "$root/bench/scan/make_tree.py" | cut -c1-40)"
if [ ! -d "$tree" ] || [ "$(cat "$tree.stamp" 2>/dev/null)" != "$stamp" ]; then
  echo "Generating the tree in $tree"
  python3 "$root/bench/scan/make_tree.py" "$tree"
  echo "$stamp" >"$tree.stamp"
fi
wintree="Z:$(printf '%s' "$tree" | tr / '\\')\\"
bin="$root/build/win/bench/scan"

# The user's Documents is the tree; the archiver's files are there, so no message stops start-up.
drive_c="$WINEPREFIX/drive_c"
documents="$drive_c/users/$(id -un)/Documents"
rm -rf "$documents" && ln -s "$tree" "$documents"
mkdir -p "$drive_c/Program Files/WinZip" "$drive_c/Program Files/Tessel" "$drive_c/Backup Zips"
touch "$drive_c/Program Files/WinZip/winzip32.exe" "$drive_c/Program Files/WinZip/wzzip.exe"
printf 'C:\\Backup Zips\r\n' >"$drive_c/Program Files/Tessel/DefaultDestinationPath.txt"
head -c 100000 /dev/zero >"$drive_c/Backup Zips/Bench-2026.zip"

# The wineserver of this prefix and the CPU time it has used (ms), for the share of a refresh
# that Wine spends outside the program.
server_pid() {
  local pid
  for pid in $(pgrep -x wineserver64 || pgrep -x wineserver || true); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
      echo "$pid"
      return
    fi
  done
}
server_cpu_ms() {
  local pid="$1" ticks
  ticks="$(awk '{print $14 + $15}' "/proc/$pid/stat" 2>/dev/null || echo 0)"
  echo $((ticks * 1000 / $(getconf CLK_TCK)))
}

# Lines "run_ms X" go to $name.times, "cpu_ms X" to $name.cpu, "figures ..." to $name.figures,
# and the wineserver's CPU per run to $name.server, less what starting a program costs it.
run_wine() {
  local name="$1"
  shift
  local out pid before after
  pid="$(server_pid)"
  before="$([ -n "$pid" ] && server_cpu_ms "$pid" || echo 0)"
  out="$("$@" | tr -d '\r')"
  [ "$(server_pid)" = "$pid" ] || before=0
  pid="$(server_pid)"
  after="$([ -n "$pid" ] && server_cpu_ms "$pid" || echo 0)"
  if [ "$name" = idle ]; then
    startup_server=$((after - before))
  else
    echo "scale=1; ($after - $before - $startup_server) / $runs" | bc >>"$work/$name.server"
  fi
  grep '^run_ms ' <<<"$out" | cut -d' ' -f2 >>"$work/$name.times" || true
  grep '^cpu_ms ' <<<"$out" | cut -d' ' -f2 >>"$work/$name.cpu" || true
  grep '^figures ' <<<"$out" >"$work/$name.figures" || true
}

# The program and its wineserver on the first core only, then back on every core.
one_core() {
  local pid
  pid="$(server_pid)"
  taskset -p -c 0 "$pid" >/dev/null
  run_wine "$@"
  taskset -p -c "0-$(($(nproc) - 1))" "$pid" >/dev/null
}

run_native() {
  local i start end
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    du -sb --apparent-size --exclude='.*' "$tree" >"$work/native.du"
    find "$tree" -mindepth 1 -type d >"$work/native.find"
    end=$(date +%s%N)
    echo "scale=1; ($end - $start) / 1000000" | bc >>"$work/native.times"
  done
}

before=(--workers 0 --short-read 0)
rm -f "$work"/*.times "$work"/*.cpu "$work"/*.server
startup_server=0
find "$tree" >/dev/null  # a warm cache for every contender
for ((round = 1; round <= rounds; round++)); do
  echo "Round $round of $rounds"
  run_wine idle wine "$bin/bench_scan.exe" "$wintree" 0
  run_wine ours wine "$bin/bench_scan.exe" "$wintree" "$runs"
  run_wine before wine "$bin/bench_scan.exe" "${before[@]}" "$wintree" "$runs"
  run_wine literal wine "$bin/bench_scan_literal.exe" "$wintree" "$runs"
  one_core ours1 taskset -c 0 wine "$bin/bench_scan.exe" "$wintree" "$runs"
  one_core before1 taskset -c 0 wine "$bin/bench_scan.exe" "${before[@]}" "$wintree" "$runs"
  run_wine startup wine "$bin/startup_timer.exe" "$root/build/win/src/app/tessel.exe" 1
  run_native
done

# What the native tools say, made comparable: files and bytes leave out dot-named names and
# everything below dot-named folders; du's total also holds the sizes of the folders it counted.
native_files_bytes="$(cd "$tree" && find . -type f -not -path '*/.*' -printf '%s\n' |
  awk '{n++; s+=$1} END {printf "%d %.0f", n, s}')"
native_files="${native_files_bytes% *}"
native_bytes="${native_files_bytes#* }"
native_folders="$(wc -l <"$work/native.find")"
du_total="$(cut -f1 "$work/native.du")"
folder_sizes="$(cd "$tree" && find . -type d -not -path '*/.*' -printf '%s\n' |
  awk '{s+=$1} END {printf "%.0f", s}')"
du_file_bytes=$((du_total - folder_sizes))

figure() { sed -n "s/.*$2=\([0-9]*\).*/\1/p" "$work/$1.figures"; }
median() { sort -n "$work/$1" | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

status=0
printf '\n%-34s %12s %16s %10s\n' "" files bytes folders
for who in ours before ours1 literal; do
  printf '%-34s %12s %16s %10s\n' "$who" "$(figure "$who" files)" "$(figure "$who" bytes)" \
    "$(figure "$who" folders)"
done
printf '%-34s %12s %16s %10s\n' "native (find; du less folder sizes)" "$native_files" \
  "$du_file_bytes" "$native_folders"
for who in before ours1 before1 literal; do
  for what in files bytes folders; do
    if [ "$(figure ours "$what")" != "$(figure "$who" "$what")" ]; then
      echo "MISMATCH: $who $what differs from ours"
      status=1
    fi
  done
done
[ "$(figure ours files)" = "$native_files" ] || { echo "MISMATCH: native files"; status=1; }
[ "$(figure ours bytes)" = "$native_bytes" ] || { echo "MISMATCH: native bytes (find)"; status=1; }
[ "$(figure ours bytes)" = "$du_file_bytes" ] || { echo "MISMATCH: native bytes (du)"; status=1; }
[ "$(figure ours folders)" = "$native_folders" ] || { echo "MISMATCH: native folders"; status=1; }
[ -s "$work/startup.times" ] || { echo "MISSING: tessel.exe showed no main window"; status=1; }
[ $status -eq 0 ] && echo "All figures agree."

ours="$(median ours.times)"
literal="$(median literal.times)"
native="$(median native.times)"
samples=$((rounds * runs))
printf '\nMedian time of one refresh (ms, %d samples each, load average %s)\n' "$samples" \
  "$(cut -d' ' -f1 /proc/loadavg)"
printf '  %-48s %10s\n' "ours under Wine" "$ours" \
  "before: one folder after the other, read to the end" "$(median before.times)" \
  "ours, program and wineserver on one core" "$(median ours1.times)" \
  "before, on one core" "$(median before1.times)" \
  "literal two ANSI walks under Wine" "$literal" \
  "native du + find" "$native"
printf '\nStart-up of tessel.exe to its main window (ms, %d samples): %s, beside one refresh %s\n' \
  "$rounds" "$(median startup.times)" "$ours"
# CPU is steadier than wall time on a shared machine: the program's own and its wineserver's.
printf '\nMedian CPU of one refresh (ms): program + wineserver\n'
for who in ours before ours1 literal; do
  printf '  %-48s %8s + %s\n' "$who" "$(median "$who.cpu")" "$(median "$who.server")"
done
ratio() { echo "scale=2; $1 / $2" | bc; }
cpu_total() { echo "$(median "$1.cpu") + $(median "$1.server")" | bc; }
printf '\nRatios (wall time)\n'
printf '  literal / ours           %6sx  (target at least 2.5x)\n' "$(ratio "$literal" "$ours")"
printf '  ours / native            %6sx  (target at most 4x)\n' "$(ratio "$ours" "$native")"
printf '  before / ours            %6sx\n' "$(ratio "$(median before.times)" "$ours")"
printf '  one core: before / ours  %6sx  (at least 1: one core is not slower)\n' \
  "$(ratio "$(median before1.times)" "$(median ours1.times)")"
printf '  literal / ours, by CPU   %6sx\n' \
  "$(ratio "$(cpu_total literal)" "$(cpu_total ours)")"
exit $status
