#pragma once
// The one machine-readable line each benchmark prints for bench.sh, which
// gathers them into a table. The line is "BENCH" followed, for every figure,
// by five tab-separated fields: what was measured, the value, its unit (may be
// empty), the goal's direction ("<=", ">=", or "info" for a figure shown
// without a goal) and the goal ("-" for information). Everything else a
// benchmark prints is for people reading its log.

#include <cstdio>
#include <cstring>
#include <string>

class BenchReport {
public:
    void atMost(const std::string& what, double value, const char* unit, double goal, int decimals = 3)
    {
        add(what, value, unit, "<=", format(goal, decimals), decimals);
    }
    void atLeast(const std::string& what, double value, const char* unit, double goal, int decimals = 3)
    {
        add(what, value, unit, ">=", format(goal, decimals), decimals);
    }
    void info(const std::string& what, double value, const char* unit, int decimals = 3)
    {
        add(what, value, unit, "info", "-", decimals);
    }
    void print() const
    {
        std::printf("BENCH%s\n", fields_.c_str());
        std::fflush(stdout);
    }

private:
    static std::string format(double value, int decimals)
    {
        char text[64];
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        return text;
    }
    void add(const std::string& what, double value, const char* unit, const char* op, const std::string& goal,
             int decimals)
    {
        fields_ += "\t" + what + "\t" + format(value, decimals) + "\t" + unit + "\t" + op + "\t" + goal;
    }

    std::string fields_;
};

// "--quick": a short run that only shows the benchmark works.
inline bool quick_run(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--quick") == 0)
            return true;
    return false;
}
