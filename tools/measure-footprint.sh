#!/usr/bin/env bash
# Measures what Tamik.exe costs as a whole process under Wine: its CPU time over a steady window
# (60 s by default) at each refresh interval asked for, and its resident memory. Ordinary tools
# only: /proc/<pid>/stat (utime + stime, every thread, in clock ticks), /proc/<pid>/task/*/schedstat
# (nanoseconds on the CPU, the finer figure) and /proc/<pid>/status (VmRSS, VmHWM). The figures
# and how to read them are in docs/PERFORMANCE.md.
#
#   bash tools/measure-footprint.sh                      # 60 s at 1000 ms, then 60 s at 150 ms
#   bash tools/measure-footprint.sh --interval 1000 --seconds 30
#   bash tools/measure-footprint.sh --probe              # also the sampling alone (perf_probe.exe)
#   TAMIK_BUILD_DIR=/path/to/build bash tools/measure-footprint.sh --no-build
#
# Options:
#   --seconds N     length of each measured window (default 60)
#   --interval MS   a refresh interval to measure; repeat for several (default: 1000 and 150)
#   --live          the provider serves this machine's real loads (default: scripted 50 % and 25 %,
#                   so every run draws the same pictures)
#   --probe         first measures perf_probe.exe sampling once a second over the same window: the
#                   cost of the performance query alone, Wine's share and the test provider's
#   --no-spooler-library
#                   unregisters the performance library of Wine's own print spooler (winspool.drv,
#                   whose entry points are stubs) from the prefix. Wine loads and unloads every
#                   registered library at every query of the performance data, and this one costs
#                   more than all the rest of a sample; without it the figures show the query with
#                   the test provider alone.
#   --setting NAME=VALUE
#                   one more stored value of the main window, written beside the interval (for
#                   example CheckBox3_Checked=False: no percentage text); repeat for several
#   --no-build      use build/mingw64 as it is instead of building the mingw64 preset first
#                   (TAMIK_BUILD_DIR, when set, names another build, which is always used as it is)
#
# The program runs in a throw-away Wine prefix on a private X server (tools/wine-env.sh), fed by
# the test performance provider (tests/e2e/provider). The executable is copied into that
# directory first, so a rebuild during a measurement changes nothing. Each interval is written
# before the program starts as the main window's stored setting (HKCU\Software\Tamik\TMainForm,
# value "Label3_Caption"), which the settings store restores into the refresh slot. The ticks
# actually seen are counted at the provider (one query per sample), and an interval the program
# did not take up is reported as such rather than measured under a wrong name.
#
# Only processes started here are stopped, by their ids, and the prefix's wineserver with
# `wineserver -k`.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
intervals=()
script="scripted 50 25"
probe=0
build=1
spooler=1
settings=()
while (($#)); do
  case $1 in
    --seconds)
      seconds=${2:?--seconds needs a number}
      shift 2
      ;;
    --interval)
      intervals+=("${2:?--interval needs milliseconds}")
      shift 2
      ;;
    --live)
      script=live
      shift
      ;;
    --probe)
      probe=1
      shift
      ;;
    --no-build)
      build=0
      shift
      ;;
    --setting)
      settings+=("${2:?--setting needs NAME=VALUE}")
      shift 2
      ;;
    --no-spooler-library)
      spooler=0
      shift
      ;;
    *)
      sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2
      exit 2
      ;;
  esac
