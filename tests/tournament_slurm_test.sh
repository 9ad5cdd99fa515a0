#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# scripts/tournament-slurm.sh on a real one-node Slurm cluster started here:
# munged, slurmctld and slurmd with every file (key, configuration, state,
# spool, pid and log files) in a temporary folder, inside a network namespace
# of their own that has only the loopback interface. The array's tables must
# hold the rows of one single-process run of the same seeds, byte for byte
# after sorting, and the summary job must have run after them. Every daemon
# started is stopped by its process id, whatever happens. Skipped (exit 77)
# only where the daemons cannot be started: not root, or no namespace.
# Usage: tournament_slurm_test.sh KALEIDOMAT-CLI SCRIPT
set -euo pipefail
cli=$(readlink -f "$1")
script=$(readlink -f "$2")

if [ "$(id -u)" -ne 0 ]; then
  echo "SKIPPED: starting slurmctld, slurmd and munged as their own users needs root"
  exit 77
fi
for tool in munged slurmctld slurmd sbatch scontrol sinfo unshare ip; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/setup.sh installs it)"; exit 1; }
done
# In a network namespace of its own nothing but this machine's loopback is
# reachable: slurmctld listens on every address it has, and there it has
# only 127.0.0.1.
if [ -z "${KALEIDOMAT_SLURM_NAMESPACE:-}" ]; then
  if ! unshare --net true 2>/dev/null; then
    echo "SKIPPED: cannot make a network namespace here (unshare --net)"
    exit 77
  fi
  export KALEIDOMAT_SLURM_NAMESPACE=1
  exec unshare --net bash "${BASH_SOURCE[0]}" "$@"
fi
ip link set lo up
# A second loopback address: with 127.0.0.1 alone, lookups that ask for
# configured addresses only (AI_ADDRCONFIG) find none, and slurmctld cannot listen.
ip addr add 127.0.0.2/8 dev lo

work=$(mktemp -d)
chmod 755 "$work"  # munged wants a socket folder others may enter
pids=()
stop_all() {
  local status=$?
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  if [ $status -ne 0 ]; then
    for log in "$work"/*.log "$work"/sweep/*.log; do
      [ -f "$log" ] && { echo "== $log"; tail -n 20 "$log"; }
    done
  fi
  rm -rf "$work"
  exit $status
}
trap stop_all EXIT
trap "exit 1" INT TERM HUP
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_STATE_HOME=$work/state

# munge: a fresh key, and its socket in the folder.
head -c 1024 /dev/urandom > "$work/munge.key"
chmod 400 "$work/munge.key"
munged --foreground --force --socket="$work/munge.sock" --key-file="$work/munge.key" \
  --log-file="$work/munged.log" --pid-file="$work/munged.pid" --seed-file="$work/munged.seed" \
  > "$work/munged.out.log" 2>&1 &
pids+=($!)

node=$(hostname)
mkdir -p "$work/state" "$work/spool"
cat > "$work/slurm.conf" <<CONF
ClusterName=kaleidomat-test
SlurmctldHost=$node(127.0.0.1)
SlurmctldPort=6817
SlurmdPort=6818
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
AuthInfo=socket=$work/munge.sock
CredType=cred/munge
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/slurmctld.pid
SlurmdPidFile=$work/slurmd.pid
SlurmctldLogFile=$work/slurmctld.log
SlurmdLogFile=$work/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
MpiDefault=none
SchedulerType=sched/builtin
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
ReturnToService=2
JobCompType=jobcomp/none
AccountingStorageType=accounting_storage/none
JobAcctGatherType=jobacct_gather/none
NodeName=$node NodeAddr=127.0.0.1 CPUs=$(nproc) RealMemory=1000 State=UNKNOWN
PartitionName=test Nodes=ALL Default=YES MaxTime=INFINITE State=UP
CONF
export SLURM_CONF=$work/slurm.conf

wait_for() {  # up to about 60 s for a command to succeed, each try at most 5 s
  local what=$1; shift
  local deadline=$((SECONDS + 60))
  while [ $SECONDS -lt $deadline ]; do
    if timeout 5 "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.5
  done
  echo "FAIL: $what did not happen within 60 s"
  return 1
}
wait_for "munged answering" test -S "$work/munge.sock"
slurmctld -D -i > "$work/slurmctld.out.log" 2>&1 &
pids+=($!)
wait_for "slurmctld answering" scontrol ping
slurmd -D > "$work/slurmd.out.log" 2>&1 &
pids+=($!)
wait_for "the node becoming idle" bash -c '[ "$(sinfo -h -o %T)" = idle ]'

options=(--seeds 1-9,20 --groups 3 --layout checker --size 16 --density 0.3 --generations 150)
"$cli" tournament "${options[@]}" --threads 1 --csv "$work/single.csv"
timeout 240 bash "$script" --cli "$cli" --out "$work/sweep" --tasks 3 --wait -- "${options[@]}" > "$work/summary.out"

# Every task wrote its slice; their rows are the single run's.
cmp <(grep -hv '^version,' "$work/single.csv" | sort) <(grep -hv '^version,' "$work"/sweep/chunk-*.csv | sort) ||
  { echo "FAIL: the array's rows differ from the single run"; exit 1; }
[ "$(ls "$work"/sweep/chunk-*.csv | wc -l)" = 3 ] || { echo "FAIL: not three task tables"; exit 1; }
"$cli" summarize "$work/single.csv" > "$work/expected-summary"
cmp "$work/expected-summary" "$work/sweep/summary.txt" || { echo "FAIL: the summary job's text differs"; exit 1; }
grep -q '^<svg' "$work/sweep/summary.svg" || { echo "FAIL: no summary picture"; exit 1; }
echo "tournament_slurm: the array's rows and its summary equal the single run's"
