#!/usr/bin/env bash
# The test provider on its own, read by the probe (tests/e2e/provider/PerfProbe.cpp) as a
# monitoring program reads it: the block's layout, the loads that come out of it, and its query
# count. Run before the program so that a broken provider is not taken for a broken program.

# shellcheck source=tests/e2e/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

# e2e_probe NAME SAMPLES INTERVAL_MS : runs the probe; its output is kept as $E2E_OUT/NAME.txt.
e2e_probe() {
  wine "$E2E_PROBE" "$2" "$3" >"$E2E_OUT/$1.txt" 2>/dev/null
}

# e2e_probe_loads_within NAME INSTANCE LOW HIGH : every load the probe computed for the instance
# lies in [LOW, HIGH), and there was at least one.
e2e_probe_loads_within() {
  awk -v name="name=$2" -v low="$3" -v high="$4" '
    $1 == "load" && $2 == name {
      n++
      split($3, kv, "=")
      if (kv[2] + 0 < low || kv[2] + 0 >= high) { bad = 1; print "        " $0 }
    }
    END { exit (n == 0 || bad) }' "$E2E_OUT/$1.txt"
}

# e2e_probe_instances NAME LIST : every sample listed exactly these instances, in this order.
e2e_probe_instances() {
  local expected=$2
  awk -v expected="$expected" '
    $1 == "object" { if (names != "") check(); names = "" ; samples++ }
    $1 == "instance" { split($2, kv, "="); names = names (names == "" ? "" : " ") kv[2] }
    function check() { if (names != expected) { print "        instances: " names; bad = 1 } }
    END { if (names != "") check(); exit (samples == 0 || bad) }' "$E2E_OUT/$1.txt"
}

# e2e_probe_reads_scripted NAME INSTANCE LOAD : every load the probe computed is the scripted
# LOAD, or above it by no more than the data's age at stamping allows: the provider advances the
# idle time up to its own clock reading (the object's PerfTime), Wine stamps the block that many
# milliseconds later, so the load comes out at most (100 - LOAD) % x age / interval too high.
e2e_probe_reads_scripted() {
  awk -v name="name=$2" -v load="$3" '
    $1 == "load" && $2 == name {
      n++
      for (i = 3; i <= NF; i++) { split($i, kv, "="); field[kv[1]] = kv[2] }
      high = load + (100 - load) * field["data_age_ms"] / field["interval_ms"] + 1e-4
      if (field["percent"] < load - 1e-4 || field["percent"] > high) {
        bad = 1
        print "        " $0 " (expected " load " to " high ")"
      }
    }
    END { exit (n == 0 || bad) }' "$E2E_OUT/$1.txt"
}

e2e_probe_found_no_object() { grep -q '^error no Processor object' "$E2E_OUT/$1.txt"; }

check_provider() {
  # Scripted, two processors. The probe keeps its buffer like the program, so from the second
  # sample on the load it computes is the scripted one, or above it by Wine's stamping lag.
  wine_env_script "scripted 50 25"
  e2e_check "probe reads the scripted block" e2e_probe scripted-two 4 1000
  e2e_check "the Processor object lists 0, 1 and _Total" \
    e2e_probe_instances scripted-two "0 1 _Total"
  e2e_check "processor 0 reads 50 %" e2e_probe_reads_scripted scripted-two 0 50
  e2e_check "processor 1 reads 25 %" e2e_probe_reads_scripted scripted-two 1 25
  e2e_check "_Total reads their average, 37.5 %" e2e_probe_reads_scripted scripted-two _Total 37.5
  e2e_check "one provider query per sample (4)" test "$(wine_env_queries)" -eq 4

  wine_env_script "scripted 80"
  e2e_check "probe reads a one-processor script" e2e_probe scripted-one 2 1000
  e2e_check "one processor: the object lists 0 and _Total" \
    e2e_probe_instances scripted-one "0 _Total"
  e2e_check "processor 0 reads 80 %" e2e_probe_reads_scripted scripted-one 0 80

  # Live: the machine's processors as Wine reports them.
  wine_env_script "live"
  local processors names="" i
  processors=$(getconf _NPROCESSORS_ONLN)
  for ((i = 0; i < processors; i++)); do names+="$i "; done
  e2e_check "probe reads the live block" e2e_probe live 2 1000
  e2e_check "live: one instance per processor of this machine ($processors) and _Total" \
    e2e_probe_instances live "${names}_Total"
  e2e_check "live: processor 0 reads a plausible load" e2e_probe_loads_within live 0 -5 105

  # Without a script the provider serves nothing, which a reader sees as no Processor object.
  wine_env_script ""
  e2e_probe none 1 0 || true
  e2e_check "no script: the block holds no Processor object" e2e_probe_found_no_object none
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then e2e_run_alone "provider" check_provider; fi
