# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# The one way the benchmark counts what a running process costs, read from Linux's /proc by
# bench/load.sh on every display, Wine's included, and sums up its rounds (bench/web.sh's too):
#   - CPU: the time every thread of the process ran (the first field of each thread's
#     schedstat, in nanoseconds), as a share of one core over the wall time measured;
#   - wake-ups: the voluntary context switches of its main thread (each sleep it was woken
#     from), a second over the wall time measured;
#   - the rounds: their median and their spread (median_awk).

# CPU time so far of every thread of process $1, in nanoseconds.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ n += $1 } END { printf "%.0f\n", n }'; }

# Voluntary context switches so far of the main thread of process $1.
wake_ups() { sed -n 's/^voluntary_ctxt_switches:[[:space:]]*//p' "/proc/$1/task/$1/status" 2>/dev/null; }

# measure SECONDS PID [SERVER]: prints PID's wake-ups a second and CPU % over the next SECONDS,
# then SERVER's CPU % when given (Wine's server). Fails when PID is gone meanwhile.
measure() {
    local seconds=$1 pid=$2 server=${3:-} w0 c0 s0=0 t0 w1 c1 s1=0 t1
    w0=$(wake_ups "$pid") c0=$(cpu_ns "$pid")
    [ -n "$server" ] && s0=$(cpu_ns "$server")
    t0=$(date +%s%N)
    sleep "$seconds"
    w1=$(wake_ups "$pid") c1=$(cpu_ns "$pid")
    [ -n "$server" ] && s1=$(cpu_ns "$server")
    t1=$(date +%s%N)
    [ -n "$w0" ] && [ -n "$w1" ] || return 1
    awk -v w=$((w1 - w0)) -v c=$((c1 - c0)) -v s=$((s1 - s0)) -v t=$((t1 - t0)) -v server="$server" \
        'BEGIN { printf "%.1f %.2f", w * 1e9 / t, 100 * c / t; if (server != "") printf " %.2f", 100 * s / t; print "" }'
}

# Functions for awk, put before a program: median(LIST), of numbers separated by spaces (the
# mean of the two middle ones where there are evenly many), and spread(LIST, FORMAT), that
# median, the lowest and the highest, each in FORMAT: "MEDIAN (LOWEST to HIGHEST)".
# shellcheck disable=SC2034 # used by the scripts that source this one
median_awk='
    function sorted(s, a,   n, i, j, t) {
        n = split(s, a, " ")
        for (i = 2; i <= n; i++)
            for (j = i; j > 1 && a[j - 1] + 0 > a[j] + 0; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
        return n
    }
    function median(s,   a, n) { n = sorted(s, a); return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2 }
    function spread(s, f,   a, n) { n = sorted(s, a); return sprintf(f " (" f " to " f ")", median(s), a[1], a[n]) }
'
