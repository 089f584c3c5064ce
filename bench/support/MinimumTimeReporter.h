// A console reporter that also keeps each benchmark's fastest repetition, so that a program can
// print its figures beside its peers' once every run is done.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class MinimumTimeReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "min" && !run.error_occurred) {
                milliseconds_[run.run_name.function_name + "/" + run.run_name.args] =
                    run.GetAdjustedRealTime() * 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
        }
    }

protected:
    // The fastest repetition of "name/args" in milliseconds; 0 when it did not run (filtered out or
    // failed).
    double minimumMilliseconds(const std::string& nameAndArgs) const
    {
        const auto found = milliseconds_.find(nameAndArgs);
        return found == milliseconds_.end() ? 0.0 : found->second;
    }

private:
    std::map<std::string, double> milliseconds_;
};
