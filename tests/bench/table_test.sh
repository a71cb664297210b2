#!/usr/bin/env bash
# The benchmark table: verdicts and gaps with their units, and the exit status
# for met goals (0), a missed goal (1) and missing or broken results (2).
# Usage: table_test.sh bench/table.awk
set -u
awk_file=$1
failures=0

# name | records (\t, \n escaped) | expected status | expected rows and summary
check() {
    local got status
    got=$(printf '%b\n' "$2" | awk -f "$awk_file")
    status=$?
    got=$(tail -n +3 <<<"$got")  # below the heading
    if [ "$got" != "$4" ] || [ "$status" != "$3" ]; then
        printf 'FAIL %s: status %s (want %s)\n--- got\n%s\n--- want\n%s\n' "$1" "$status" "$3" "$got" "$4"
        failures=$((failures + 1))
    fi
}

check "goals met, equal counts as met, information has no verdict" \
    'fw\t0\tfw.log\tBENCH\tratio\t1.029\t\t<=\t1.030\t  wall\t6.841\ts\tinfo\t-\tcpu\t0.020\ts\t<=\t0.020' 0 \
"ratio                                             1.029         <= 1.030      met
  wall                                            6.841 s
cpu                                               0.020 s       <= 0.020 s    met

2 of 2 goals met"

check "missed goals name the gap in the value's unit and decimals" \
    'lat\t0\tl.log\tBENCH\tp99\t3.250\tms\t<=\t2.000\npoll\t0\tp.log\tBENCH\tratio\t0.900\t\t>=\t0.950\tdev\t2.50\t%\t<=\t2.00\tcpu\t0.0012\ts\t<=\t0.0200' 1 \
"p99                                               3.250 ms      <= 2.000 ms   missed by 1.250 ms
ratio                                             0.900         >= 0.950      missed by 0.050
dev                                               2.50%         <= 2.00%      missed by 0.50%
cpu                                               0.0012 s      <= 0.0200 s   met

1 of 4 goals met"

check "a benchmark without figures, with a malformed line, or failing after its figures" \
    'cold\t2\tc.log\nx\t0\tx.log\tBENCH\tonly\t1.0\ny\t0\ty.log\tBENCH\tv\tnan\ts\t<=\t1.0\tw\t1.0\ts\t<\t1.0\nsoak\t139\ts.log\tBENCH\tgrowth\t0.5\tMB\t<=\t1.0' 2 \
"cold                                              no figures                  failed (exit 2), see c.log
x                                                 malformed                   failed, see x.log
v                                                 nan           <= 1.0        malformed, see y.log
w                                                 1.0           < 1.0         malformed, see y.log
growth                                            0.5 MB        <= 1.0 MB     met
soak                                                                          failed (exit 139 after its figures), see s.log

1 of 1 goals met; missing or broken results: 5"

exit $((failures > 0))
