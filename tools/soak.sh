#!/usr/bin/env bash
# A long run of Tamik.exe under Wine at its fastest refresh (150 ms), with the options dialog
# opened and closed over and over, recording what the process holds as it goes. Not part of CI:
# it shows whether memory, descriptors or window-system objects grow with ticks. The figures and
# how to read them are in docs/SOAK.md.
#
#   bash tools/soak.sh                         # 10000 ticks (about 40 min here), scripted loads
#   bash tools/soak.sh --ticks 500 --every 5   # a short trial
#   bash tools/soak.sh --live --out /tmp/soak
#
# Options:
#   --ticks N     stop once the program has sampled N times (default 10000)
#   --every S     seconds between two records (default 30)
#   --live        the provider serves this machine's real loads (default: scripted loads that
#                 change at every record, so the bars are redrawn at other heights)
#   --no-dialog   leave the options dialog closed (for comparison)
#   --tray        show the notification icon all along (the main window's slot "SIT"), so that
#                 every second's new uptime text reaches the shell
#   --out DIR     where the CSV, the summary and the logs go (default build/soak)
#   --no-build    use build/mingw64 as it is (TAMIK_BUILD_DIR, when set, is always used as it is)
#
# The refresh is set before the start in the registry, as the settings store keeps it: the main
# window's slot Label3_Caption = 150 and the options dialog's Slider1_Value = 0 (its fastest
# position, which gives 150 ms when the dialog's store restores it at each opening). The dialog is
# opened from the main window's right-click menu ("Options", its first item), its pages are
# clicked through (Options, Colors, Opacity, About), and it is closed with WM_CLOSE
# (post_close.exe Options), as its title-bar button does.
#
# One CSV line per record (DIR/soak.csv):
#   seconds    since the program's window came up
#   ticks      the provider's queries: one per sample of the program
#   cycles     the dialog's open-and-close cycles completed
#   rss_kb     VmRSS of the Tamik.exe process (/proc/<pid>/status); vm_kb VmSize
#   fds        its open file descriptors (/proc/<pid>/fd); threads its threads
#   handles, gdi, user, private_bytes, pagefile_bytes, working_set
#              what Windows tells through proc_probe.exe (GetProcessHandleCount, GetGuiResources,
#              GetProcessMemoryInfo); -1 where Wine refuses (see docs/SOAK.md for what Wine 8
#              answers)
#   x_windows, x_gcs, x_pixmaps, x_pixmap_bytes, x_other_bytes
#              the private X server's resources, all clients together (xrestop, when installed;
#              -1 otherwise): what Wine's windows and GDI objects become on the X side
#   error_box  1 when the program's error box was open at the record
# DIR/summary.txt: first, last, minimum, maximum and the least-squares slope per 1000 ticks of
# every column, the slope over the records after the warm-up (the first fifth of the ticks).
#
# Everything runs in a throw-away Wine prefix on a private X server (tools/wine-env.sh); only
# processes started here are stopped, by their ids, and the prefix's wineserver with
# `wineserver -k`.
set -euo pipefail
cd "$(dirname "$0")/.."

ticks=10000
every=30
script=scripted
dialog=1
tray=0
out=build/soak
build=1
while (($#)); do
  case $1 in
    --ticks)
      ticks=${2:?--ticks needs a number}
      shift 2
      ;;
    --every)
      every=${2:?--every needs seconds}
      shift 2
      ;;
    --live)
      script=live
      shift
      ;;
    --no-dialog)
      dialog=0
      shift
      ;;
    --tray)
      tray=1
      shift
      ;;
    --out)
      out=${2:?--out needs a directory}
      shift 2
      ;;
    --no-build)
      build=0
      shift
      ;;
    *)
      sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2
      exit 2
      ;;
  esac
done

buildDir=${TAMIK_BUILD_DIR:-build/mingw64}
if ((build)) && [[ -z ${TAMIK_BUILD_DIR:-} ]]; then
  bash tools/install-deps.sh
  bash tools/build-libjpeg-mingw.sh x86_64-w64-mingw32
  cmake --preset mingw64 >/dev/null
  cmake --build --preset mingw64 -j 2 --target Tamik tamik_perf_provider tamik_post_close \
    tamik_proc_probe
fi
providerDir=$buildDir/tests/e2e/provider
for file in "$buildDir/app/Tamik.exe" "$providerDir/TamikPerf.dll" "$providerDir/post_close.exe" \
  "$providerDir/proc_probe.exe"; do
  [[ -f $file ]] || { echo "soak: $file is missing" >&2; exit 1; }
