#!/usr/bin/env bash
# The update benchmark: the cost of putting the package in place, under Wine, for our
# installers beside a floor and a peer, all in one run and interleaved round by
# round, on a demo installation of Orvel in a 64-bit Windows:
#   - the floor: a program that only writes the package from its resource
#     (bench/update/floor_win.c);
#   - the peer: an NSIS installer built from bench/update/peer.nsi (compression off,
#     silent) writing the same package and one registry value;
#   - our i686 and x86_64 installers, "modest" (the quiet update); and the i686 one
#     once more as a copy that Wine tells it runs on Windows 10, where it sees 6.2
#     and names the system from "ProductName" without starting the console;
# and the interactive run (install question, then the completion question), answered
# by the dialog robot, beside the floor program asking two questions. That floor
# carries the installer's manifest (bench/update/floor_boxes.rc), so that both show
# the same themed common-controls-6 boxes, which under Wine cost some 40 ms more per
# run than the plain boxes of a program without that manifest; the plain-box floor
# is printed too, as a figure only.
# Prints medians of wall and processor time and of peak memory of the program's own
# process (see process_meter.cpp) and the ratios to the floor. Figures only: nothing here passes
# or fails.
#   update_bench.sh [ROUNDS]    default 20 (a machine that others share stalls a
#                               program now and then); run by bench/run.sh after the builds
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"
rounds=${1:-20}

meter=build/bench/bench/process_meter
floor=build/win32/bench/orvel_floor.exe
floor_boxes=build/win32/bench/orvel_floor_boxes.exe
robot=build/win64/testtools/dialog_robot.exe
standin=build/win64/testtools/standin_host.exe
package=build/win32/package/vexa.3bs
for file in "$meter" "$floor" "$floor_boxes" "$robot" "$standin" "$package" build/win32/OrvelUpdate.exe build/win64/OrvelUpdate.exe; do
  [ -f "$file" ] || { echo "update benchmark: $file is missing (build the bench, win32 and win64 presets)"; exit 1; }
done

peer=build/bench/nsis/orvel_nsis_peer.exe
if command -v makensis >/dev/null; then
  mkdir -p "$(dirname "$peer")"
  makensis -V1 -DPACKAGE="$root/$package" -DOUTFILE="$root/$peer" bench/update/peer.nsi >/dev/null ||
    { echo "update benchmark: makensis failed"; peer=""; }
else
  echo "update benchmark: makensis is missing (scripts/setup-machine.sh installs nsis): no peer"
  peer=""
fi

export ORVEL_WINE_ROOT="$root/build/bench/wine"
unset ORVEL_WINE_ARCH
source scripts/wine-env.sh
orvel_wine_start fresh
trap orvel_wine_stop EXIT

