# Turns the benchmarks' results into one table; used by bench.sh.
# Input, one tab-separated record per benchmark:
#   name, exit status, log file, then the benchmark's "BENCH" line if it
#   printed one: for every figure what, value, unit, "<=" / ">=" / "info", goal.
# Variable quick=1 marks short runs. Exit status: 0 every goal met, 1 a goal
# missed, 2 a benchmark gave no figures, a malformed line, or failed.

function number(text) {
    return text ~ /^-?[0-9]+(\.[0-9]+)?$/
}

function decimals(text) {
    return index(text, ".") ? length(text) - index(text, ".") : 0
}

function with_unit(value, unit) {
    return unit == "" ? value : (unit == "%" || unit ~ /^\// ? value unit : value " " unit)
}

function row(what, measured, goal, verdict,    line) {
    line = sprintf("%-48s  %-12s  %-12s  %s", what, measured, goal, verdict)
    sub(/ +$/, "", line)
    print line
}

BEGIN {
    FS = "\t"
    if (quick)
        print "Quick run: short measurements that show each benchmark works; not for judging the goals."
    row("Figure", "Measured", "Goal", "Verdict")
    row("------------------------------------------------", "------------", "------------", "-------------")
}

{
    name = $1; status = $2; log_file = $3
    if ($4 != "BENCH") {
        row(name, "no figures", "", "failed (exit " status "), see " log_file)
        ++failed
        next
    }
    if ((NF - 4) % 5 != 0 || NF == 4) {
        row(name, "malformed", "", "failed, see " log_file)
        ++failed
        next
    }
    for (i = 5; i <= NF; i += 5) {
        what = $i; value = $(i + 1); unit = $(i + 2); op = $(i + 3); goal = $(i + 4)
        if (!number(value) || (op != "info" && (!number(goal) || (op != "<=" && op != ">=")))) {
            row(what, value, op " " goal, "malformed, see " log_file)
            ++failed
            continue
        }
        if (op == "info") {
            row(what, with_unit(value, unit), "", "")
            continue
        }
        ++goals
        gap = op == "<=" ? value - goal : goal - value
        if (gap <= 0) {
            verdict = "met"
        } else {
            verdict = "missed by " with_unit(sprintf("%." decimals(value) "f", gap), unit)
            ++missed
        }
        row(what, with_unit(value, unit), op " " with_unit(goal, unit), verdict)
    }
    if (status != 0) {
        row(name, "", "", "failed (exit " status " after its figures), see " log_file)
        ++failed
    }
}

END {
    printf "\n%d of %d goals met", goals - missed, goals
    if (failed)
        printf "; missing or broken results: %d", failed
    print ""
    exit failed ? 2 : (missed ? 1 : 0)
}