done
((${#intervals[@]})) || intervals=(1000 150)

buildDir=${TAMIK_BUILD_DIR:-build/mingw64}
if ((build)) && [[ -z ${TAMIK_BUILD_DIR:-} ]]; then
  bash tools/install-deps.sh
  bash tools/build-libjpeg-mingw.sh x86_64-w64-mingw32
  cmake --preset mingw64 >/dev/null
  # Two jobs: these machines are shared.
  cmake --build --preset mingw64 -j 2 --target Tamik tamik_perf_provider tamik_perf_probe
fi
exe=$buildDir/app/Tamik.exe
provider=$buildDir/tests/e2e/provider/TamikPerf.dll
probeExe=$buildDir/tests/e2e/provider/perf_probe.exe
for file in "$exe" "$provider"; do
  [[ -f $file ]] || { echo "measure-footprint: $file is missing" >&2; exit 1; }
done

# shellcheck source=tools/wine-env.sh
source tools/wine-env.sh
trap wine_env_destroy EXIT
trap 'exit 130' INT TERM

clockTicks=$(getconf CLK_TCK)

# CPU time of a whole process, every thread included (ended ones too), in clock ticks. The fields
# after the command name, which may hold spaces, are counted from its closing parenthesis.
cpu_ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }

# Nanoseconds on the CPU of the threads the process has now (finer than clock ticks).
cpu_ns() {
  local file total=0 ns
  for file in /proc/"$1"/task/*/schedstat; do
    read -r ns _ 2>/dev/null <"$file" || continue
    total=$((total + ns))
  done
  echo "$total"
}

# kB of a /proc/<pid>/status field.
status_kb() { awk -v field="$2:" '$1 == field { print $2 }' "/proc/$1/status"; }

# The pid of this prefix's wineserver (it is not a child of this shell).
wineserver_pid() {
  local dir pid
  for dir in /proc/[0-9]*; do
    pid=${dir#/proc/}
    case $(cat "$dir/comm" 2>/dev/null) in
      wineserver | wineserver64) ;;
      *) continue ;;
    esac
    if { tr '\0' '\n' <"$dir/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
      echo "$pid"
      return 0
    fi
  done
  return 1
}

# measure NAME PID : CPU over the window for PID, with the provider's queries (the program's
# samples) and this prefix's wineserver and X server alongside. Prints one result line.
measure() {
  local name=$1 pid=$2 server
  server=$(wineserver_pid || echo "")
  local ticks0 ns0 queries0 server0=0 x0 start end
  ticks0=$(cpu_ticks "$pid")
  ns0=$(cpu_ns "$pid")
  queries0=$(wine_env_queries)
  [[ -n $server ]] && server0=$(cpu_ticks "$server")
  x0=$(cpu_ticks "$WINE_ENV_XVFB_PID")
  start=$(date +%s%N)
  sleep "$seconds"
  local ticks1 ns1 queries1 server1=0 x1 rss hwm
  ticks1=$(cpu_ticks "$pid")
  ns1=$(cpu_ns "$pid")
  queries1=$(wine_env_queries)
  [[ -n $server ]] && server1=$(cpu_ticks "$server")
  x1=$(cpu_ticks "$WINE_ENV_XVFB_PID")
  end=$(date +%s%N)
  rss=$(status_kb "$pid" VmRSS)
  hwm=$(status_kb "$pid" VmHWM)
  awk -v name="$name" -v wall_ns=$((end - start)) -v hz="$clockTicks" \
    -v ticks=$((ticks1 - ticks0)) -v ns=$((ns1 - ns0)) -v samples=$((queries1 - queries0)) \
    -v server=$((server1 - server0)) -v x=$((x1 - x0)) -v rss="$rss" -v hwm="$hwm" 'BEGIN {
      wall = wall_ns / 1e9
      cpu = ticks / hz
      every = samples > 0 ? sprintf("%.0f", wall * 1000 / samples) : "-"
      printf "%-18s window %.1f s, samples %d (one every %s ms)\n", name, wall, samples, every
      printf "%-18s CPU %.2f s by clock ticks = %.3f %% of one core; %.3f s by schedstat = %.3f %%\n",
        "", cpu, 100 * cpu / wall, ns / 1e9, 100 * ns / 1e9 / wall
      if (samples > 0) printf "%-18s CPU per sample %.2f ms (schedstat)\n", "", ns / 1e6 / samples
      printf "%-18s resident %d kB (VmRSS), peak %d kB (VmHWM)\n", "", rss, hwm
      printf "%-18s alongside: wineserver %.2f s, Xvfb %.2f s (clock ticks)\n", "", server / hz, x / hz
    }'
  LAST_SAMPLES=$((queries1 - queries0))
}

wine_env_create ""
wine_env_start_x
wine_env_boot
wine_env_register_provider "$provider"
if ((!spooler)); then
  wine reg delete 'HKLM\System\CurrentControlSet\Services\Spooler\Performance' /f >/dev/null 2>&1
fi
cp "$exe" "$WINE_ENV_DIR/Tamik.exe"

echo "measure-footprint: $(nproc) processors, $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo), load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "measure-footprint: $(wine --version), spooler performance library $( ((spooler)) && echo registered || echo removed)"
echo "measure-footprint: $exe ($(stat -c %s "$exe") bytes), provider $script, windows of $seconds s"
((${#settings[@]} == 0)) || echo "measure-footprint: stored settings ${settings[*]}"

if ((probe)); then
  [[ -f $probeExe ]] || { echo "measure-footprint: $probeExe is missing" >&2; exit 1; }
  cp "$probeExe" "$WINE_ENV_DIR/perf_probe.exe"
  wine_env_script "$script"
  # Enough samples to outlast the window and its lead-in.
  wine_env_start probe "$WINE_ENV_DIR/perf_probe.exe" $((seconds + 30)) 1000
  probePid=${WINE_ENV_PIDS[-1]}
  wine_env_poll 60 wine_env_has_queries 3 || { echo "measure-footprint: the probe did not sample" >&2; exit 1; }
  measure "perf_probe 1000ms" "$probePid"
  wine_env_stop
fi

for interval in "${intervals[@]}"; do
  for setting in "Label3_Caption=$interval" "${settings[@]}"; do
    wine reg add 'HKCU\Software\Tamik\TMainForm' /v "${setting%%=*}" /t REG_SZ \
      /d "${setting#*=}" /f >/dev/null 2>&1
  done
  wine_env_script "$script"
  wine_env_start "tamik-$interval" "$WINE_ENV_DIR/Tamik.exe"
  pid=${WINE_ENV_PIDS[-1]}
  if ! wine_env_wait_windows Tamik 60 >/dev/null || ! wine_env_poll 30 wine_env_has_queries 3; then
    echo "measure-footprint: Tamik did not come up (log: $WINE_ENV_DIR/tamik-$interval.log)" >&2
    exit 1
  fi
  # Start-up is over once the window is up and the timer has ticked; three more seconds let
  # Wine's own deferred start-up work settle before the window opens.
  sleep 3
  measure "Tamik ${interval}ms" "$pid"
  expected=$((seconds * 1000 / interval))
  if ((LAST_SAMPLES * 10 < expected * 8 || LAST_SAMPLES * 10 > expected * 12)); then
    echo "                   NOTE: $LAST_SAMPLES samples where $interval ms gives $expected: the" \
      "program did not take up the stored interval, so this is not a $interval ms figure"
  fi
  wine_env_stop
done