# The demo installation, where a fresh 64-bit Windows puts programs.
host_windows='C:\Program Files\Orvel'
host_dir="$WINEPREFIX/drive_c/Program Files/Orvel"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvel'
mkdir -p "$host_dir/language"
cp "$standin" "$host_dir/orvel.exe"
cp testdata/language/*.lng "$host_dir/language/"
orvel_wine reg add "$uninstall_key" /v UninstallString /d "$host_windows\\unins000.exe" /f >/dev/null 2>&1
# A copy of the installer that Wine tells it runs on Windows 10 (without a
# compatibility declaration it then sees 6.2 and asks "ver"), and so the command
# interpreter too.
cp build/win32/OrvelUpdate.exe build/bench/OrvelUpdate-win10.exe
for program in OrvelUpdate-win10.exe cmd.exe; do
  orvel_wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$program" /v Version /d win10 /f >/dev/null 2>&1
done
write_older_package() {
  { printf 'vexa\002\005'; head -c 300000 /dev/zero | tr '\0' 'o'; } > "$host_dir/vexa.3bs"
}

windows_path() { local path="${1//\//\\}"; printf 'Z:%s' "$path"; }
# name|kind|program and arguments (kind: quiet or asked)
runs=(
  "floor program|quiet|$floor|$host_windows\\vexa.3bs"
  "our i686 installer, \"modest\"|quiet|build/win32/OrvelUpdate.exe|modest"
  "our x86_64 installer, \"modest\"|quiet|build/win64/OrvelUpdate.exe|modest"
  "our i686 installer, \"modest\", Windows 10|quiet|build/bench/OrvelUpdate-win10.exe|modest"
  "floor program, two questions|asked|$robot|--answers|yes,yes|--|$(windows_path "$root/$floor_boxes")|ask|$host_windows\\vexa.3bs"
  "floor program, two questions, plain boxes (no manifest)|asked|$robot|--answers|yes,yes|--|$(windows_path "$root/$floor")|ask|$host_windows\\vexa.3bs"
  "our i686 installer, interactive|asked|$robot|--answers|yes,no|--|$(windows_path "$root/build/win32/OrvelUpdate.exe")"
)
[ -n "$peer" ] && runs=("${runs[@]:0:1}" "NSIS, silent, same package|quiet|$peer" "${runs[@]:1}")

# Wine's loader of the program's bitness, which then is the program's own process
# (64-bit Wine would start a 32-bit program as another process and wait for it).
loader_for() {
  local pe machine
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' ')
  if [ "$machine" = 014c ]; then echo /usr/lib/wine/wine; else echo /usr/lib/wine/wine64; fi
}

results=$(mktemp)
trap 'rm -f "$results"; orvel_wine_stop' EXIT
# Round 0 warms the file cache and Wine and is not counted.
for round in $(seq 0 "$rounds"); do
  for entry in "${runs[@]}"; do
    IFS='|' read -r -a fields <<<"$entry"
    write_older_package
    # The meter's line comes last, after what the program (the robot) printed.
    # Started as orvel_wine starts programs (see wine-env.sh); setarch becomes the
    # loader, so the meter still measures the program's own process.
    figures=$("$meter" setarch "$(uname -m)" -R "$(loader_for "${fields[2]}")" "${fields[@]:2}" 2>/dev/null </dev/null |
              tail -n 1)
    cmp -s "$host_dir/vexa.3bs" "$package" || figures="$figures wrong_package"
    [ "$round" -eq 0 ] || printf '%s|%s|%s\n' "${fields[0]}" "${fields[1]}" "$figures" >> "$results"
  done
done

wine_version=$("$ORVEL_WINE_BIN" --version 2>/dev/null)
echo "Update of a demo installation under $wine_version (64-bit Windows), medians of $rounds rounds, all"
echo "programs interleaved in one run. Memory: peaks of the program's own Wine process. Processor time"
echo "(user and system) shows a program's own work apart from waiting on a busy machine; load average at"
echo "the end: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors."
python3 - "$results" <<'SUMMARY'
import statistics, sys

runs = {}
for line in open(sys.argv[1]):
    name, kind, figures = line.rstrip("\n").split("|")
    values = dict(item.split("=") for item in figures.split() if "=" in item)
    run = runs.setdefault(name, {"kind": kind, "ms": [], "cpu": [], "anon": [], "hwm": [], "failed": 0})
    for key, field in (("ms", "ms"), ("cpu", "cpu_ms"), ("anon", "anon_kib"), ("hwm", "hwm_kib")):
        run[key].append(float(values.get(field, "nan")))
    if values.get("exit") != "0" or "wrong_package" in figures:
        run["failed"] += 1
med = {name: {key: statistics.median(run[key]) for key in ("ms", "cpu", "anon", "hwm")} for name, run in runs.items()}
for name, run in runs.items():
    med[name]["min"] = min(run["ms"])

def label(name):
    failed = runs[name]["failed"]
    return name + (f" ({failed} runs FAILED)" if failed else "")

def mib(kib):
    return f"{kib / 1024:.1f} MiB"

floor, asked_floor = "floor program", "floor program, two questions"
ours, asked = 'our i686 installer, "modest"', "our i686 installer, interactive"
print()
print("| quiet update | ms | x floor | fastest ms | processor ms | x floor | peak anonymous memory (RssAnon) | beyond the floor | peak resident (VmHWM) |")
print("|---|---|---|---|---|---|---|---|---|")
for name, run in runs.items():
    if run["kind"] != "quiet":
        continue
    m = med[name]
    beyond = "" if name == floor else f"{(m['anon'] - med[floor]['anon']) / 1024:+.1f} MiB"
    print(f"| {label(name)} | {m['ms']:.0f} | {m['ms'] / med[floor]['ms']:.2f} | {m['min']:.0f} | {m['cpu']:.0f} | "
          f"{m['cpu'] / med[floor]['cpu']:.2f} | {mib(m['anon'])} | {beyond} | {mib(m['hwm'])} |")
print()
print("| interactive, robot answering | ms | x floor with two questions | fastest ms | x floor |")
print("|---|---|---|---|---|")
for name, run in runs.items():
    if run["kind"] == "asked":
        m = med[name]
        print(f"| {label(name)} | {m['ms']:.0f} | {m['ms'] / med[asked_floor]['ms']:.2f} | {m['min']:.0f} | "
              f"{m['min'] / med[asked_floor]['min']:.2f} |")
print()
# A figure from runs that failed (a machine that cannot run 32-bit programs, a
# broken build) measures nothing: the target is then not measured, never "within".
def verdict(ok, *names):
    if any(runs[name]["failed"] for name in names):
        return "NOT MEASURED (runs failed)"
    return "within" if ok else "OUTSIDE"
ratio = med[ours]["ms"] / med[floor]["ms"]
print(f"Target, i686 quiet update within 3x the floor: {ratio:.2f}x, {verdict(ratio <= 3, ours, floor)}.")
extra = med[ours]["anon"] - med[floor]["anon"]
print(f"Target, i686 peak anonymous memory within the floor + 2 MiB: floor {extra / 1024:+.1f} MiB, "
      f"{verdict(extra <= 2048, ours, floor)}.")
ratio = med[ours + ", Windows 10"]["ms"] / med[floor]["ms"]
print(f"Target, i686 quiet update on Windows 10 within 2x the floor: {ratio:.2f}x, "
      f"{verdict(ratio <= 2, ours + ', Windows 10', floor)}.")
ratio = med[asked]["ms"] / med[asked_floor]["ms"]
print(f"Target, i686 interactive run within 1.15x the floor with two questions: {ratio:.2f}x, "
      f"{verdict(ratio <= 1.15, asked, asked_floor)}.")
SUMMARY