done
mkdir -p "$out"
out=$(cd "$out" && pwd)
rm -f "$out/soak.csv" "$out/summary.txt" "$out"/*.log "$out"/*.png

# shellcheck source=tools/wine-env.sh
source tools/wine-env.sh
trap 'wine_env_destroy' EXIT
trap 'exit 130' INT TERM

wine_env_create ""
wine_env_start_x
wine_env_boot
wine_env_register_provider "$providerDir/TamikPerf.dll"
# Copies, so that a rebuild during the run changes nothing.
for file in "$buildDir/app/Tamik.exe" "$providerDir/post_close.exe" "$providerDir/proc_probe.exe"; do
  cp "$file" "$WINE_ENV_DIR/"
done

wine reg add 'HKCU\Software\Tamik\TMainForm' /v Label3_Caption /t REG_SZ /d 150 /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Tamik\TOption' /v Slider1_Value /t REG_SZ /d 0 /f >/dev/null 2>&1
if ((tray)); then
  wine reg add 'HKCU\Software\Tamik\TMainForm' /v CheckBox2_Checked /t REG_SZ /d True /f \
    >/dev/null 2>&1
  wine reg add 'HKCU\Software\Tamik\TOption' /v CheckBox2_Checked /t REG_SZ /d True /f \
    >/dev/null 2>&1
fi

# The scripted loads cycle through these pairs, one step per record. A new script replaces the
# file whole (rename), so the provider never reads half of one.
loads=("50 25" "90 10" "5 70" "100 0" "33 66")
set_loads() {
  echo "$1" >"$WINE_ENV_DIR/provider.txt.new"
  mv -f "$WINE_ENV_DIR/provider.txt.new" "$WINE_ENV_DIR/provider.txt"
}
if [[ $script == live ]]; then wine_env_script live; else wine_env_script "scripted ${loads[0]}"; fi

echo "soak: $(nproc) processors, load average $(cut -d' ' -f1-3 /proc/loadavg), $(wine --version)"
echo "soak: $ticks ticks at 150 ms, a record every $every s, provider $script," \
  "dialog cycles $( ((dialog)) && echo on || echo off), tray icon $( ((tray)) && echo on || echo off);" \
  "output in $out"

wine_env_start tamik "$WINE_ENV_DIR/Tamik.exe"
tamikPid=${WINE_ENV_PIDS[-1]}
if ! wine_env_wait_windows Tamik 60 >/dev/null || ! wine_env_poll 30 wine_env_has_queries 3; then
  echo "soak: the program did not come up (log: $WINE_ENV_DIR/tamik.log)" >&2
  exit 1
fi
# Wine's launcher execs the loader, so the pid started is the program's own process; check.
if ! tr '\0' ' ' <"/proc/$tamikPid/cmdline" | grep -q 'Tamik\.exe'; then
  echo "soak: process $tamikPid is not Tamik.exe" >&2
  exit 1
fi
started=$SECONDS

# ---- Records -------------------------------------------------------------------------------------

status_kb() { awk -v field="$2:" '$1 == field { print $2 }' "/proc/$1/status"; }

# "windows gcs pixmaps pixmap_bytes other_bytes" summed over every client of the private X
# server, or -1s without xrestop. The program cannot be told apart reliably: Wine opens more than
# one connection per process and xrestop names only those with a window carrying _NET_WM_PID. The
# other clients are Wine's desktop process and, for a moment, the probes; a growth here is the
# program's or caused by it.
x_resources() {
  if ! command -v xrestop >/dev/null; then
    echo "-1 -1 -1 -1 -1"
    return
  fi
  xrestop -b -m 1 2>/dev/null | awk -F: '
    { key = $1; gsub(/^[ \t]+|[ \t]+$/, "", key); value = $2; gsub(/[^0-9]/, "", value) }
    key == "windows" { w += value } key == "GCs" { g += value } key == "pixmaps" { p += value }
    key == "pixmap bytes" { b += value } key == "other bytes" { o += value }
    END { print w + 0, g + 0, p + 0, b + 0, o + 0 }'
}

# The probe's "name=value" fields in the order of the CSV, -1 when it gave none.
probe_fields() {
  local line
  line=$(cd "$WINE_ENV_DIR" && wine proc_probe.exe Tamik.exe 2>/dev/null | tr -d '\r') || true
  awk -v line="$line" 'BEGIN {
    n = split("handles gdi user private_bytes pagefile_bytes working_set", names, " ")
    split(line, pairs, " ")
    for (i in pairs) { split(pairs[i], kv, "="); value[kv[1]] = kv[2] }
    for (i = 1; i <= n; i++) printf "%s%s", (i > 1 ? " " : ""), ((names[i] in value) ? value[names[i]] : -1)
    print ""
  }'
}

cycles=0
step=0
record() {
  local fds threads rss vm probe xres box=0
  rss=$(status_kb "$tamikPid" VmRSS)
  vm=$(status_kb "$tamikPid" VmSize)
  threads=$(status_kb "$tamikPid" Threads)
  fds=$(find "/proc/$tamikPid/fd" -mindepth 1 -maxdepth 1 2>/dev/null | wc -l)
  probe=$(probe_fields)
  xres=$(x_resources)
  error_box_open && box=1
  echo "$((SECONDS - started)),$(wine_env_queries),$cycles,$rss,$vm,$fds,$threads,${probe// /,},${xres// /,},$box" \
    >>"$out/soak.csv"
}
# The program's error box carries the application title.
error_box_open() { wine_env_windows "Tamik - a cOOL CPU Monitor" >/dev/null; }

echo "seconds,ticks,cycles,rss_kb,vm_kb,fds,threads,handles,gdi,user,private_bytes,pagefile_bytes,working_set,x_windows,x_gcs,x_pixmaps,x_pixmap_bytes,x_other_bytes,error_box" \
  >"$out/soak.csv"
record

# ---- The dialog's cycle --------------------------------------------------------------------------

dialog_window() { xdotool search --onlyvisible --name '^Options$' 2>/dev/null | head -1; }
dialog_shown() { [[ -n $(dialog_window) ]]; }
dialog_gone() { [[ -z $(dialog_window) ]]; }
# The dialog's client area (it is a tool window at 332, 107 with a 3-pixel border and a 19-pixel
# caption); its tabs are one row of flat buttons there.
clientX=335
clientY=129
failures=0

# One opening and closing; answers whether both happened.
dialog_cycle() {
  # The menu: a right click on the main window (at 198, 107), then its first item.
  xdotool mousemove $((198 + 15)) $((107 + 50)) click 3
  sleep 0.5
  xdotool key Down Return
  wine_env_poll 10 dialog_shown || return 1
  local tab
  for tab in 26 80 144 200; do
    xdotool mousemove $((clientX + tab)) $((clientY + 8)) click 1
    sleep 0.4
  done
  (cd "$WINE_ENV_DIR" && wine post_close.exe Options >/dev/null 2>&1) || return 1
  wine_env_poll 10 dialog_gone
}

nextRecord=$((SECONDS + every))
while (($(wine_env_queries) < ticks)); do
  if ! kill -0 "$tamikPid" 2>/dev/null; then
    echo "soak: the program ended after $(wine_env_queries) ticks (log: $out/tamik.log)" >&2
    cp "$WINE_ENV_DIR/tamik.log" "$out/" 2>/dev/null || true
    exit 1
  fi
  if ((dialog)); then
    if dialog_cycle; then
      cycles=$((cycles + 1))
    else
      failures=$((failures + 1))
      wine_env_screenshot "$out/cycle-failure-$failures.png" || true
      # Leave whatever is open: an open menu takes Escape; a dialog still shown is closed.
      xdotool key Escape
      (cd "$WINE_ENV_DIR" && wine post_close.exe Options >/dev/null 2>&1) || true
      sleep 2
    fi
  else
    sleep 1
  fi
  if ((SECONDS >= nextRecord)); then
    record
    nextRecord=$((SECONDS + every))
    if [[ $script != live ]]; then
      step=$((step + 1))
      set_loads "scripted ${loads[step % ${#loads[@]}]}"
    fi
  fi
done
record
wine_env_screenshot "$out/last.png" || true
cp "$WINE_ENV_DIR/tamik.log" "$out/" 2>/dev/null || true

# ---- Summary -------------------------------------------------------------------------------------

awk -F, -v ticks="$ticks" -v failures="$failures" '
  NR == 1 { for (i = 1; i <= NF; i++) name[i] = $i; columns = NF; next }
  {
    n++
    for (i = 1; i <= columns; i++) value[n, i] = $i
  }
  END {
    warm = ticks / 5
    printf "records %d, ticks %d in %d s (one every %.0f ms), dialog cycles %d (failed %d)\n",
      n, value[n, 2], value[n, 1], value[n, 1] * 1000 / (value[n, 2] - value[1, 2]), value[n, 3],
      failures
    printf "%-15s %12s %12s %12s %12s %14s\n", "column", "first", "last", "min", "max",
      "slope/1000t"
    for (i = 4; i <= columns; i++) {
      min = max = value[1, i]
      sx = sy = sxx = sxy = m = 0
      for (r = 1; r <= n; r++) {
        v = value[r, i]
        if (v < min) min = v
        if (v > max) max = v
        if (value[r, 2] >= warm) {
          x = value[r, 2] / 1000
          m++; sx += x; sy += v; sxx += x * x; sxy += x * v
        }
      }
      d = m * sxx - sx * sx
      slope = (m > 1 && d != 0) ? sprintf("%.2f", (m * sxy - sx * sy) / d) : "-"
      printf "%-15s %12s %12s %12s %12s %14s\n", name[i], value[1, i], value[n, i], min, max, slope
    }
    printf "slope: least squares over the %d records from tick %d on (after the warm-up)\n", m, warm
  }' "$out/soak.csv" | tee "$out/summary.txt"
